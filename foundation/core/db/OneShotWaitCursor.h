#pragma once

// Marks one-shot database work for the user (the database-wait cursor) and
// ends the mark when it goes out of scope, also when the work throws. The
// mark itself belongs to the GUI layer, which installs it; without one (a
// command-line tool) nothing is shown.
class OneShotWaitCursor
{
public:
    OneShotWaitCursor();
    ~OneShotWaitCursor();
    OneShotWaitCursor(const OneShotWaitCursor &) = delete;
    OneShotWaitCursor &operator=(const OneShotWaitCursor &) = delete;

    // show returns whether it showed anything; restore is called only then.
    using ShowFn = bool (*)();
    using RestoreFn = void (*)();
    static void setIndicator(ShowFn show, RestoreFn restore);

private:
    bool m_shown = false;
};
