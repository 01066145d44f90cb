// The overlay file of a form variant: the ruling and captions printed under
// the slip values.

#include "FormGeometryInternal.h"
#include "PrintTool.h"
#include "text/ShiftJis.h"

#include <cmath>

using namespace FormInternal;

namespace {

const QString kCaptionFont = QStringLiteral("ＭＳ ゴシック");

// Largest font size up to max points whose text fits the cell with a margin.
int fitPoints(const QString &text, const QRectF &cell, int maxPoints, int minPoints)
{
    const int bytes = int(ShiftJis::byteLength(text));
    for (int pt = maxPoints; pt > minPoints; --pt) {
        if (FormSet::textWidth(bytes, pt) <= cell.width() - 4 &&
            FormSet::textHeight(pt) <= cell.height() - 4) {
            return pt;
        }
    }
    return minPoints;
}

} // namespace

QByteArray FormSet::overlayFile(const Form &form, const QString &variantName) const
{
    const FormVariant &variant = form.variant(variantName);
    const int c = variant.colour;
    QStringList lines;
    lines << QStringLiteral("P%1;%2;").arg(form.paperWidth()).arg(form.paperLength());
    // The captions follow the ruling, written as the print tool writes text.
    QByteArray captions;
    QRect all;
    auto box = [&](const QRect &r, int pen) {
        lines << QStringLiteral("B%1;%2;%3;%4;%5;0;%6;14;1;")
                     .arg(r.x())
                     .arg(r.y())
                     .arg(r.x() + r.width())
                     .arg(r.y() + r.height())
                     .arg(pen)
                     .arg(c);
        all = all.isNull() ? r : all.united(r);
    };
    auto text = [&](const QRect &cell, const QString &t, int maxPt) {
        if (t.isEmpty()) {
            return;
        }
        const int pt = fitPoints(t, cell, maxPt, 3);
        const double w = textWidth(int(ShiftJis::byteLength(t)), pt);
        const int x = int(std::floor(cell.x() + (cell.width() - w) / 2));
        const int y = int(std::floor(cell.y() + (cell.height() - textHeight(pt)) / 2));
        captions +=
            TPrintTool::TextRecord(x, y, t, kCaptionFont, pt, QString(), c, QStringLiteral("1"));
    };
    for (const FormBox &b : form.boxes) {
        const QRect r = paperFromRef(form, b.rect);
        if (b.count > 0) {
            for (int k = 0; k < b.count; ++k) {
                box(paperCharBox(form, b.id, k), 2);
            }
        } else {
            box(r, 2);
        }
        const QRectF cellRef = captionCell(b, b.rect, QPointF(1, 1));
        if (!cellRef.isNull()) {
            const QRect cell = paperFromRef(form, cellRef);
            box(cell, 2);
            text(cell, b.caption, 8);
        }
    }
    const int headerTop = paperRound(form.top + (form.headerTop - form.origin.y()) * form.ky);
    const int rows = paperRound((form.rowsEnd - form.headerBottom) / form.rowHeight);
    for (const FormBox &b : form.items) {
        if (b.capMode == QLatin1String("h")) {
            const QRectF ref(b.rect.x(), 0, b.capSpan > 0 ? b.capSpan : b.rect.width(), 0);
            const QRect xs = paperFromRef(form, ref);
            QRect cell(QPoint(xs.x(), headerTop),
                       QSize(xs.width(), paperRowTop(form, 1) - headerTop));
            const bool full =
                b.rect.y() == 0 && b.rect.y() + b.rect.height() >= form.rowHeight - 0.01;
            if (!full) {
                const int half = cell.height() / 2;
                cell = b.rect.y() > 0 ? QRect(QPoint(cell.x(), cell.y() + half),
                                              QSize(cell.width(), cell.height() - half))
                                      : QRect(cell.topLeft(), QSize(cell.width(), half));
            }
            box(cell, 2);
            text(cell, b.caption, 8);
        }
        for (int n = 1; n <= rows; ++n) {
            const QRect r = paperRect(form, b.id, n);
            if (b.style == QLatin1String("box")) {
                box(r, 2);
            } else if (b.style == QLatin1String("split")) {
                lines << QStringLiteral("L%1;%2;%3;%4;1;2;%5;;;")
                             .arg(r.x())
                             .arg(r.y())
                             .arg(r.x() + r.width())
                             .arg(r.y())
                             .arg(c);
            }
        }
    }
    for (const FormText &t : form.texts) {
        const QRect r = paperFromRef(form, t.rect);
        if (t.frame) {
            box(r, 2);
        }
        const bool title = t.text == QLatin1String("{title}");
        text(r, title ? variant.title : t.text, title ? 10 : 8);
    }
    // The outer frame, a little heavier.
    box(all, 4);
    QByteArray bytes;
    for (const QString &line : std::as_const(lines)) {
        bytes += ShiftJis::encode(line, variant.overlay);
        bytes += "\r\n";
    }
    return bytes + captions;
}
