#include "SheetWriter.h"

#include "ExportTexts.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "text/ShiftJis.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <firebird/Interface.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kCsOctets = 1;
// Widest column the sheet accepts, in characters.
constexpr double kMaxColumnWidth = 255.0;

// Built-in number formats the spreadsheet shows in the user's locale.
constexpr uint8_t kShortDateFormatIndex = 14;     // short date
constexpr uint8_t kShortDateTimeFormatIndex = 22; // short date and time
constexpr const char *kTimeFormat = "h:mm:ss";

// The workbook until it is closed; freed without writing when the export
// ends early.
class Workbook
{
public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_path = QFile::encodeName(path);
        m_book = workbook_new_opt(m_path.constData(), &options);
    }
    ~Workbook()
    {
        if (m_book)
            lxw_workbook_free(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_workbook *get() const { return m_book; }
    lxw_error close()
    {
        lxw_workbook *book = m_book;
        m_book = nullptr;
        return workbook_close(book);
    }

private:
    QByteArray m_path;
    lxw_workbook *m_book = nullptr;
};

void check(lxw_error error, const char *what)
{
    if (error != LXW_NO_ERROR)
        throw SheetError(QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                      QString::fromUtf8(lxw_strerror(error))));
}

struct ExportedColumn
{
    int source = 0;
    FieldKind kind = FieldKind::Text;
    int width = 0; // widest display width seen
};

QString numberText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 11);
    return QString::number(value.toLongLong());
}

// Moves the written file to its place. Keep never replaces a file: the name
// gets " (2)", " (3)" ... until a free one is found.
QString moveIntoPlace(const QString &temp, const QString &path, SheetWriter::Existing existing)
{
    const QByteArray from = QFile::encodeName(temp);
    if (existing == SheetWriter::Existing::Replace) {
        if (::rename(from.constData(), QFile::encodeName(path).constData()) != 0)
            throw SheetError(path + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno)));
        return path;
    }
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName());
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            n == 1 ? path : QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
        // link() fails when the name is taken, so a file appearing meanwhile
        // is never replaced.
        if (::link(from.constData(), QFile::encodeName(candidate).constData()) == 0) {
            ::unlink(from.constData());
            return candidate;
        }
        if (errno != EEXIST)
            throw SheetError(candidate + QStringLiteral(": ") +
                             QString::fromLocal8Bit(strerror(errno)));
    }
    throw SheetError(path + QStringLiteral(": no free file name"));
}

void applyUsualPermissions(const QString &file)
{
    // A temporary file is private; the finished sheet gets what a new file
    // of this user gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(file).constData(), 0666 & ~mask);
}

} // namespace

SheetError::SheetError(const QString &detail)
    : AppError(QString::fromUtf16(ExportTexts::kOutputError), detail)
{
}

FieldKind FieldKindOf(const ColumnInfo &column)
{
    switch (column.sqlType) {
    case SQL_TEXT:
    case SQL_VARYING:
        return column.charSet == kCsOctets ? FieldKind::LeftOut : FieldKind::Text;
    case SQL_BLOB:
        return column.subType == 1 ? FieldKind::Memo : FieldKind::LeftOut;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return FieldKind::Number;
    case SQL_TYPE_DATE:
        return FieldKind::Date;
    case SQL_TIMESTAMP:
        return FieldKind::DateTime;
    case SQL_TYPE_TIME:
        return FieldKind::Time;
    case SQL_BOOLEAN:
        return FieldKind::Boolean;
    default:
        return FieldKind::LeftOut;
    }
}

QString CellText(const QString &text)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s;
}

int DisplayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) // ASCII and half-width kana
            width += 1;
        else if (!c.isLowSurrogate())
            width += 2;
    }
    return width;
}

namespace SheetWriter {

SheetOutcome write(Query &query, const QStringList *headers, const SheetOptions &options,
                   const QString &path, Existing existing, const SheetProgress &progress)
{
    SheetOutcome outcome;
    std::vector<ExportedColumn> columns;
    for (int i = 0; i < query.columnCount(); ++i) {
        const FieldKind kind = FieldKindOf(query.column(i));
        if (kind != FieldKind::LeftOut)
            columns.push_back(ExportedColumn{i, kind, 0});
    }
    outcome.columns = static_cast<int>(columns.size());
    for (int k = 0; k < outcome.columns; ++k)
        outcome.calcColArray.append(columns[static_cast<size_t>(k)].kind == FieldKind::Text ? k
                                                                                            : -1);

    if (options.startRow < 1 || options.startColumn < 1 ||
        options.startRow > static_cast<int>(LXW_ROW_MAX) ||
        options.startColumn - 1 + outcome.columns > static_cast<int>(LXW_COL_MAX))
        throw SheetError(QStringLiteral("the table does not fit the sheet"));

    const QFileInfo target(path);
    if (!target.dir().exists())
        throw SheetError(target.absolutePath() + QStringLiteral(": no such folder"));
    QTemporaryFile temp(target.dir().filePath(QStringLiteral(".") + target.completeBaseName() +
                                              QStringLiteral("-XXXXXX.xlsx")));
    if (!temp.open())
        throw SheetError(target.absolutePath() + QStringLiteral(": ") + temp.errorString());
    temp.close();
    // Removed whatever happens; the finished file is a hard link or was
    // renamed away before this runs.
    const QString tempPath = temp.fileName();

    Workbook book(tempPath);
    if (!book.get())
        throw SheetError(tempPath + QStringLiteral(": cannot create the workbook"));
    lxw_worksheet *sheet = workbook_add_worksheet(book.get(), nullptr);
    if (!sheet)
        throw SheetError(QStringLiteral("cannot add a worksheet"));

    lxw_format *textFormat = workbook_add_format(book.get());
    format_set_num_format(textFormat, "@");
    lxw_format *headerFormat = workbook_add_format(book.get());
    format_set_align(headerFormat, LXW_ALIGN_CENTER);
    lxw_format *textHeaderFormat = workbook_add_format(book.get());
    format_set_align(textHeaderFormat, LXW_ALIGN_CENTER);
    format_set_num_format(textHeaderFormat, "@");
    lxw_format *dateFormat = workbook_add_format(book.get());
    lxw_format *dateTimeFormat = workbook_add_format(book.get());
    if (options.dateFormat.isEmpty()) {
        format_set_num_format_index(dateFormat, kShortDateFormatIndex);
        format_set_num_format_index(dateTimeFormat, kShortDateTimeFormatIndex);
    } else {
        const QByteArray f = options.dateFormat.toUtf8();
        format_set_num_format(dateFormat, f.constData());
        format_set_num_format(dateTimeFormat, f.constData());
    }
    lxw_format *timeFormat = workbook_add_format(book.get());
    format_set_num_format(timeFormat, kTimeFormat);
    const int dateWidth = options.dateFormat.isEmpty() ? 10 : DisplayWidth(options.dateFormat);
    const int dateTimeWidth = options.dateFormat.isEmpty() ? 16 : dateWidth;

    const auto firstRow = static_cast<lxw_row_t>(options.startRow - 1);
    const auto firstColumn = static_cast<lxw_col_t>(options.startColumn - 1);

    // The header row: centred across the whole row.
    check(worksheet_set_row(sheet, firstRow, LXW_DEF_ROW_HEIGHT, headerFormat), "header row");
    for (int k = 0; k < outcome.columns; ++k) {
        ExportedColumn &c = columns[static_cast<size_t>(k)];
        QString header;
        if (!headers)
            header = query.column(c.source).name;
        else if (k < headers->size())
            header = headers->at(k);
        header = CellText(header);
        c.width = DisplayWidth(header);
        if (header.isEmpty())
            continue;
        check(worksheet_write_string(sheet, firstRow, firstColumn + static_cast<lxw_col_t>(k),
                                     header.toUtf8().constData(),
                                     c.kind == FieldKind::Text ? textHeaderFormat : headerFormat),
              "header");
    }

    const QByteArray trueText = options.trueText.toUtf8();
    const QByteArray falseText = options.falseText.toUtf8();
    const int trueWidth = DisplayWidth(options.trueText);
    const int falseWidth = DisplayWidth(options.falseText);

    lxw_row_t row = firstRow;
    try {
        while (query.isOpen()) {
            if (row + 1 >= LXW_ROW_MAX)
                throw SheetError(QStringLiteral("more rows than a sheet holds"));
            ++row;
            for (int k = 0; k < outcome.columns; ++k) {
                ExportedColumn &c = columns[static_cast<size_t>(k)];
                const QVariant value = query.value(c.source);
                if (value.isNull())
                    continue;
                const auto col = firstColumn + static_cast<lxw_col_t>(k);
                int width = 0;
                switch (c.kind) {
                case FieldKind::Text:
                case FieldKind::Memo: {
                    const QString text = CellText(value.toString());
                    if (text.isEmpty())
                        break;
                    check(worksheet_write_string(sheet, row, col, text.toUtf8().constData(),
                                                 c.kind == FieldKind::Text ? textFormat : nullptr),
                          "text cell");
                    width = DisplayWidth(text);
                    break;
                }
                case FieldKind::Number:
                    check(worksheet_write_number(sheet, row, col, value.toDouble(), nullptr),
                          "number cell");
                    width = static_cast<int>(numberText(value).size());
                    break;
                case FieldKind::Date: {
                    const QDate d = value.toDate();
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                    check(worksheet_write_datetime(sheet, row, col, &dt, dateFormat), "date cell");
                    width = dateWidth;
                    break;
                }
                case FieldKind::DateTime: {
                    const QDateTime when = value.toDateTime();
                    const QTime t = when.time();
                    lxw_datetime dt{when.date().year(), when.date().month(),
                                    when.date().day(),  t.hour(),
                                    t.minute(),         t.second() + t.msec() / 1000.0};
                    check(worksheet_write_datetime(sheet, row, col, &dt, dateTimeFormat),
                          "date cell");
                    width = dateTimeWidth;
                    break;
                }
                case FieldKind::Time: {
                    const QTime t = value.toTime();
                    check(worksheet_write_number(sheet, row, col,
                                                 t.msecsSinceStartOfDay() / 86400000.0, timeFormat),
                          "time cell");
                    width = 8;
                    break;
                }
                case FieldKind::Boolean: {
                    const bool on = value.toBool();
                    const QByteArray &text = on ? trueText : falseText;
                    if (!text.isEmpty())
                        check(worksheet_write_string(sheet, row, col, text.constData(), nullptr),
                              "boolean cell");
                    width = on ? trueWidth : falseWidth;
                    break;
                }
                case FieldKind::LeftOut:
                    break;
                }
                if (width > c.width)
                    c.width = width;
            }
            ++outcome.rows;
            if (progress && outcome.rows % kProgressEvery == 0 && !progress(outcome.rows)) {
                outcome.cancelled = true;
                return outcome; // the workbook is freed unwritten, the temporary file removed
            }
            query.next();
        }
    } catch (const DbError &e) {
        throw SheetError(e.text());
    } catch (const ShiftJisError &e) {
        throw SheetError(e.userMessage());
    }
    if (progress && !progress(outcome.rows)) {
        outcome.cancelled = true;
        return outcome;
    }

    // Widths fitted to the contents; text columns keep the text format for
    // cells typed into them later.
    for (int k = 0; k < outcome.columns; ++k) {
        const ExportedColumn &c = columns[static_cast<size_t>(k)];
        const double width =
            c.width == 0 ? LXW_DEF_COL_WIDTH : qMin(kMaxColumnWidth, c.width + 1.0);
        const auto col = firstColumn + static_cast<lxw_col_t>(k);
        check(worksheet_set_column(sheet, col, col, width,
                                   c.kind == FieldKind::Text ? textFormat : nullptr),
              "column");
    }
    if (options.freeze && options.freezeRow >= 1 && options.freezeColumn >= 1)
        worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(options.freezeRow - 1),
                               static_cast<lxw_col_t>(options.freezeColumn - 1));

    check(book.close(), "saving");
    applyUsualPermissions(tempPath);
    outcome.path = moveIntoPlace(tempPath, path, existing);
    return outcome;
}

} // namespace SheetWriter
