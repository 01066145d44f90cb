#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// The one place where text crosses between Qt's Unicode strings and the
// Shift-JIS (code page 932) bytes of the settings file, the database and the
// print command files.
class ShiftJisError : public std::runtime_error
{
public:
    ShiftJisError(const QString &text, qsizetype position, const QString &field = {});

    // The text that could not be converted, the index of the first bad
    // character in it, and the name of the field it was meant for (may be empty).
    const QString &text() const { return m_text; }
    qsizetype position() const { return m_position; }
    const QString &field() const { return m_field; }
    QString badCharacter() const;
    // A message for the user naming the field and the character.
    QString userMessage() const;
    ShiftJisError withField(const QString &field) const;

private:
    QString m_text;
    qsizetype m_position;
    QString m_field;
};

namespace ShiftJis {

// Converts to CP932 bytes; throws ShiftJisError for a character CP932 cannot
// hold (never substitutes "?").
QByteArray encode(const QString &text, const QString &field = {});
// Returns false and the index of the first bad character instead of throwing.
bool tryEncode(const QString &text, QByteArray *out, qsizetype *badPosition = nullptr);
bool canEncode(const QString &text);
// Bytes that are not valid CP932 decode to U+FFFD rather than being dropped.
QString decode(const QByteArray &bytes);
QString decode(const char *data, qsizetype size);
// Length of the text in CP932 bytes; a character CP932 cannot hold counts 2.
qsizetype byteLength(const QString &text);
// The longest prefix of the text that fits into maxBytes bytes, never cutting
// a double-byte character in half.
QString leftBytes(const QString &text, qsizetype maxBytes);

} // namespace ShiftJis
