#include "ShiftJis.h"
#include "TextTexts.h"

#include <QList>

#include <array>
#include <iconv.h>
#include <memory>
#include <mutex>

namespace {

constexpr const char *kCodePage = "CP932";
constexpr char16_t kNone = 0;

// Characters with their own Unicode value that share a code of code page
// 932 with the look-alike named beside them. Input methods that follow the
// JIS mapping type the first; the code page gives back the second.
constexpr std::array<std::pair<char16_t, char16_t>, 7> kLookAlikes{{
    {0x301C, 0xFF5E}, // wave dash → full-width tilde
    {0x2016, 0x2225}, // double vertical line → parallel to
    {0x2212, 0xFF0D}, // minus sign → full-width hyphen-minus
    {0x2014, 0x2015}, // em dash → horizontal bar
    {0x00A2, 0xFFE0}, // cent sign → full-width cent sign
    {0x00A3, 0xFFE1}, // pound sign → full-width pound sign
    {0x00AC, 0xFFE2}, // not sign → full-width not sign
}};

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The code page as two tables, made once from glibc's converter: codes to
// characters and characters to codes. A character gets a code only when
// that code decodes to it again; glibc's best-fit mappings ("¥" to the
// backslash byte, "‾" to "~") are not taken.
struct Tables
{
    std::array<char16_t, 256> single{};
    std::array<char16_t, 65536> pair{};
    std::array<quint16, 65536> code{}; // 0: none; below 0x100: one byte
};

bool convert(iconv_t cd, const char *in, size_t inSize, char *out, size_t *outSize)
{
    char *inPtr = const_cast<char *>(in);
    char *outPtr = out;
    size_t outLeft = *outSize;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inSize, &outPtr, &outLeft) == static_cast<size_t>(-1) || inSize != 0)
        return false;
    *outSize = static_cast<size_t>(outPtr - out);
    return true;
}

char16_t decodeOne(iconv_t cd, const char *bytes, size_t size)
{
    char16_t units[4];
    size_t outSize = sizeof units;
    if (!convert(cd, bytes, size, reinterpret_cast<char *>(units), &outSize) || outSize != 2)
        return kNone;
    return units[0];
}

std::unique_ptr<Tables> buildTables()
{
    auto t = std::make_unique<Tables>();
    const iconv_t dec = iconv_open("UTF-16LE", kCodePage);
    const iconv_t enc = iconv_open(kCodePage, "UTF-16LE");
    if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1))
        return t; // without the converter only ASCII passes
    for (int b = 0; b < 0x80; ++b)
        t->single[size_t(b)] = char16_t(b);
    for (int b = 0x80; b < 0x100; ++b) {
        if (isLeadByte(static_cast<unsigned char>(b)))
            continue;
        const char c = static_cast<char>(b);
        t->single[size_t(b)] = decodeOne(dec, &c, 1);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            t->pair[size_t(lead << 8 | trail)] = decodeOne(dec, bytes, 2);
        }
    }
    // Characters to codes: glibc's choice where a character has several
    // codes (NEC and IBM rows), provided it decodes back; else the first.
    auto learn = [&](char16_t u, quint16 codeFound) {
        if (u == kNone || u < 0x80 || t->code[u] != 0)
            return;
        char out[4];
        size_t outSize = sizeof out;
        quint16 chosen = codeFound;
        if (convert(enc, reinterpret_cast<const char *>(&u), 2, out, &outSize)) {
            const quint16 c = outSize == 1   ? quint16(static_cast<unsigned char>(out[0]))
                              : outSize == 2 ? quint16(static_cast<unsigned char>(out[0]) << 8 |
                                                       static_cast<unsigned char>(out[1]))
                                             : 0;
            const char16_t back = c < 0x100 ? t->single[c] : t->pair[c];
            if (c != 0 && back == u)
                chosen = c;
        }
        t->code[u] = chosen;
    };
    for (int b = 0x80; b < 0x100; ++b)
        learn(t->single[size_t(b)], quint16(b));
    for (int c = 0x8140; c <= 0xFCFC; ++c)
        learn(t->pair[size_t(c)], quint16(c));
    for (const auto &[from, to] : kLookAlikes)
        t->code[from] = t->code[to];
    iconv_close(dec);
    iconv_close(enc);
    return t;
}

const Tables &tables()
{
    static const std::unique_ptr<Tables> t = buildTables();
    return *t;
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

bool tryEncode(const QString &text, QByteArray *out, qsizetype *badPosition, Charset charset)
{
    const Tables &t = tables();
    QByteArray result;
    if (out)
        result.reserve(text.size() * 2);
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = units[i];
        if (u < 0x80) { // ASCII maps to itself
            if (out)
                result.append(static_cast<char>(u));
            continue;
        }
        const quint16 c = QChar::isSurrogate(u) ? 0 : t.code[u];
        // The database's SJIS_0208 refuses every code from lead byte F0 on.
        if (c == 0 || (charset == Charset::Sjis0208 && c >= 0xF000)) {
            if (badPosition)
                *badPosition = i;
            return false;
        }
        if (!out)
            continue;
        if (c >= 0x100)
            result.append(static_cast<char>(c >> 8));
        result.append(static_cast<char>(c & 0xFF));
    }
    if (out)
        *out = std::move(result);
    return true;
}

QByteArray encode(const QString &text, const QString &field, Charset charset)
{
    QByteArray out;
    qsizetype bad = -1;
    if (!tryEncode(text, &out, &bad, charset))
        throw ShiftJisError(text, bad, field);
    return out;
}

bool canEncode(const QString &text, Charset charset)
{
    return tryEncode(text, nullptr, nullptr, charset);
}

QString normalized(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        for (const auto &[from, to] : kLookAlikes) {
            if (c.unicode() == from) {
                c = QChar(to);
                break;
            }
        }
    }
    return result;
}

QString decode(const char *data, qsizetype size)
{
    const Tables &t = tables();
    QString result(size, Qt::Uninitialized);
    QChar *out = result.data();
    qsizetype written = 0;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = bytes[i];
        char16_t u = kNone;
        qsizetype used = 1;
        if (b < 0x80) {
            u = b;
        } else if (isLeadByte(b)) {
            if (i + 1 < size) {
                u = t.pair[size_t(b << 8 | bytes[i + 1])];
                used = 2;
            }
            if (u == kNone)
                used = 1; // only the lead byte is lost; the next is read anew
        } else {
            u = t.single[b];
        }
        out[written++] = u == kNone && b != 0 ? QChar(QChar::ReplacementCharacter) : QChar(u);
        i += used;
    }
    result.truncate(written);
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
