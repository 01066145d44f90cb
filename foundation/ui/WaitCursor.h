#pragma once

// The database-wait cursor of one-shot database work: the override cursor of
// the application, installed into the core's OneShotWaitCursor.
namespace WaitCursor {

void install();

} // namespace WaitCursor
