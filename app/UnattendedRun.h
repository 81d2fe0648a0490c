#pragma once

// A run with no one at the window (--screenshot, --test-edit): message boxes and questions are
// answered on stderr instead of shown (changes are dropped: No), and no file is chosen.
void PrepareUnattendedRun();
