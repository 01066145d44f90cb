#include "WinColor.h"

#include <QApplication>
#include <QPalette>

QColor WinColorToQColor(int winColor)
{
    const auto v = static_cast<quint32>(winColor);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFFu) {
        case 24:
            return pal.color(QPalette::ToolTipBase); // info background
        case 23:
            return pal.color(QPalette::ToolTipText); // info text
        case 5:
            return pal.color(QPalette::Base); // window
        case 8:
            return pal.color(QPalette::Text); // window text
        case 13:
            return pal.color(QPalette::Highlight); // highlight
        case 14:
            return pal.color(QPalette::HighlightedText);
        case 15:
            return pal.color(QPalette::Button); // button face
        case 18:
            return pal.color(QPalette::ButtonText);
        case 16:
            return pal.color(QPalette::Dark); // button shadow
        case 20:
            return pal.color(QPalette::Light); // button highlight
        case 4:
            return pal.color(QPalette::Window); // menu
        case 17:
            return pal.color(QPalette::Disabled, QPalette::Text); // grey text
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}
