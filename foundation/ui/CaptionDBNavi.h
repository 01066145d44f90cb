#pragma once

#include "NaviButton.h"

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "db/EditableResultSet.h"

// A data navigator whose buttons carry captions next to their glyphs, with
// replaceable glyphs, a hover colour for the caption under the mouse, and in
// flat style a tiled background and etched borders.
class TCaptionDBNavi : public QWidget
{
    Q_OBJECT
public:
    enum NavigateBtn
    {
        nbFirst,
        nbPrior,
        nbNext,
        nbLast,
        nbInsert,
        nbDelete,
        nbEdit,
        nbPost,
        nbCancel,
        nbRefresh,
    };
    Q_ENUM(NavigateBtn)
    static constexpr int kButtonCount = 10;

    enum TCaptionLayout
    {
        cbLeft,
        cbRight,
        cbTop,
        cbBottom,
    };
    enum TNaviBorders
    {
        nbNone,
        nbFrame,
        nbTopBottom,
        nbLeftRight,
    };

    explicit TCaptionDBNavi(QWidget *parent = nullptr);

    void setDataSet(EditableResultSet *dataSet);
    EditableResultSet *dataSet() const { return m_dataSet; }

    void setCaptions(const QStringList &captions);
    const QStringList &Captions() const { return m_captions; }
    void setShowCaption(bool show);
    bool ShowCaption() const { return m_showCaption; }
    void setShowGlyph(bool show);
    bool ShowGlyph() const { return m_showGlyph; }
    void setCaptionLayout(TCaptionLayout layout);
    TCaptionLayout CaptionLayout() const { return m_layout; }
    void setOnMoveColor(const QColor &color) { m_moveColor = color; }
    const QColor &OnMoveColor() const { return m_moveColor; }
    void setNaviBorders(TNaviBorders borders);
    TNaviBorders NaviBorders() const { return m_borders; }
    void setBackBitmap(const QPixmap &bitmap);
    const QPixmap &BackBitmap() const { return m_backBitmap; }
    // The caption colour of buttons not under the mouse.
    void setFontColor(const QColor &color);
    QColor fontColor() const;

    // Custom glyphs; an empty bitmap gives the button its default glyph.
    void setBMP(NavigateBtn button, const QPixmap &bitmap);
    const QPixmap &BMP(NavigateBtn button) const { return m_custom[button]; }
    void setBMPFirst(const QPixmap &b) { setBMP(nbFirst, b); }
    void setBMPPrior(const QPixmap &b) { setBMP(nbPrior, b); }
    void setBMPNext(const QPixmap &b) { setBMP(nbNext, b); }
    void setBMPLast(const QPixmap &b) { setBMP(nbLast, b); }
    void setBMPInsert(const QPixmap &b) { setBMP(nbInsert, b); }
    void setBMPDelete(const QPixmap &b) { setBMP(nbDelete, b); }
    void setBMPEdit(const QPixmap &b) { setBMP(nbEdit, b); }
    void setBMPPost(const QPixmap &b) { setBMP(nbPost, b); }
    void setBMPCancel(const QPixmap &b) { setBMP(nbCancel, b); }
    void setBMPRefresh(const QPixmap &b) { setBMP(nbRefresh, b); }

    void setVisibleButtons(const QVector<NavigateBtn> &buttons);
    // One hint per button, in button order.
    void setHints(const QStringList &hints);
    void setFlat(bool flat);
    bool flat() const { return m_flat; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }
    bool confirmDelete() const { return m_confirmDelete; }

    // Applies glyphs, captions and custom glyphs after the form set them.
    void Loaded();
    NaviButton *button(NavigateBtn button) const { return m_buttons[button]; }
    // Runs a button's action as a click does: BeforeAction first.
    void BtnClick(NavigateBtn button);
    // A BeforeAction handler calls this to refuse the action.
    void abort() { m_aborted = true; }

    static QString defaultCaption(NavigateBtn button);
    // The default glyph images "DB_FIRST" ... "DB_REFRESH".
    static QString glyphName(NavigateBtn button);
    static QPixmap defaultGlyph(const QString &name);

    QSize sizeHint() const override { return QSize(451, 40); }

signals:
    void BeforeAction(TCaptionDBNavi::NavigateBtn button);
    // Pointer movement over the navigator, in its coordinates, with the
    // button under the pointer.
    void OnMouseMove(Qt::KeyboardModifiers shift, int x, int y, TCaptionDBNavi::NavigateBtn button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyCaptions();
    void applyGlyphs();
    void updateButtons();
    void hover(int index);
    void Paint(QPainter &painter);

    QPointer<EditableResultSet> m_dataSet;
    NaviButton *m_buttons[kButtonCount];
    QPixmap m_custom[kButtonCount];
    QStringList m_captions;
    bool m_showCaption = true;
    bool m_showGlyph = true;
    TCaptionLayout m_layout = cbBottom;
    QColor m_moveColor = Qt::blue;
    TNaviBorders m_borders = nbFrame;
    QPixmap m_backBitmap;
    bool m_flat = false;
    bool m_confirmDelete = true;
    bool m_aborted = false;
};
