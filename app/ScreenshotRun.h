#pragma once

#include <QString>

// The --screenshot run: unattended (see PrepareUnattendedRun), and about a second after the event
// loop starts the main window is saved as a PNG picture and the program ends (status 0, or 1 when
// the picture could not be written).
void PrepareScreenshotRun(const QString &strFile);
