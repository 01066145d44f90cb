#include "CaptionDBNavi.h"
#include "UiTexts.h"

#include "app/Messages.h"
#include "db/EditableResultSet.h"
#include "db/IbFunc.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QMetaEnum>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const char *const kDefaultCaptions[TCaptionDBNavi::kButtonCount] = {
    "&First",  "&Prior", "&Next", "&Last",   "&Insert",
    "&Delete", "&Edit",  "&Post", "&Cancel", "&Refresh"};
const char *const kGlyphNames[TCaptionDBNavi::kButtonCount] = {
    "DB_FIRST",  "DB_PRIOR", "DB_NEXT", "DB_LAST",   "DB_INSERT",
    "DB_DELETE", "DB_EDIT",  "DB_POST", "DB_CANCEL", "DB_REFRESH"};

constexpr int kGlyphSize = 16;

QPixmap drawGlyph(const QString &name)
{
    QPixmap pm(kGlyphSize, kGlyphSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor arrow(0x1f, 0x3a, 0x7a);
    const QColor good(0x1e, 0x84, 0x2e);
    const QColor bad(0xc0, 0x1c, 0x1c);
    auto triangle = [&](bool left, qreal x) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 6, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 6, 13);
        } else {
            path.moveTo(x, 3);
            path.lineTo(x + 6, 8);
            path.lineTo(x, 13);
        }
        path.closeSubpath();
        p.fillPath(path, arrow);
    };
    if (name == QLatin1String("DB_FIRST")) {
        p.fillRect(QRectF(3, 3, 2, 10), arrow);
        triangle(true, 6);
    } else if (name == QLatin1String("DB_PRIOR")) {
        triangle(true, 5);
    } else if (name == QLatin1String("DB_NEXT")) {
        triangle(false, 5);
    } else if (name == QLatin1String("DB_LAST")) {
        triangle(false, 4);
        p.fillRect(QRectF(11, 3, 2, 10), arrow);
    } else if (name == QLatin1String("DB_INSERT")) {
        p.fillRect(QRectF(7, 3, 2, 10), good);
        p.fillRect(QRectF(3, 7, 10, 2), good);
    } else if (name == QLatin1String("DB_DELETE")) {
        p.fillRect(QRectF(3, 7, 10, 2), bad);
    } else if (name == QLatin1String("DB_EDIT")) {
        p.setPen(QPen(arrow, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.setPen(QPen(bad, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(11, 5), QPointF(13, 3));
    } else if (name == QLatin1String("DB_POST")) {
        p.setPen(QPen(good, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{QPointF(3, 8), QPointF(6.5, 12), QPointF(13, 4)});
    } else if (name == QLatin1String("DB_CANCEL")) {
        p.setPen(QPen(bad, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    } else if (name == QLatin1String("DB_REFRESH")) {
        p.setPen(QPen(arrow, 1.8));
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(8, 0.5);
        head.lineTo(11.5, 3);
        head.lineTo(8, 5.5);
        head.closeSubpath();
        p.fillPath(head, arrow);
    }
    return pm;
}

} // namespace

QString TCaptionDBNavi::defaultCaption(NavigateBtn button)
{
    return QLatin1String(kDefaultCaptions[button]);
}

QString TCaptionDBNavi::glyphName(NavigateBtn button)
{
    return QLatin1String(kGlyphNames[button]);
}

QPixmap TCaptionDBNavi::defaultGlyph(const QString &name)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, drawGlyph(name));
    return *it;
}

TCaptionDBNavi::TCaptionDBNavi(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kButtonCount; ++i) {
        auto *b = new NaviButton(i, this);
        // Named after its button kind (nbInsert ...), for scripts and tests.
        b->setObjectName(QString::fromLatin1(QMetaEnum::fromType<NavigateBtn>().valueToKey(i)));
        b->installEventFilter(this);
        connect(b, &QAbstractButton::clicked, this,
                [this, i] { BtnClick(static_cast<NavigateBtn>(i)); });
        layout->addWidget(b);
        m_buttons[i] = b;
    }
    resize(451, 40);
    applyCaptions();
    applyGlyphs();
    setCaptionLayout(cbBottom);
    setFontColor(palette().color(QPalette::ButtonText));
    updateButtons();
}

void TCaptionDBNavi::setDataSet(EditableResultSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &EditableResultSet::stateChanged, this, &TCaptionDBNavi::updateButtons);
        connect(m_dataSet, &EditableResultSet::recordDataChanged, this, [this](const QString &f) {
            if (f.isEmpty())
                updateButtons();
        });
        connect(m_dataSet, &QAbstractItemModel::rowsInserted, this, &TCaptionDBNavi::updateButtons);
        connect(m_dataSet, &QAbstractItemModel::rowsRemoved, this, &TCaptionDBNavi::updateButtons);
    }
    updateButtons();
}

void TCaptionDBNavi::applyCaptions()
{
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setText(m_showCaption ? defaultCaption(NavigateBtn(i)) : QString());
    if (!m_showCaption)
        return;
    for (int i = 0; i < qMin<int>(kButtonCount, m_captions.size()); ++i) {
        if (!m_captions.at(i).isEmpty())
            m_buttons[i]->setText(m_captions.at(i));
    }
}

void TCaptionDBNavi::applyGlyphs()
{
    for (int i = 0; i < kButtonCount; ++i) {
        if (!m_showGlyph)
            m_buttons[i]->setGlyph(QPixmap());
        else if (!m_custom[i].isNull())
            m_buttons[i]->setGlyph(m_custom[i]);
        else
            m_buttons[i]->setGlyph(defaultGlyph(glyphName(NavigateBtn(i))));
    }
}

void TCaptionDBNavi::Loaded()
{
    applyGlyphs();
    applyCaptions();
}

void TCaptionDBNavi::setCaptions(const QStringList &captions)
{
    m_captions = captions;
    applyCaptions();
    update();
}

void TCaptionDBNavi::setShowCaption(bool show)
{
    m_showCaption = show;
    applyCaptions();
    update();
}

void TCaptionDBNavi::setShowGlyph(bool show)
{
    m_showGlyph = show;
    applyGlyphs();
}

void TCaptionDBNavi::setBMP(NavigateBtn button, const QPixmap &bitmap)
{
    m_custom[button] = bitmap;
    if (m_showGlyph)
        m_buttons[button]->setGlyph(bitmap.isNull() ? defaultGlyph(glyphName(button)) : bitmap);
}

void TCaptionDBNavi::setCaptionLayout(TCaptionLayout layout)
{
    m_layout = layout;
    static const NaviButton::GlyphPosition positions[] = {
        NaviButton::GlyphPosition::Left, NaviButton::GlyphPosition::Right,
        NaviButton::GlyphPosition::Top, NaviButton::GlyphPosition::Bottom};
    for (NaviButton *b : m_buttons)
        b->setGlyphPosition(positions[layout]);
    update();
}

void TCaptionDBNavi::setNaviBorders(TNaviBorders borders)
{
    m_borders = borders;
    update();
}

void TCaptionDBNavi::setBackBitmap(const QPixmap &bitmap)
{
    m_backBitmap = bitmap;
    if (!bitmap.isNull()) {
        QPalette p = palette();
        p.setColor(QPalette::Window, p.color(QPalette::Button));
        setPalette(p);
    }
    update();
}

void TCaptionDBNavi::setFontColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::ButtonText, color);
    setPalette(p);
    for (NaviButton *b : m_buttons)
        b->setCaptionColor(color);
}

QColor TCaptionDBNavi::fontColor() const
{
    return palette().color(QPalette::ButtonText);
}

void TCaptionDBNavi::setVisibleButtons(const QVector<NavigateBtn> &buttons)
{
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setVisible(buttons.contains(NavigateBtn(i)));
}

void TCaptionDBNavi::setHints(const QStringList &hints)
{
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setToolTip(hints.value(i));
}

void TCaptionDBNavi::setFlat(bool flat)
{
    m_flat = flat;
    for (NaviButton *b : m_buttons)
        b->setFlat(flat);
    update();
}

void TCaptionDBNavi::updateButtons()
{
    EditableResultSet *set = m_dataSet;
    const bool active = set && set->active();
    const bool editing = active && set->editing();
    const bool canModify = active && set->canModify();
    const bool up = active && !set->bof();
    const bool down = active && !set->eof();
    const bool enabled[kButtonCount] = {
        up,
        up,
        down,
        down,
        canModify,
        canModify && !set->isEmpty(),
        canModify && !editing,
        canModify && editing,
        canModify && editing,
        active,
    };
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setEnabled(enabled[i]);
}

void TCaptionDBNavi::BtnClick(NavigateBtn button)
{
    m_aborted = false;
    emit BeforeAction(button);
    const bool aborted = m_aborted;
    m_aborted = false;
    if (aborted || !m_dataSet)
        return;
    EditableResultSet &set = *m_dataSet;
    switch (button) {
    case nbFirst:
        set.First();
        break;
    case nbPrior:
        set.Prior();
        break;
    case nbNext:
        set.Next();
        break;
    case nbLast:
        set.Last();
        break;
    case nbInsert:
        set.Insert();
        break;
    case nbDelete:
        if (!m_confirmDelete ||
            Messages::show(MsgType::Confirmation, QString::fromUtf8(kDeleteQuestion),
                           MsgButton::Ok | MsgButton::Cancel) == MsgResult::Ok)
            set.Delete();
        break;
    case nbEdit:
        set.Edit();
        break;
    case nbPost:
        set.Post();
        break;
    case nbCancel:
        set.Cancel();
        break;
    case nbRefresh:
        if (set.hasColumn(QStringLiteral("ID")))
            ReopenAndLocate(set, QStringLiteral("ID"), set.value(QStringLiteral("ID")), false);
        else
            ReopenDataSet(set, false);
        break;
    }
    updateButtons();
}

void TCaptionDBNavi::hover(int index)
{
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[i]->setCaptionColor(i == index ? m_moveColor : fontColor());
}

bool TCaptionDBNavi::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        auto *b = qobject_cast<NaviButton *>(watched);
        if (b && b->isEnabled()) {
            auto *me = static_cast<QMouseEvent *>(event);
            hover(b->index());
            const QPoint p = b->mapTo(this, me->position().toPoint());
            emit OnMouseMove(me->modifiers(), p.x(), p.y(), NavigateBtn(b->index()));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCaptionDBNavi::mouseMoveEvent(QMouseEvent *event)
{
    // Movement over a disabled button arrives here: report the button, but
    // leave the captions as they are.
    const QPoint p = event->position().toPoint();
    for (NaviButton *b : m_buttons) {
        if (b->isVisible() && !b->isEnabled() && b->geometry().contains(p)) {
            emit OnMouseMove(event->modifiers(), p.x(), p.y(), NavigateBtn(b->index()));
            break;
        }
    }
    QWidget::mouseMoveEvent(event);
}

void TCaptionDBNavi::leaveEvent(QEvent *event)
{
    hover(-1);
    QWidget::leaveEvent(event);
}

void TCaptionDBNavi::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Paint(painter);
}

void TCaptionDBNavi::Paint(QPainter &p)
{
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_flat)
        return;
    const int w = width();
    const int h = height();
    if (!m_backBitmap.isNull()) {
        const int tw = m_backBitmap.width();
        const int th = m_backBitmap.height();
        for (int row = 0; row < h / th + 1; ++row) {
            for (int col = 0; col < w / tw + 1; ++col)
                p.drawPixmap(col * tw, row * th, m_backBitmap);
        }
    }
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    auto line = [&](const QColor &c, int x1, int y1, int x2, int y2) {
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
    };
    switch (m_borders) {
    case nbNone:
        break;
    case nbFrame:
        // An etched frame: highlight one pixel in, shadow on the edge.
        p.setPen(light);
        p.drawRect(1, 1, w - 3, h - 3);
        p.setPen(dark);
        p.drawRect(0, 0, w - 3, h - 3);
        break;
    case nbTopBottom:
        line(dark, 0, 0, w - 1, 0);
        line(light, 0, 1, w - 1, 1);
        line(dark, 0, h - 2, w - 1, h - 2);
        line(light, 0, h - 1, w - 1, h - 1);
        break;
    case nbLeftRight:
        line(dark, 0, 0, 0, h - 1);
        line(light, 1, 0, 1, h - 1);
        line(dark, w - 2, 0, w - 2, h - 1);
        line(light, w - 1, 0, w - 1, h - 1);
        break;
    }
}
