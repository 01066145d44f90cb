#pragma once

#include <QString>
#include <Qt>

class QWidget;

// Helpers of the text-helper family that need windows and the keyboard.

// Runs a program and waits for it; the calling window is disabled and only
// repainted meanwhile. The exit code is ignored.
void RunProgramAndWait(QWidget *window, const QString &program, const QString &parameters,
                       int showMode, Qt::WindowStates windowState, bool visible,
                       const QString &folder);
// Sends count presses (down and up) of a Windows virtual key code to the
// widget that has the keyboard focus.
void PressKey(int virtualKey, int count);
