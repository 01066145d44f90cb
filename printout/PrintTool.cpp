#include "PrintTool.h"

#include "ImageDispForm.h"
#include "PrintCommandFile.h"
#include "Printout.h"
#include "text/ShiftJis.h"

#include <QByteArrayList>

#include <charconv>

namespace {

TPrintTool::Settings g_settings;
QFile g_file;

struct ColorName
{
    const char *name;
    int number;
};

// First match wins; the letters are the colour's components, + or * the bright shade.
constexpr ColorName ColorNames[] = {
    {"N", 0},    {"R", 1},    {"G", 2},    {"GR", 3},   {"RG", 3},   {"B", 4},
    {"BR", 5},   {"RB", 5},   {"BG", 6},   {"GB", 6},   {"N+", 7},   {"N*", 7},
    {"W", 8},    {"R+", 9},   {"R*", 9},   {"G+", 10},  {"G*", 10},  {"B+", 11},
    {"B*", 11},  {"BR+", 12}, {"BR*", 12}, {"RB*", 12}, {"BG+", 13}, {"GB+", 13},
    {"BG*", 13}, {"GB*", 13}, {"W+", 14},  {"W*", 14},  {"GR+", 15}, {"RG+", 15},
};

// The format cannot carry a field separator or a line break inside a field:
// either would shift or split the record (a text line beginning with "E" would
// even end the page). The full-width semicolon prints the same to the eye.
QString fieldText(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char(';'), QChar(0xFF1B));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

bool plainAscii(const QString &text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == ';' || u == '\r' || u == '\n')
            return false;
    }
    return true;
}

QByteArray fieldBytes(const QString &text, const char *what)
{
    // Plain ASCII is its own Shift-JIS: most fields of a slip are digits.
    if (plainAscii(text))
        return text.toLatin1();
    // Font names repeat from record to record.
    static QString lastText;
    static QByteArray lastBytes;
    if (text == lastText && !lastBytes.isEmpty())
        return lastBytes;
    QByteArray bytes = ShiftJis::encode(fieldText(text), QString::fromUtf8(what));
    lastText = text;
    lastBytes = bytes;
    return bytes;
}

// Appends the field's bytes and its separator.
void appendField(QByteArray &out, const QString &text, const char *what)
{
    if (plainAscii(text)) {
        const qsizetype at = out.size();
        out.resize(at + text.size());
        char *dst = out.data() + at;
        for (QChar c : text)
            *dst++ = static_cast<char>(c.unicode());
    } else {
        out += fieldBytes(text, what);
    }
    out += ';';
}

} // namespace

PrintToolError::PrintToolError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

void TPrintTool::SetDataFile(const QString &path)
{
    g_settings.dataFile = path;
}

void TPrintTool::SetFormFile(const QString &path)
{
    g_settings.formFile = path;
}

void TPrintTool::SetTitle(const QString &text)
{
    g_settings.title = text;
}

void TPrintTool::SetOrientation(int value)
{
    g_settings.orientation = value;
}

void TPrintTool::SetPaperSize(int code)
{
    g_settings.paperSize = code;
}

void TPrintTool::SetLeftOffset(int value)
{
    g_settings.leftOffset = value;
}

void TPrintTool::SetTopOffset(int value)
{
    g_settings.topOffset = value;
}

void TPrintTool::SetPrintForm(quint8 flag)
{
    g_settings.printForm = flag;
}

void TPrintTool::SetShowDialog(quint8 flag)
{
    g_settings.showDialog = flag;
}

const TPrintTool::Settings &TPrintTool::settings()
{
    return g_settings;
}

void TPrintTool::resetSettings()
{
    if (g_file.isOpen())
        g_file.close();
    g_settings = Settings();
}

void TPrintTool::OpenFile()
{
    if (g_file.isOpen())
        g_file.close();
    g_file.setFileName(g_settings.dataFile);
    if (!g_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw PrintToolError(g_settings.dataFile + QLatin1String(": ") + g_file.errorString());
}

void TPrintTool::write(const QByteArray &bytes)
{
    if (!g_file.isOpen())
        throw PrintToolError(g_settings.dataFile + QLatin1String(": file not open"));
    if (g_file.write(bytes) != bytes.size())
        throw PrintToolError(g_settings.dataFile + QLatin1String(": ") + g_file.errorString());
}

QByteArray TPrintTool::TextRecord(int x, int y, const QString &text, const QString &fontName,
                                  int size, const QString &style, const QString &colorName,
                                  const QString &background)
{
    return TextRecord(x, y, text, fontName, size, style, ColorCode(colorName), background);
}

QByteArray TPrintTool::TextRecord(int x, int y, const QString &text, const QString &fontName,
                                  int size, const QString &style, int color,
                                  const QString &background)
{
    // Built apart from the file, so a refused character leaves nothing half written.
    QByteArray out;
    out.reserve(64 + 2 * (text.size() + fontName.size() + style.size() + background.size()));
    const auto number = [&out](int v) {
        char digits[16];
        const char *end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        out.append(digits, end - digits);
        out += ';';
    };
    out += 'T';
    number(x);
    number(y);
    appendField(out, text, "text");
    appendField(out, fontName, "font name");
    number(size);
    appendField(out, style, "style");
    number(color);
    appendField(out, background, "background");
    out += "\r\n\r\n";
    return out;
}

void TPrintTool::WriteText(int x, int y, const QString &text, const QString &fontName, int size,
                           const QString &style, const QString &colorName,
                           const QString &background)
{
    write(TextRecord(x, y, text, fontName, size, style, colorName, background));
}

void TPrintTool::EndPage()
{
    write(QByteArrayLiteral("E\r\n"));
}

void TPrintTool::CloseFile()
{
    if (!g_file.isOpen())
        return;
    const bool flushed = g_file.flush();
    const QString reason = g_file.errorString();
    g_file.close();
    if (!flushed)
        throw PrintToolError(g_settings.dataFile + QLatin1String(": ") + reason);
}

bool TPrintTool::Print()
{
    const Settings &s = g_settings;
    return PrintCommandFile(s.formFile, s.dataFile, s.message, s.paperSize, s.orientation,
                            s.topOffset, s.leftOffset, s.printForm, s.showDialog) != 0;
}

void TPrintTool::Preview()
{
    const Settings &s = g_settings;
    PreviewCommandFile(s.title, s.formFile, s.dataFile, s.paperSize, s.orientation, s.topOffset,
                       s.leftOffset, -1, -1, 0, 0, s.printForm, s.showDialog);
}

int TPrintTool::ColorCode(const QString &name)
{
    if (name.isEmpty())
        return 0;
    QString upper = name;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = c.toUpper();
    }
    for (const ColorName &entry : ColorNames) {
        if (upper == QLatin1String(entry.name))
            return entry.number;
    }
    return 0;
}
