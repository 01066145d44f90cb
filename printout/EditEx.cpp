#include "EditEx.h"

#include <QKeyEvent>

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

TEditEx::TEditEx(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (m_separators)
            separate();
    });
}

QString TEditEx::plainText() const
{
    QString t = text();
    if (m_separators)
        t.remove(QLatin1Char(','));
    return t;
}

void TEditEx::separate()
{
    QString digits = plainText();
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    if (negative)
        out.prepend(QLatin1Char('-'));
    if (out != text())
        setText(out);
}

void TEditEx::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TEditEx::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    if (!m_selectedOnShow) {
        m_selectedOnShow = true;
        selectAll();
    }
}

TUpDown::TUpDown(QWidget *parent) : QWidget(parent)
{
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    for (QToolButton *b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setFixedWidth(16);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &TUpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &TUpDown::stepDown);
}

void TUpDown::setAssociate(TEditEx *edit)
{
    if (m_edit)
        m_edit->removeEventFilter(this);
    m_edit = edit;
    if (m_edit) {
        m_edit->installEventFilter(this);
        m_edit->setText(QString::number(m_position));
    }
}

void TUpDown::setRange(int min, int max)
{
    m_min = min;
    m_max = max;
    setPosition(m_position);
}

int TUpDown::position() const
{
    if (!m_edit)
        return m_position;
    bool ok = false;
    const int v = m_edit->plainText().trimmed().toInt(&ok);
    // What the user typed counts; what is not a number leaves the last position.
    return ok ? std::clamp(v, m_min, m_max) : m_position;
}

void TUpDown::setPosition(int value)
{
    m_position = std::clamp(value, m_min, m_max);
    if (m_edit)
        m_edit->setText(QString::number(m_position));
    emit positionChanged(m_position);
}

void TUpDown::step(int delta)
{
    int next = position() + delta;
    if (next > m_max)
        next = m_wrap ? m_min : m_max;
    else if (next < m_min)
        next = m_wrap ? m_max : m_min;
    setPosition(next);
    if (m_edit && m_edit->hasFocus())
        m_edit->selectAll();
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
