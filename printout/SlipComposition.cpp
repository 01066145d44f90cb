#include "SlipComposition.h"

#include "ImageDispForm.h"
#include "PrintCommandFile.h"
#include "PrintJob.h"
#include "PrintTool.h"
#include "VDBPrint.h"
#include "db/EditableResultSet.h"
#include "text/ShiftJis.h"

#include <QVariant>

#include <algorithm>
#include <exception>

namespace {

int intValue(EditableResultSet &rows, const QString &column)
{
    const QVariant v = rows.value(column);
    return v.isNull() ? 0 : v.toInt();
}

QString textValue(EditableResultSet &rows, const QString &column)
{
    return ColumnText(rows.value(column));
}

// Builds the pieces of the layout in the order they are written.
class PieceBuilder
{
public:
    PieceBuilder(EditableResultSet &rows, QList<SlipLayout::Piece> &out) : m_rows(rows), m_out(out)
    {
    }

    // Sets the font of the group that follows: columns <group>_S and <group>_F.
    void font(const QString &group)
    {
        m_size = intValue(m_rows, group + QStringLiteral("_S"));
        m_font = textValue(m_rows, group + QStringLiteral("_F"));
    }

    // One record of the column at (x column, y column) plus the line offset.
    void add(const QString &column, const QString &xColumn, const QString &yColumn, int width = 0,
             int offset = 0, int length = 0, int yOffset = 0, int xOffset = 0)
    {
        SlipLayout::Piece p;
        p.column = column;
        p.width = width;
        p.offset = offset;
        p.length = length;
        p.x = intValue(m_rows, xColumn) + xOffset;
        p.y = intValue(m_rows, yColumn) + yOffset;
        p.size = m_size;
        p.font = m_font;
        m_out.append(p);
    }

    // right(w) cut into blocks of 3 at the x columns in order.
    void blocks(const QString &column, int width, const QStringList &xColumns,
                const QString &yColumn, int yOffset = 0)
    {
        for (int i = 0; i < xColumns.size(); ++i)
            add(column, xColumns.at(i), yColumn, width, 3 * i, 3, yOffset);
    }

    // Columns of their own: each with its _X, _Y, _S and _F.
    void own(const QStringList &columns)
    {
        for (const QString &c : columns) {
            font(c);
            add(c, c + QStringLiteral("_X"), c + QStringLiteral("_Y"));
        }
    }

private:
    EditableResultSet &m_rows;
    QList<SlipLayout::Piece> &m_out;
    int m_size = 0;
    QString m_font;
};

QString s(const char *text)
{
    return QString::fromLatin1(text);
}

// The column of item line n: prefix, line number, part ("HINMEI_" 3 "1").
QString line(const QString &prefix, int n, const char *part)
{
    return prefix + QString::number(n) + QLatin1String(part);
}

} // namespace

QString ColumnText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    return value.toString();
}

SlipLayout SlipLayout::read(EditableResultSet &rows)
{
    SlipLayout layout;
    layout.denName = textValue(rows, s("DENNAME"));
    layout.formName = textValue(rows, s("FORMNAME"));
    layout.prForm = intValue(rows, s("PR_FORM"));
    layout.showPD = intValue(rows, s("SHOWPD"));
    layout.lineSkip = intValue(rows, s("HINMEI_Y_SKIP"));
    layout.lineCount = intValue(rows, s("HINMEI_GYOU"));
    const int genkaSkip = intValue(rows, s("GOUKEI_GENKA_T_SKIP_X"));
    const int uriSkip = intValue(rows, s("GOUKEI_URI_T_SKIP_X"));

    PieceBuilder b(rows, layout.m_pieces);
    // Header: written once per slip.
    b.own({s("A_F1"), s("B_F1"), s("C_F1"), s("D_F1")});
    b.font(s("TEISEI"));
    b.add(s("TEISEI_1"), s("TEISEI_1_X"), s("TEISEI_Y"));
    b.add(s("TEISEI_2"), s("TEISEI_2_X"), s("TEISEI_Y"));
    b.font(s("NOUHIN_1"));
    for (const char *part : {"Y1", "M1", "D1"})
        b.add(s("NOUHIN_") + s(part), s("NOUHIN_") + s(part) + s("_X"), s("NOUHIN_1_Y"));
    b.own({s("E_F1")});
    b.own({s("CONAME"), s("TENPONAME"), s("COCODE"), s("BUNRUICODE"), s("DENKUBUN")});
    b.font(s("DENNO"));
    b.add(s("DENNO_1"), s("DENNO_1_X"), s("DENNO_Y"));
    b.add(s("DENNO_2"), s("DENNO_2_X"), s("DENNO_Y"));
    b.font(s("TORIHIKICODE"));
    b.add(s("TORIHIKICODE_1"), s("TORIHIKICODE_1_X"), s("TORIHIKICODE_Y"));
    b.add(s("TORIHIKICODE_2"), s("TORIHIKICODE_2_X"), s("TORIHIKICODE_Y"));
    b.font(s("TORIHIKINAME"));
    b.add(s("TORIHIKINAME_1"), s("TORIHIKINAME_1_X"), s("TORIHIKINAME_1_Y"));
    b.add(s("TORIHIKINAME_2"), s("TORIHIKINAME_2_X"), s("TORIHIKINAME_2_Y"));
    // HACYU_Y is the order year of a slip and the order date's y of a layout.
    b.font(s("HACYU"));
    for (const char *part : {"Y", "M", "D"})
        b.add(s("HACYU_") + s(part), s("HACYU_") + s(part) + s("_X"), s("HACYU_Y"));
    b.font(s("NOUHIN_2"));
    for (const char *part : {"Y2", "M2", "D2"})
        b.add(s("NOUHIN_") + s(part), s("NOUHIN_") + s(part) + s("_X"), s("NOUHIN_2_Y"));
    b.font(s("BINN"));
    for (int k = 0; k < 3; ++k)
        b.add(s("BINN"), s("BINN%1_X").arg(k + 1), s("BINN_Y"), 3, k, 1);

    // Item lines: each element over all lines before the next element.
    const int lines = layout.nineLines() ? 9 : 6;
    const auto perLine = [&](const std::function<void(int n, int off)> &element) {
        for (int n = 1; n <= lines; ++n)
            element(n, (n - 1) * layout.lineSkip);
    };
    const auto simple = [&](const char *name) {
        const QString group = s(name);
        b.font(group);
        perLine([&](int n, int off) {
            b.add(group + QLatin1Char('_') + QString::number(n), group + s("_X"), group + s("_Y"),
                  0, 0, 0, off);
        });
    };
    b.font(s("HINMEI"));
    perLine([&](int n, int off) {
        b.add(line(s("HINMEI_"), n, "1"), s("HINMEI_1_X"), s("HINMEI_1_Y"), 0, 0, 0, off);
        b.add(line(s("HINMEI_"), n, "2"), s("HINMEI_2_X"), s("HINMEI_2_Y"), 0, 0, 0, off);
    });
    b.font(s("CODE"));
    perLine([&](int n, int off) {
        b.add(line(s("CODE_"), n, "1"), s("CODE_1_X"), s("CODE_1_Y"), 0, 0, 0, off);
        b.add(line(s("CODE_"), n, "2"), s("CODE_2_X"), s("CODE_2_Y"), 0, 0, 0, off);
    });
    for (const char *name : {"COLOR", "IRIKAZU", "SIZE", "CASEE"})
        simple(name);
    b.font(s("TANI"));
    perLine([&](int n, int off) {
        b.add(line(s("TANI_"), n, ""), s("TANI_X"), s("TANI_Y"), 4, 0, 0, off);
    });
    b.font(s("KAZU"));
    perLine([&](int n, int off) {
        b.add(line(s("KAZU_"), n, "1"), s("KAZU_1_X"), s("KAZU_Y"), 5, 0, 0, off);
        b.add(line(s("KAZU_"), n, "2"), s("KAZU_2_X"), s("KAZU_Y"), 0, 0, 0, off);
    });
    b.font(s("TKAZU"));
    perLine([&](int n, int off) {
        b.add(line(s("KAZU_T_"), n, "1"), s("TKAZU_1_X"), s("TKAZU_Y"), 6, 0, 0, off);
        b.add(line(s("KAZU_T_"), n, "2"), s("TKAZU_2_X"), s("TKAZU_Y"), 0, 0, 0, off);
    });
    simple("HIKIAI");
    simple("KUBUN");
    b.font(s("GENKA"));
    perLine([&](int n, int off) {
        b.blocks(line(s("GENKA_"), n, "1"), 6, {s("GENKA_1_X"), s("GENKA_2_X")}, s("GENKA_Y"), off);
        b.add(line(s("GENKA_"), n, "2"), s("GENKA_3_X"), s("GENKA_Y"), 2, 0, 0, off);
    });
    b.font(s("GENKAKEI"));
    perLine([&](int n, int off) {
        b.blocks(line(s("GENKAKEI_"), n, ""), 9,
                 {s("GENKAKEI_1_X"), s("GENKAKEI_2_X"), s("GENKAKEI_3_X")}, s("GENKAKEI_Y"), off);
    });
    b.font(s("URITANKA"));
    perLine([&](int n, int off) {
        b.blocks(line(s("URITANKA_"), n, ""), 6, {s("URITANKA_1_X"), s("URITANKA_2_X")},
                 s("URITANKA_Y"), off);
    });
    b.font(s("BIKOU"));
    perLine([&](int n, int off) {
        b.blocks(line(s("BIKOU_"), n, ""), 9, {s("BIKOU_1_X"), s("BIKOU_2_X"), s("BIKOU_3_X")},
                 s("BIKOU_Y"), off);
    });

    // Totals of the nine-line or the six-line columns, written once.
    const QString t = layout.nineLines() ? s("9") : s("6");
    b.font(s("GOUKEI_KAZU"));
    b.add(s("GOUKEI_KAZU") + t + s("_1"), s("GOUKEI_KAZU_1_X"), s("GOUKEI_KAZU_Y"), 5);
    b.add(s("GOUKEI_KAZU") + t + s("_2"), s("GOUKEI_KAZU_2_X"), s("GOUKEI_KAZU_Y"));
    b.font(s("GOUKEI_KAZU_T"));
    b.add(s("GOUKEI_KAZU") + t + s("_T1"), s("GOUKEI_KAZU_T_1_X"), s("GOUKEI_KAZU_T_Y"), 6);
    b.add(s("GOUKEI_KAZU") + t + s("_T2"), s("GOUKEI_KAZU_T_2_X"), s("GOUKEI_KAZU_T_Y"));
    b.font(s("GOUKEI_GENKA"));
    b.blocks(s("GOUKEI_GENKA") + t, 9,
             {s("GOUKEI_GENKA_1_X"), s("GOUKEI_GENKA_2_X"), s("GOUKEI_GENKA_3_X")},
             s("GOUKEI_GENKA_Y"));
    b.font(s("GOUKEI_URI"));
    b.blocks(s("GOUKEI_URI") + t, 9,
             {s("GOUKEI_URI_1_X"), s("GOUKEI_URI_2_X"), s("GOUKEI_URI_3_X")}, s("GOUKEI_URI_Y"));
    b.own({s("F_F1"), s("G_F1"), s("H_F1"), s("I_F1"), s("J_F1"), s("K_F1"), s("L_F1")});
    b.font(s("GOUKEI_GENKA_T"));
    for (int k = 0; k < 9; ++k)
        b.add(s("GOUKEI_GENKA") + t + s("_T"), s("GOUKEI_GENKA_T_X"), s("GOUKEI_GENKA_T_Y"), 9, k,
              1, 0, k * genkaSkip);
    b.font(s("GOUKEI_URI_T"));
    for (int k = 0; k < 9; ++k)
        b.add(s("GOUKEI_URI") + t + s("_T"), s("GOUKEI_URI_T_X"), s("GOUKEI_URI_T_Y"), 9, k, 1, 0,
              k * uriSkip);
    return layout;
}

QString RightPiece(const QString &text, int width, int offset, int length)
{
    if (width <= 0)
        return text;
    if (length <= 0)
        length = width - offset;
    // Digits and Latin letters are one byte each: no encoding needed.
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        const int n = std::clamp(length, 0, std::max(0, width - offset));
        QString piece(n, QLatin1Char(' '));
        for (int i = 0; i < n; ++i) {
            const qsizetype src = text.size() - width + offset + i;
            if (src >= 0)
                piece[i] = text.at(src);
        }
        return piece;
    }
    QByteArray bytes;
    ShiftJis::tryEncode(text, &bytes);
    // Which bytes begin a character, counted from the start of the text.
    QList<bool> starts(bytes.size(), true);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < bytes.size()) {
            starts[i + 1] = false;
            ++i;
        }
    }
    QByteArray padded(width, ' ');
    QList<bool> paddedStarts(width, true);
    for (int i = 0; i < width; ++i) {
        const qsizetype src = bytes.size() - width + i;
        if (src >= 0) {
            padded[i] = bytes.at(src);
            paddedStarts[i] = starts.at(src);
        }
    }
    QByteArray piece = padded.mid(offset, length);
    QList<bool> pieceStarts = paddedStarts.mid(offset, length);
    // A trail byte without its lead, or a lead byte without its trail, is a
    // cut character: a blank keeps the piece's width.
    for (qsizetype i = 0; i < piece.size(); ++i) {
        if (!pieceStarts.at(i)) {
            piece[i] = ' ';
            continue;
        }
        const bool lead = i + 1 < pieceStarts.size() ? !pieceStarts.at(i + 1) : false;
        const auto b = static_cast<unsigned char>(piece.at(i));
        const bool leadByte = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (leadByte && !lead)
            piece[i] = ' ';
        else if (lead)
            ++i;
    }
    return ShiftJis::decode(piece);
}

void WriteSlipPages(const SlipLayout &layout, EditableResultSet &slips, TPrintTool &tool)
{
    if (!slips.First() || slips.eof())
        return;
    // Column positions once; a missing column ends the run at the first slip.
    const QList<SlipLayout::Piece> &pieces = layout.pieces();
    QList<int> columns;     // distinct columns of the set
    QList<int> pieceColumn; // per piece: its entry in columns
    columns.reserve(pieces.size());
    pieceColumn.reserve(pieces.size());
    for (const SlipLayout::Piece &p : pieces) {
        const int c = slips.columnIndex(p.column);
        if (c < 0)
            slips.value(p.column); // the database layer's error for it
        qsizetype k = columns.indexOf(c);
        if (k < 0) {
            k = columns.size();
            columns << c;
        }
        pieceColumn << static_cast<int>(k);
    }
    const QString transparent = QStringLiteral("1");
    QList<QString> values(columns.size());
    for (;;) {
        const int row = slips.currentRow();
        for (qsizetype k = 0; k < columns.size(); ++k)
            values[k] = ColumnText(slips.data(slips.index(row, columns.at(k))));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const SlipLayout::Piece &p = pieces.at(i);
            const QString &value = values.at(pieceColumn.at(i));
            tool.WriteText(p.x, p.y,
                           p.width > 0 ? RightPiece(value, p.width, p.offset, p.length) : value,
                           p.font, p.size, QString(), QString(), transparent);
        }
        if (!slips.Next() || slips.eof())
            break;
        tool.EndPage();
    }
}

bool CanPreviewPaper(int code)
{
    static constexpr int codes[] = {8,  9,  11, 12, 13, 16, 17, 43, 44,
                                    45, 46, 55, 61, 62, 67, 90, 256};
    for (int c : codes) {
        if (c == code)
            return true;
    }
    return false;
}

void ComposePrintData(const SlipLayout &layout, EditableResultSet &slips, const ComposeJob &job,
                      ComposeOutput *output)
{
    if (output)
        *output = ComposeOutput::None;
    TPrintTool tool;
    tool.SetDataFile(job.dataFile);
    tool.SetShowDialog(!job.batch && layout.showPD == 1 ? 1 : 0);
    tool.SetOrientation(0);
    tool.SetPaperSize(job.paperCode);
    tool.SetFormFile(layout.formName);
    tool.SetTitle(layout.denName);
    tool.SetPrintForm(layout.prForm == 1 ? 1 : 0);
    tool.SetLeftOffset(job.leftOffset);
    tool.SetTopOffset(job.topOffset);

    std::exception_ptr failure;
    bool opened = false;
    try {
        tool.OpenFile();
        opened = true;
        WriteSlipPages(layout, slips, tool);
    } catch (...) {
        failure = std::current_exception();
    }

    // Closing steps: the pages written so far still go out.
    if (opened) {
        try {
            tool.CloseFile();
        } catch (...) {
            if (!failure)
                throw;
        }
        if (job.batch) {
            const TPrintTool::Settings &s = TPrintTool::settings();
            PrintWithoutDialogs(VDBPrint(), s.formFile, s.dataFile, s.paperSize, s.orientation,
                                s.topOffset, s.leftOffset, s.printForm);
            if (output)
                *output = ComposeOutput::Printed;
        } else if (layout.showPD == 1 && CanPreviewPaper(job.paperCode)) {
            tool.Preview();
            if (output)
                *output = ComposeOutput::Previewed;
        } else {
            tool.Print();
            if (output)
                *output = ComposeOutput::Printed;
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}
