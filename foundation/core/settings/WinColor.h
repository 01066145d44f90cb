#pragma once

#include <QColor>

// Windows colour numbers as the settings file holds them: blue, green and red
// in the three low bytes, or a system colour by its low byte when the high
// byte is FF (system colour 24 is the tooltip background).
QColor WinColorToQColor(int winColor);

// A Windows system colour by its index (1 desktop ... 20 button highlight,
// 23 and 24 the tooltip colours) from the desktop palette; an invalid colour
// for an index without a counterpart here.
QColor WinSystemColor(int index);
