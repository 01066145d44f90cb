#pragma once

#include <QString>
#include <QVariant>

// Small text and process helpers shared by every program (no widgets).

// Trimming of half-width blanks and full-width (ideographic) spaces.
QString TrimLeftWide(const QString &text);
QString TrimRightWide(const QString &text);
QString TrimWide(const QString &text);

// Full-width letters, digits and signs to their half-width forms (what the
// input of a number in either width needs); other characters are kept.
QString ToHalfWidth(const QString &text);
// The characters of the text, after width conversion, that IsNumberChar accepts.
QString ExtractDigits(const QString &text, bool digitsOnly);
// One of "0123456789", or of "0123456789.+-" when digitsOnly is false.
bool IsNumberChar(QChar c, bool digitsOnly);

// Runs a command line (no quoting: words are separated by blanks) and returns
// its exit code, or -1 when it could not be started. The program is looked up
// in the calling program's folder first, then on the PATH; a name ending in
// ".exe" that is not found is tried without the suffix.
int RunAndWait(const QString &commandLine, const QString &folder, int showMode);

// The host name, at most 16 characters; the print-out program keys its
// per-computer settings with it.
QString GetComputerNameText();

// Whether the value's text is exactly "1".
bool VariantIsOne(const QVariant &value);
