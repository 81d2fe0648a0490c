#pragma once

// Shows the wait cursor for its lifetime; nests, and does nothing without a GUI.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor &) = delete;
    CWaitCursor &operator=(const CWaitCursor &) = delete;

    // Shows the wait cursor again after a message box replaced it.
    void Restore();

private:
    bool m_bActive;
};
