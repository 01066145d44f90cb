// The slip picture the slip programs show behind their edits.

#include "FormGeometryInternal.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

using FormInternal::captionCell;

namespace {

// Screen captions use the face the ＭＳ faces are mapped onto.
const QString kScreenFont = QStringLiteral("IPAGothic");

void drawCaption(QPainter &p, const QRectF &cell, const QString &text, double maxPx)
{
    if (text.isEmpty()) {
        return;
    }
    QFont font(kScreenFont);
    double px = std::min(maxPx, cell.height() - 3);
    for (; px > 6; px -= 0.5) {
        font.setPixelSize(int(px));
        if (QFontMetricsF(font).horizontalAdvance(text) <= cell.width() - 2) {
            break;
        }
    }
    font.setPixelSize(std::max(6, int(px)));
    p.setFont(font);
    p.drawText(cell, Qt::AlignCenter, text);
}

} // namespace

QImage FormSet::picture(const SlipTypeGeometry &type, const QString &variantName) const
{
    const Form &form = formOf(type);
    const SlipTypeGeometry &owner = pictureOwner(type);
    const FormVariant &variant = form.variant(variantName);
    const QSize size = owner.picture.isEmpty() ? form.picture : owner.picture;
    const QPointF s = scale(type);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xff, 0xff, 0xfa));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.translate(-form.origin);
    QColor tint = variant.rgb;
    tint.setAlpha(36);
    const QPen rule(variant.rgb, 1);
    QPen dotted(variant.rgb, 1, Qt::DotLine);
    p.setPen(rule);
    QRectF all;
    auto frame = [&](const QRectF &r, bool fill) {
        if (fill) {
            p.fillRect(r, tint);
        }
        p.setPen(rule);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        all = all.isNull() ? r : all.united(r);
    };
    for (const FormBox &b : form.boxes) {
        const QRectF r = mapRef(type, b.rect);
        if (b.count > 0) {
            for (int k = 0; k < b.count; ++k) {
                frame(screenCharBox(type, b.id, k), false);
            }
        } else {
            frame(r, false);
        }
        const QRectF cell = captionCell(b, r, s);
        if (!cell.isNull()) {
            frame(cell, true);
            p.setPen(variant.rgb);
            drawCaption(p, cell, b.caption, 11 * s.y());
        }
    }
    const QVector<double> tops = rowTops(type);
    const QRectF header =
        mapRef(type, QRectF(0, form.headerTop, 0, form.headerBottom - form.headerTop));
    for (const FormBox &b : form.items) {
        const QRectF r = mapRef(type, b.rect);
        if (b.capMode == QLatin1String("h")) {
            const double w = b.capSpan > 0 ? b.capSpan * s.x() : r.width();
            QRectF cell(r.x(), header.y(), w, tops.first() - header.y());
            const bool full =
                b.rect.y() + b.rect.height() >= form.rowHeight - 0.01 && b.rect.y() == 0;
            if (!full) {
                const double half = cell.height() / 2;
                cell = b.rect.y() > 0 ? QRectF(cell.x(), cell.y() + half, w, half)
                                      : QRectF(cell.x(), cell.y(), w, half);
            }
            frame(cell, true);
            p.setPen(variant.rgb);
            drawCaption(p, cell, b.caption, 12 * s.y());
        }
        for (int n = 1; n <= tops.size(); ++n) {
            const QRectF cell = screenRect(type, b.id, n);
            if (b.style == QLatin1String("box")) {
                frame(cell, false);
            } else if (b.style == QLatin1String("split")) {
                p.setPen(dotted);
                p.drawLine(cell.topLeft(), cell.topRight());
            }
        }
    }
    for (const FormText &t : form.texts) {
        const QRectF r = mapRef(type, t.rect);
        if (t.frame) {
            frame(r, true);
        }
        p.setPen(variant.rgb);
        const QString text = t.text == QLatin1String("{title}") ? variant.title : t.text;
        drawCaption(p, r, text, (t.text == QLatin1String("{title}") ? 14 : 12) * s.y());
    }
    p.setPen(QPen(variant.rgb, 2));
    p.drawRect(all);
    return image;
}
