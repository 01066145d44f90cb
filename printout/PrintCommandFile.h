#pragma once

#include <QString>

// Prints a command file with the printer dialog and the progress dialog:
// -1 when the job was started (or could not start for a missing file), 0
// when the user cancelled. LastPrintOutcome() tells which.
qint16 PrintCommandFile(const QString &formPath, const QString &dataPath, const QString &message,
                        int paperSize, int orientation, int topOffset, int leftOffset,
                        quint8 printForm, quint8 showDialog);
