#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

// The short part of a hint ("short|long"): what tooltips and the status bar
// show.
QString GetShortHint(const QString &hint);
// The long part, or the whole hint when it has no "|".
QString GetLongHint(const QString &hint);

// Hints of one form as the settings ask: shown at all only with HintShow, in
// the colour HintColor, for HintTime milliseconds; the short hint of the
// control under the pointer goes into a status bar panel whether or not
// hints are shown.
class AppHints : public QObject
{
    Q_OBJECT
public:
    explicit AppHints(QWidget *form, QLabel *statusPanel = nullptr);
    ~AppHints() override;

    void setStatusPanel(QLabel *panel);
    // The hint now shown in the panel.
    QString currentHint() const { return m_current; }
    // Applies HintColor to every hint window of the program.
    static void applyHintColor();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToForm(QWidget *w) const;
    static QString hintOf(QWidget *w, QWidget *form);
    void setCurrent(const QString &hint);

    QPointer<QWidget> m_form;
    QPointer<QLabel> m_panel;
    QString m_current;
};
