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

// What the bytes must fit: all of code page 932 (settings file, command
// files), or what a SJIS_0208 column of the database holds: code page 932
// without the characters whose first byte is F0 to FC (the user-defined
// area and the IBM extensions, such as "髙" FB FC).
enum class Charset
{
    Cp932,
    Sjis0208,
};

// Converts to CP932 bytes; throws ShiftJisError for a character that cannot
// be held (never substitutes "?"). A character is held only when decoding
// gives it back unchanged, except for the characters normalized() replaces,
// which are stored as their look-alike.
QByteArray encode(const QString &text, const QString &field = {}, Charset charset = Charset::Cp932);
// Returns false and the index of the first bad character instead of throwing.
bool tryEncode(const QString &text, QByteArray *out, qsizetype *badPosition = nullptr,
               Charset charset = Charset::Cp932);
bool canEncode(const QString &text, Charset charset = Charset::Cp932);
// The text with the characters that share a code with a look-alike of code
// page 932 replaced by it: U+301C 〜 by U+FF5E ～, U+2016 ‖ by U+2225 ∥,
// U+2212 − by U+FF0D －, U+2014 — by U+2015 ―, U+00A2 ¢ by U+FFE0 ￠,
// U+00A3 £ by U+FFE1 ￡, U+00AC ¬ by U+FFE2 ￢. Entry fields store this
// text, so what they show is what comes back from the database.
QString normalized(const QString &text);
// Bytes that are not valid CP932 decode to U+FFFD rather than being dropped,
// one U+FFFD per bad byte: a lead byte without its second byte costs only
// itself, the byte after it is read on its own.
QString decode(const QByteArray &bytes);
QString decode(const char *data, qsizetype size);
// Length of the text in CP932 bytes; a character CP932 cannot hold counts 2.
qsizetype byteLength(const QString &text);
// The longest prefix of the text that fits into maxBytes bytes, never cutting
// a double-byte character in half.
QString leftBytes(const QString &text, qsizetype maxBytes);

} // namespace ShiftJis
