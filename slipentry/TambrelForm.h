#pragma once

#include "SlipEditTable.h"
#include "SlipType.h"
#include "db/EditableResultSet.h"
#include "db/UpdateSql.h"
#include "ui/CaptionDBNavi.h"
#include "ui/ConnectedMainWindow.h"

#include <QHash>
#include <QVector>

class AppHints;
class DBCheckBox;
class DBEdit;
class QLabel;
class QMenu;
class QAction;
class QPushButton;

// The slip entry form of one slip type: the slip picture with the type's
// edits over its boxes, bound to the slip table through a cached-update
// result set; navigators, the saved-slip list and the hand-over to the
// print-out program.
class TambrelForm : public ConnectedMainWindow
{
    Q_OBJECT
public:
    // picturePath: the program's first argument (may be empty). The edit
    // table is read from FormEdits/ in programFolder (the program's own
    // folder when empty).
    TambrelForm(SlipType type, const QString &picturePath, QWidget *parent = nullptr,
                const QString &programFolder = {});
    ~TambrelForm() override;

    SlipType slipType() const { return m_type; }
    const QString &picturePath() const { return m_picturePath; }
    int helpContext() const;
    const SlipEditTable &editTable() const { return m_table; }

    EditableResultSet &IBQueryTambrel() { return m_query; }
    UpdateSql &IBUpdateSQL1() { return m_updateSql; }

    // The slip edits in tab order, and one by component name.
    const QVector<DBEdit *> &slipEdits() const { return m_edits; }
    DBEdit *slipEdit(const QString &name) const { return m_editByName.value(name); }
    const SlipEditDef *editDef(const DBEdit *edit) const;

    QLabel *Image1() const { return m_image; }
    TCaptionDBNavi *CaptionDBNavi1() const { return m_navi1; }
    TCaptionDBNavi *CaptionDBNavi2() const { return m_navi2; }
    DBCheckBox *DBCheckBox1() const { return m_printCheck; }
    QPushButton *SelDataBtn() const { return m_selDataBtn; }
    QPushButton *PrintBtn() const { return m_printBtn; }
    QPushButton *BitBtn1() const { return m_exitBtn; }
    QLabel *helpPanel() const { return m_helpPanel; }
    QLabel *hintPanel() const { return m_hintPanel; }
    // The right-click menus of the slip edits, filled by the field actions.
    QMenu *PopupMenu1() const { return m_menuItem; }
    QMenu *PopupMenu2() const { return m_menuCompany; }
    QMenu *PopupMenu3() const { return m_menuPartner; }
    QMenu *PopupMenuCD() const { return m_menuCheckDigit; }
    QMenu *menuFor(SlipFieldMenu menu) const;
    // Holds the Ctrl+S and Ctrl+Insert items; never pops up.
    QMenu *PopupMenuDataSet() const { return m_menuDataSet; }
    // Whether Ctrl+S and Ctrl+Insert work in this type.
    bool dataSetShortcuts() const;

    // The program the print button hands the marked slips to ("TambrelOut",
    // looked up beside this program, then on the PATH).
    void setPrintProgram(const QString &program) { m_printProgram = program; }
    const QString &printProgram() const { return m_printProgram; }
    // The slip type display name the print button passes on.
    QString printDisplayName() const;

    // Event handlers, public so the field actions and tests reach them as the
    // events do.
    void IBQueryTambrelNewRecord();
    void IBQueryTambrelBeforePost();
    void IBQueryTambrelBeforeCancel();
    void DSTambrelStateChange();
    void CaptionDBNavi1BeforeAction(TCaptionDBNavi::NavigateBtn button);
    void SelDataBtnClick();
    void PrintBtnClick();
    void N5Click(); // Ctrl+S: post
    void N6Click(); // Ctrl+Insert: append

    // Writes what the focused edit holds and moves the focus to the first
    // control, as the navigator, the list and printing do first.
    void focusFirstControl();
    QWidget *firstControl() const;

signals:
    // Seams of the field actions: a double-click on a slip edit, and the
    // focus leaving one (after its text reached the column).
    void fieldDoubleClicked(DBEdit *edit, SlipFieldClick action);
    void fieldExited(DBEdit *edit, SlipFieldExit action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildScreen();
    void buildEdits(QWidget *client);
    void buildControls(QWidget *client, int top);
    void buildMenus();
    void loadPicture();
    void openTable();
    bool handleKey(QKeyEvent *event);
    bool isDataSetKey(const QKeyEvent *event, bool *post) const;

    SlipType m_type;
    QString m_picturePath;
    QString m_programFolder;
    SlipEditTable m_table;
    EditableResultSet m_query;
    UpdateSql m_updateSql;
    QString m_reservedNumber; // the slip number the new slip holds, if any
    QString m_printProgram = QStringLiteral("TambrelOut");
    bool m_centred = false;

    QWidget *m_client = nullptr;
    QLabel *m_image = nullptr;
    QVector<DBEdit *> m_edits;
    QHash<QString, DBEdit *> m_editByName;
    QHash<const DBEdit *, int> m_defIndex;
    TCaptionDBNavi *m_navi1 = nullptr;
    TCaptionDBNavi *m_navi2 = nullptr;
    DBCheckBox *m_printCheck = nullptr;
    QPushButton *m_selDataBtn = nullptr;
    QPushButton *m_printBtn = nullptr;
    QPushButton *m_exitBtn = nullptr;
    QLabel *m_helpPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QMenu *m_menuItem = nullptr;
    QMenu *m_menuCompany = nullptr;
    QMenu *m_menuPartner = nullptr;
    QMenu *m_menuCheckDigit = nullptr;
    QMenu *m_menuDataSet = nullptr;
    QAction *m_postAction = nullptr;
    QAction *m_appendAction = nullptr;
    AppHints *m_hints = nullptr;
};
