#pragma once

#include "app/AppError.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class QWidget;

// Misuse of TIniWinPlace: it was not placed on a form.
class EIniWinPlace : public AppError
{
public:
    explicit EIniWinPlace(const QString &message) : AppError(message) {}
};

// Remembers a form's position and size in a settings file: LoadPlacement
// restores them, destruction writes them back. Keys "Left", "Top", "Width",
// "Height" of the outer frame, in the section SectionName (the form's name
// when empty).
class TIniWinPlace : public QObject
{
    Q_OBJECT
public:
    // The owner chain must lead to a form; otherwise EIniWinPlace.
    explicit TIniWinPlace(QObject *owner);
    ~TIniWinPlace() override;

    void setIniName(const QString &path) { m_iniName = path; }
    const QString &IniName() const { return m_iniName; }
    void setSectionName(const QString &section) { m_sectionName = section; }
    const QString &SectionName() const { return m_sectionName; }
    QWidget *form() const { return m_form; }

    void LoadPlacement();
    // Writes the placement now (destruction does it too).
    void SavePlacement();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString section() const;

    QString m_iniName;
    QString m_sectionName;
    QString m_formName;
    QPointer<QWidget> m_form;
    QRect m_frame; // last known outer frame, for saving after the form is gone
};
