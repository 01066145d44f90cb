#include "NaviButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

constexpr int kGap = 3;

} // namespace

NaviButton::NaviButton(int index, QWidget *parent) : QAbstractButton(parent), m_index(index)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void NaviButton::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    update();
}

void NaviButton::setCaptionColor(const QColor &color)
{
    if (color == m_captionColor)
        return;
    m_captionColor = color;
    update();
}

void NaviButton::setGlyphPosition(GlyphPosition position)
{
    m_position = position;
    update();
}

void NaviButton::setFlat(bool flat)
{
    m_flat = flat;
    update();
}

void NaviButton::layoutParts(QRect *glyphOut, QRect *captionOut) const
{
    const QRect area = rect().adjusted(2, 2, -2, -2);
    const QFontMetrics fm(font());
    const QSize ts = text().isEmpty()
                         ? QSize(0, 0)
                         : fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, this->text());
    const QSize gs = m_glyph.isNull() ? QSize(0, 0) : m_glyph.deviceIndependentSize().toSize();
    const bool both = !ts.isEmpty() && !gs.isEmpty();
    const bool across = m_position == GlyphPosition::Left || m_position == GlyphPosition::Right;
    const int gap = both ? kGap : 0;
    const QSize total = across
                            ? QSize(gs.width() + gap + ts.width(), qMax(gs.height(), ts.height()))
                            : QSize(qMax(gs.width(), ts.width()), gs.height() + gap + ts.height());
    const QPoint origin(area.x() + (area.width() - total.width()) / 2,
                        area.y() + (area.height() - total.height()) / 2);
    QRect g(QPoint(), gs);
    QRect t(QPoint(), ts);
    switch (m_position) {
    case GlyphPosition::Left:
        g.moveTopLeft(origin + QPoint(0, (total.height() - gs.height()) / 2));
        t.moveTopLeft(origin + QPoint(gs.width() + gap, (total.height() - ts.height()) / 2));
        break;
    case GlyphPosition::Right:
        t.moveTopLeft(origin + QPoint(0, (total.height() - ts.height()) / 2));
        g.moveTopLeft(origin + QPoint(ts.width() + gap, (total.height() - gs.height()) / 2));
        break;
    case GlyphPosition::Top:
        g.moveTopLeft(origin + QPoint((total.width() - gs.width()) / 2, 0));
        t.moveTopLeft(origin + QPoint((total.width() - ts.width()) / 2, gs.height() + gap));
        break;
    case GlyphPosition::Bottom:
        t.moveTopLeft(origin + QPoint((total.width() - ts.width()) / 2, 0));
        g.moveTopLeft(origin + QPoint((total.width() - gs.width()) / 2, ts.height() + gap));
        break;
    }
    if (glyphOut)
        *glyphOut = g;
    if (captionOut)
        *captionOut = t;
}

QRect NaviButton::glyphRect() const
{
    QRect g;
    layoutParts(&g, nullptr);
    return g;
}

QRect NaviButton::captionRect() const
{
    QRect t;
    layoutParts(nullptr, &t);
    return t;
}

QSize NaviButton::sizeHint() const
{
    return QSize(45, 40);
}

QSize NaviButton::minimumSizeHint() const
{
    return QSize(16, 16);
}

void NaviButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void NaviButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void NaviButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    if (!m_flat || m_hovered || isDown())
        style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
    QRect g;
    QRect t;
    layoutParts(&g, &t);
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    if (!m_glyph.isNull()) {
        if (isEnabled()) {
            p.drawPixmap(g.topLeft() + shift, m_glyph);
        } else {
            const QPixmap grey = style()->generatedIconPixmap(QIcon::Disabled, m_glyph, &opt);
            p.drawPixmap(g.topLeft() + shift, grey);
        }
    }
    if (!text().isEmpty()) {
        QPalette pal = palette();
        if (m_captionColor.isValid())
            pal.setColor(QPalette::ButtonText, m_captionColor);
        style()->drawItemText(&p, t.translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic, pal,
                              isEnabled(), text(), QPalette::ButtonText);
    }
}
