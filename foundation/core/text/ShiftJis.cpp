#include "ShiftJis.h"
#include "TextTexts.h"

#include <QList>

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace {

constexpr const char *kCodePage = "CP932";

// iconv descriptors are costly to open; one per direction is kept for the
// process. Conversion is stateless for CP932, and calls are serialised.
class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }
    std::mutex &mutex() { return m_mutex; }

private:
    iconv_t m_cd;
    std::mutex m_mutex;
};

Converter &toSjis()
{
    static Converter c(kCodePage, "UTF-16LE");
    return c;
}

Converter &fromSjis()
{
    static Converter c("UTF-16LE", kCodePage);
    return c;
}

// Encodes one code point (given as UTF-16 units); returns false when CP932
// has no such character.
bool encodeUnits(Converter &conv, const char16_t *units, size_t count, QByteArray &out)
{
    char buffer[16];
    char *in = const_cast<char *>(reinterpret_cast<const char *>(units));
    size_t inLeft = count * 2;
    char *outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(conv.handle(), nullptr, nullptr, nullptr, nullptr);
    if (iconv(conv.handle(), &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
    return true;
}

} // namespace

ShiftJisError::ShiftJisError(const QString &text, qsizetype position, const QString &field)
    : std::runtime_error("character not representable in Shift-JIS"), m_text(text),
      m_position(position), m_field(field)
{
}

QString ShiftJisError::badCharacter() const
{
    if (m_position < 0 || m_position >= m_text.size())
        return {};
    const QChar c = m_text.at(m_position);
    if (c.isHighSurrogate() && m_position + 1 < m_text.size())
        return m_text.mid(m_position, 2);
    return QString(c);
}

QString ShiftJisError::userMessage() const
{
    const QString bad = badCharacter();
    const uint code = bad.isEmpty() ? 0 : bad.toUcs4().value(0);
    const QString codeText = QStringLiteral("U+%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    if (m_field.isEmpty())
        return QString::fromUtf8(kRefusedCharacter).arg(bad, codeText);
    return QString::fromUtf8(kRefusedCharacterInField).arg(m_field, bad, codeText);
}

ShiftJisError ShiftJisError::withField(const QString &field) const
{
    return ShiftJisError(m_text, m_position, field);
}

namespace ShiftJis {

bool tryEncode(const QString &text, QByteArray *out, qsizetype *badPosition)
{
    QByteArray result;
    result.reserve(text.size() * 2);
    Converter &conv = toSjis();
    std::lock_guard lock(conv.mutex());
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const char16_t u = units[i];
        if (u < 0x80) { // ASCII maps to itself
            result.append(static_cast<char>(u));
            ++i;
            continue;
        }
        size_t count = 1;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(units[i + 1]))
            count = 2;
        if (!conv.valid() || QChar::isSurrogate(u) ||
            !encodeUnits(conv, units + i, count, result)) {
            if (badPosition)
                *badPosition = i;
            return false;
        }
        i += static_cast<qsizetype>(count);
    }
    if (out)
        *out = std::move(result);
    return true;
}

QByteArray encode(const QString &text, const QString &field)
{
    QByteArray out;
    qsizetype bad = -1;
    if (!tryEncode(text, &out, &bad))
        throw ShiftJisError(text, bad, field);
    return out;
}

bool canEncode(const QString &text)
{
    return tryEncode(text, nullptr, nullptr);
}

QString decode(const char *data, qsizetype size)
{
    QString result;
    result.reserve(size);
    Converter &conv = fromSjis();
    std::lock_guard lock(conv.mutex());
    qsizetype i = 0;
    while (i < size) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            result.append(QChar(b));
            ++i;
            continue;
        }
        // Lead bytes of double-byte characters: 81-9F and E0-FC.
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const qsizetype len = (lead && i + 1 < size) ? 2 : 1;
        char16_t buffer[4];
        char *in = const_cast<char *>(data + i);
        size_t inLeft = static_cast<size_t>(len);
        char *outPtr = reinterpret_cast<char *>(buffer);
        size_t outLeft = sizeof buffer;
        iconv(conv.handle(), nullptr, nullptr, nullptr, nullptr);
        if (conv.valid() &&
            iconv(conv.handle(), &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            const qsizetype units = (reinterpret_cast<char16_t *>(outPtr) - buffer);
            result.append(reinterpret_cast<const QChar *>(buffer), units);
        } else {
            result.append(QChar(QChar::ReplacementCharacter));
        }
        i += len;
    }
    return result;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

qsizetype byteLength(const QString &text)
{
    qsizetype total = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            ++total;
        } else if (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) {
            ++total; // half-width katakana is one byte
        } else if (c.isHighSurrogate()) {
            total += 2;
            ++i;
        } else {
            total += 2;
        }
    }
    return total;
}

QString leftBytes(const QString &text, qsizetype maxBytes)
{
    qsizetype total = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const bool single = c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
        const qsizetype width = single ? 1 : 2;
        if (total + width > maxBytes)
            return text.left(i);
        total += width;
        if (c.isHighSurrogate())
            ++i;
    }
    return text;
}

} // namespace ShiftJis
