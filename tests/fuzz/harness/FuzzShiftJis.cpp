// The Shift-JIS codec on arbitrary input, read once as bytes to decode and
// once as UTF-16 text to encode:
//   - decoding never loses more than the bad byte: at most one character per
//     byte, and decoded text without U+FFFD encodes again and decodes to
//     itself;
//   - any text the entry check takes (for the code page and for SJIS_0208
//     columns) comes back identical after encoding and decoding, look-alikes
//     as the character normalized() gives them.
#include "text/ShiftJis.h"

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

void checkText(const QString &text)
{
    const QString stored = ShiftJis::normalized(text);
    for (auto charset : {ShiftJis::Charset::Cp932, ShiftJis::Charset::Sjis0208}) {
        QByteArray bytes;
        qsizetype bad = -1;
        const bool ok = ShiftJis::tryEncode(text, &bytes, &bad, charset);
        check(ok == ShiftJis::canEncode(stored, charset), "look-alikes change nothing else");
        if (!ok) {
            check(bad >= 0 && bad < text.size(), "a refused text names a character in it");
            check(!ShiftJis::canEncode(text.mid(bad, 1), charset) || text.at(bad).isSurrogate(),
                  "the named character is the one refused");
            continue;
        }
        check(ShiftJis::decode(bytes) == stored, "accepted text comes back as stored");
        check(ShiftJis::encode(stored, {}, charset) == bytes, "stored text gives the same bytes");
        if (charset == ShiftJis::Charset::Sjis0208)
            check(ShiftJis::canEncode(text), "a column's text is code page text");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString decoded = ShiftJis::decode(input);
    check(decoded.size() <= input.size(), "at most one character per byte");
    if (!decoded.contains(QChar(QChar::ReplacementCharacter))) {
        QByteArray again;
        check(ShiftJis::tryEncode(decoded, &again), "decoded text encodes");
        check(ShiftJis::decode(again) == decoded, "decoded text round-trips");
    }
    checkText(decoded);
    checkText(QString(reinterpret_cast<const QChar *>(data),
                      static_cast<qsizetype>(size / sizeof(QChar))));
    return 0;
}
