#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class AppHints;
class DBGrid;
class EditableResultSet;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class TCaptionDBNavi;
class TIniWinPlace;

// The list of saved slips over the slip form's own result set: moving in the
// list moves the form; print marks are set and cleared here, slips deleted
// and the form's order changed. Browse mode closes with 閉じる; print mode
// confirms printing with OK.
class TSelDataForm : public QDialog
{
    Q_OBJECT
public:
    TSelDataForm(EditableResultSet &dataSet, bool printMode, int helpContext,
                 QWidget *parent = nullptr);
    ~TSelDataForm() override;

    bool printMode() const { return m_printMode; }
    int helpContext() const { return m_helpContext; }

    DBGrid *DBGrid1() const { return m_grid; }
    TCaptionDBNavi *CaptionDBNavi1() const { return m_navi; }
    QRadioButton *S_SortRB() const { return m_ascending; }
    QRadioButton *K_SortRB() const { return m_descending; }
    QPushButton *BitBtn1() const { return m_okBtn; }
    QPushButton *BitBtn2() const { return m_toggleBtn; }
    QPushButton *BitBtn3() const { return m_cancelBtn; }
    QMenu *PopupMenu1() const { return m_menu; }
    QAction *setMarkItem() const { return m_setMark; }
    QAction *clearMarkItem() const { return m_clearMark; }
    QAction *setAllItem() const { return m_setAll; }
    QAction *clearAllItem() const { return m_clearAll; }
    QAction *closeItem() const { return m_closeItem; }
    QLabel *hintPanel() const { return m_hintPanel; }
    bool menuOffered() const { return m_menuOffered; }

    // What a cell of the list shows: the mark column as "○", "×" or nothing,
    // every cell of a marked slip in red.
    static QString markText(const QVariant &mark);
    static bool markedRow(const EditableResultSet &set, int row);

    // Handlers.
    void DBGrid1DblClick();
    void N4Click(int target); // all marks to 1 or 0
    void PopupMenu1Popup();
    void DBGrid1TitleClick(const QString &field);
    void Pop_CloseClick();

    void done(int result) override;

private:
    void runMarkChange(const std::function<void()> &change);

    EditableResultSet &m_set;
    bool m_printMode;
    int m_helpContext;
    bool m_menuOffered = false;
    DBGrid *m_grid = nullptr;
    TCaptionDBNavi *m_navi = nullptr;
    QRadioButton *m_ascending = nullptr;
    QRadioButton *m_descending = nullptr;
    QPushButton *m_toggleBtn = nullptr;
    QPushButton *m_cancelBtn = nullptr;
    QPushButton *m_okBtn = nullptr;
    QLabel *m_hintPanel = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_setMark = nullptr;
    QAction *m_clearMark = nullptr;
    QAction *m_setAll = nullptr;
    QAction *m_clearAll = nullptr;
    QAction *m_closeItem = nullptr;
    TIniWinPlace *m_place = nullptr;
    AppHints *m_hints = nullptr;
};

// Shows the list modally over the given result set; true when it closed with
// OK (print mode only).
bool SelectSavedData(EditableResultSet &dataSet, bool printMode, int helpContext,
                     QWidget *parent = nullptr);
