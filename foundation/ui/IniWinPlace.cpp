#include "IniWinPlace.h"
#include "UiTexts.h"

#include "settings/IniFile.h"

#include <QEvent>
#include <QWidget>

namespace {

} // namespace

TIniWinPlace::TIniWinPlace(QObject *owner) : QObject(owner)
{
    for (QObject *o = owner; o; o = o->parent()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && w->isWindow()) {
            m_form = w;
            break;
        }
    }
    if (!m_form)
        throw EIniWinPlace(QString::fromUtf8(kNotOnForm));
    m_formName = m_form->objectName();
    m_frame = m_form->frameGeometry();
    m_form->installEventFilter(this);
}

TIniWinPlace::~TIniWinPlace()
{
    try {
        SavePlacement();
    } catch (...) {
        // A settings file that cannot be written loses the placement only.
    }
}

QString TIniWinPlace::section() const
{
    if (!m_sectionName.isEmpty())
        return m_sectionName;
    return m_form ? m_form->objectName() : m_formName;
}

bool TIniWinPlace::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::Close:
            m_frame = m_form->frameGeometry();
            m_formName = m_form->objectName();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TIniWinPlace::LoadPlacement()
{
    if (m_iniName.isEmpty() || !m_form)
        return;
    EnsureSettingsFile(m_iniName);
    const IniFile ini(m_iniName);
    const QString s = section();
    const QRect frame = m_form->frameGeometry();
    const QRect inner = m_form->geometry();
    const int left = ini.readInteger(s, QStringLiteral("Left"), frame.x());
    const int top = ini.readInteger(s, QStringLiteral("Top"), frame.y());
    const int width = ini.readInteger(s, QStringLiteral("Width"), frame.width());
    const int height = ini.readInteger(s, QStringLiteral("Height"), frame.height());
    m_form->move(left, top);
    // The file holds the outer frame; the window system sizes the inside.
    m_form->resize(qMax(1, width - (frame.width() - inner.width())),
                   qMax(1, height - (frame.height() - inner.height())));
    m_frame = m_form->frameGeometry();
}

void TIniWinPlace::SavePlacement()
{
    if (m_iniName.isEmpty())
        return;
    if (m_form)
        m_frame = m_form->frameGeometry();
    IniFile ini(m_iniName);
    const QString s = section();
    ini.writeInteger(s, QStringLiteral("Left"), m_frame.x());
    ini.writeInteger(s, QStringLiteral("Top"), m_frame.y());
    ini.writeInteger(s, QStringLiteral("Width"), m_frame.width());
    ini.writeInteger(s, QStringLiteral("Height"), m_frame.height());
    ini.save();
}
