#pragma once

// Shows the database-wait cursor while one-shot database work runs and
// restores the previous cursor when it goes out of scope, also when the work
// throws. Does nothing in a program without a GUI application object.
class OneShotWaitCursor
{
public:
    OneShotWaitCursor();
    ~OneShotWaitCursor();
    OneShotWaitCursor(const OneShotWaitCursor &) = delete;
    OneShotWaitCursor &operator=(const OneShotWaitCursor &) = delete;

private:
    bool m_shown = false;
};
