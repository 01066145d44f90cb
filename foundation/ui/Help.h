#pragma once

#include <QString>

// The suite's help: HTML pages beside the programs (help/), one per help
// context, shown in a window of ours. The settings and forms keep calling the
// help file "Tambrel.chm".
namespace Help {

inline constexpr const char *kHelpFileName = "Tambrel.chm";

// The folder that holds the pages; by default "help" beside the program.
void setHelpFolder(const QString &folder);
QString helpFolder();
// The page for a help context: "<context>.html" when it exists, else the index.
QString pageForContext(int context);
void showContext(int context);

} // namespace Help
