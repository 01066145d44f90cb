#include "WinColor.h"

#include <QGuiApplication>
#include <QPalette>

QColor WinSystemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 1:
        return pal.color(QPalette::Window); // desktop
    case 2:
        return pal.color(QPalette::Highlight); // active caption
    case 3:
        return pal.color(QPalette::Inactive, QPalette::Highlight); // inactive caption
    case 4:
        return pal.color(QPalette::Window); // menu
    case 5:
        return pal.color(QPalette::Base); // window
    case 6:
        return pal.color(QPalette::Shadow); // window frame
    case 7:
        return pal.color(QPalette::WindowText); // menu text
    case 8:
        return pal.color(QPalette::Text); // window text
    case 9:
        return pal.color(QPalette::HighlightedText); // caption text
    case 10:
        return pal.color(QPalette::Button); // active border
    case 11:
        return pal.color(QPalette::Button); // inactive border
    case 12:
        return pal.color(QPalette::Dark); // application workspace
    case 13:
        return pal.color(QPalette::Highlight); // highlight
    case 14:
        return pal.color(QPalette::HighlightedText);
    case 15:
        return pal.color(QPalette::Button); // button face
    case 16:
        return pal.color(QPalette::Dark); // button shadow
    case 17:
        return pal.color(QPalette::Disabled, QPalette::Text); // grey text
    case 18:
        return pal.color(QPalette::ButtonText);
    case 19:
        return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20:
        return pal.color(QPalette::Light); // button highlight
    case 23:
        return pal.color(QPalette::ToolTipText); // info text
    case 24:
        return pal.color(QPalette::ToolTipBase); // info background
    default:
        return {};
    }
}

QColor WinColorToQColor(int winColor)
{
    const auto v = static_cast<quint32>(winColor);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QColor c = WinSystemColor(static_cast<int>(v & 0xFFu));
        return c.isValid() ? c : QGuiApplication::palette().color(QPalette::Window);
    }
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}
