#include "OneShotWaitCursor.h"

namespace {

OneShotWaitCursor::ShowFn g_show = nullptr;
OneShotWaitCursor::RestoreFn g_restore = nullptr;

} // namespace

OneShotWaitCursor::OneShotWaitCursor()
{
    if (g_show && g_restore)
        m_shown = g_show();
}

OneShotWaitCursor::~OneShotWaitCursor()
{
    if (m_shown && g_restore)
        g_restore();
}

void OneShotWaitCursor::setIndicator(ShowFn show, RestoreFn restore)
{
    g_show = show;
    g_restore = restore;
}
