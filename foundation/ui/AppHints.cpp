#include "AppHints.h"

#include "settings/Settings.h"
#include "settings/WinColor.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>

QString GetShortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString GetLongHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

AppHints::AppHints(QWidget *form, QLabel *statusPanel)
    : QObject(form), m_form(form), m_panel(statusPanel)
{
    applyHintColor();
    qApp->installEventFilter(this);
}

AppHints::~AppHints()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void AppHints::applyHintColor()
{
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipBase, WinColorToQColor(settings().HintColor));
    QToolTip::setPalette(p);
}

bool AppHints::belongsToForm(QWidget *w) const
{
    return m_form && w && (w == m_form || m_form->isAncestorOf(w));
}

QString AppHints::hintOf(QWidget *w, QWidget *form)
{
    // A control without a hint of its own shows its parent's.
    for (; w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty())
            return w->toolTip();
        if (w == form)
            break;
    }
    return QString();
}

void AppHints::setCurrent(const QString &hint)
{
    m_current = GetShortHint(hint);
    if (m_panel)
        m_panel->setText(m_current);
}

bool AppHints::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto *w = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::Enter:
        if (belongsToForm(w))
            setCurrent(hintOf(w, m_form));
        break;
    case QEvent::Leave:
        if (w == m_form)
            setCurrent(QString());
        break;
    case QEvent::ToolTip:
        if (belongsToForm(w)) {
            const QString hint = GetShortHint(hintOf(w, m_form));
            if (!settings().HintShow || hint.isEmpty()) {
                QToolTip::hideText();
                event->ignore();
                return true;
            }
            auto *help = static_cast<QHelpEvent *>(event);
            QToolTip::showText(help->globalPos(), hint, w, QRect(), settings().HintTime);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AppHints::setStatusPanel(QLabel *panel)
{
    m_panel = panel;
}
