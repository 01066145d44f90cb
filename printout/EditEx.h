#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

// A single-line edit with settable alignment that selects all of its text
// when its window is shown and swallows Enter, so Tab moves on as in a
// dialog. It can show thousands separators while typing; text() of the
// number then comes without them.
class TEditEx : public QLineEdit
{
    Q_OBJECT
public:
    explicit TEditEx(QWidget *parent = nullptr);

    void setThousandsSeparators(bool on) { m_separators = on; }
    bool thousandsSeparators() const { return m_separators; }
    // The text without separators.
    QString plainText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void separate();

    bool m_separators = false;
    bool m_selectedOnShow = false;
};

// The up-down beside an edit: steps the number the edit shows within a
// range, wrapping from the top to the bottom and back. The arrow keys in
// the edit step it too.
class TUpDown : public QWidget
{
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    void setAssociate(TEditEx *edit);
    void setRange(int min, int max);
    void setWrap(bool wrap) { m_wrap = wrap; }
    int min() const { return m_min; }
    int max() const { return m_max; }
    // The number the edit shows, kept within the range.
    int position() const;
    void setPosition(int value);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

public slots:
    void stepUp() { step(1); }
    void stepDown() { step(-1); }

signals:
    void positionChanged(int value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(int delta);

    TEditEx *m_edit = nullptr;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    bool m_wrap = false;
};
