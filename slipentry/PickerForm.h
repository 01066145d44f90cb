#pragma once

#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Transaction.h"
#include "db/UpdateSql.h"
#include "ui/DBGrid.h"

#include <QDialog>
#include <QHash>
#include <QVariant>

class AppHints;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class TCaptionDBNavi;
class TIniWinPlace;

// The grid of a master list: in-place editing as list grids do it (Insert
// and Down past the last row start a new row, Ctrl+Delete deletes after a
// question, a new row left unchanged is dropped); double-click chooses.
class PickerGrid : public DBGrid
{
    Q_OBJECT
public:
    explicit PickerGrid(QWidget *parent = nullptr);
    // Whether the row being inserted was changed since it was started.
    void setNewRowTouched(bool touched) { m_newRowTouched = touched; }
    bool newRowTouched() const { return m_newRowTouched; }
    // Drops the row being inserted if nobody changed it; true when dropped.
    bool dropUntouchedNewRow();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_newRowTouched = false;
    bool m_dropping = false;
};

// What the company and item lists share: a connection of their own, the
// cached-update list of one master table with its update statements, the
// grid, a navigator with delete, post and cancel, ascending and descending
// order, OK and Cancel, the status bar with the hint, placement and column
// widths in the settings file, help context 15. Enter moves on as Tab does.
class TPickerForm : public QDialog
{
    Q_OBJECT
public:
    ~TPickerForm() override;

    EditableResultSet &query() { return m_query; }
    Database &IBDatabase1() { return m_database; }
    PickerGrid *DBGrid1() const { return m_grid; }
    TCaptionDBNavi *CaptionDBNavi1() const { return m_navi; }
    QPushButton *BitBtn1() const { return m_okBtn; }
    QPushButton *BitBtn2() const { return m_cancelBtn; }
    QRadioButton *S_SortRB() const { return m_ascending; }
    QRadioButton *K_SortRB() const { return m_descending; }
    QLabel *hintPanel() const { return m_hintPanel; }
    static constexpr int kHelpContext = 15;

    // Reopens the list ordered by the column list, in the chosen direction
    // (appended to the end of the list), back on the current row. Pending
    // changes are written first; false when the user cancelled the save
    // question (row and order stay) or the list is not open. Throws
    // "Data Open Error".
    bool openSorted(const QString &order);
    // Moves to the first row whose column equals the value; stays on the
    // first row when there is none, without reading the whole list to find
    // that out.
    bool positionOn(const QString &column, const QVariant &value);

    // Handlers.
    void DBGrid1DblClick();
    void DBGrid1TitleClick(const QString &field);

    void done(int result) override;

protected:
    // designedCaption follows the suite's prefix; section names the settings
    // sections of placement and column widths.
    TPickerForm(const QString &designedCaption, const QString &section, int minimumWidth,
                QWidget *parent);

    // Connects, opens the list in the default order and builds its update
    // statements; the last step of a list's creation. Throws "Data Open Error".
    void openList(const QString &order, const QString &table);
    // Restores the column widths saved for this list.
    void loadColumnWidths();

    // The table and the conditions the list shows, as lines "(COL = :P0)"
    // with their parameters.
    virtual QString tableName() const = 0;
    virtual QStringList conditions(QHash<QString, QVariant> &params) const = 0;
    // Defaults of a new row.
    virtual void newRecord() {}
    virtual bool allowInsert() const { return true; }

    QVBoxLayout *topArea() const { return m_top; }
    const QString &section() const { return m_section; }

    Database m_database;
    Transaction m_transaction;
    EditableResultSet m_query;
    UpdateSql m_updateSql;

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void updateOk();

    QString m_section;
    bool m_inNewRecord = false;
    QVBoxLayout *m_top = nullptr;
    PickerGrid *m_grid = nullptr;
    TCaptionDBNavi *m_navi = nullptr;
    QPushButton *m_okBtn = nullptr;
    QPushButton *m_cancelBtn = nullptr;
    QRadioButton *m_ascending = nullptr;
    QRadioButton *m_descending = nullptr;
    QLabel *m_hintPanel = nullptr;
    TIniWinPlace *m_place = nullptr;
    AppHints *m_hints = nullptr;
};
