#pragma once

// tambrel-export: the slip and master exports of the export program without
// its window, for a nightly hand-over. Exit status 0 (silent unless
// --verbose), 1 with one line on stderr, 2 with the usage.
int RunExportCommandLine(int argc, char **argv);
