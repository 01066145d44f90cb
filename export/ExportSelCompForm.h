#pragma once

#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Transaction.h"

#include <QDialog>

class DBGrid;
class QLabel;
class QPushButton;
class QRadioButton;
class TIniWinPlace;

// The company/store picker of the export: the distinct company and store
// pairs of the stored slips, sortable by either column, on a connection of
// its own while it is open.
class TExportSelCompForm : public QDialog
{
    Q_OBJECT
public:
    explicit TExportSelCompForm(QWidget *parent = nullptr);
    ~TExportSelCompForm() override;

    // Lists the pairs ordered by a column, in the direction the radio buttons
    // choose; a failure shows "Data Open Error" and leaves the list empty.
    void OpenSorted(const QString &column);
    // Makes the pair current; stays on the first row when it is not listed.
    void positionOn(const QString &company, const QString &store);
    QString currentCompany() const;
    QString currentStore() const;

    DBGrid *DBGrid1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QRadioButton *S_SortRB = nullptr;
    QRadioButton *K_SortRB = nullptr;
    QLabel *StatusPanel2 = nullptr;
    EditableResultSet &dataSet() { return m_set; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void DSCompanyDataChange();

    Database m_database;
    Transaction m_transaction;
    EditableResultSet m_set;
    TIniWinPlace *m_place = nullptr;
};

// Opens the picker on the given pair; on OK the chosen pair is returned
// through the arguments.
bool SelectExportCompany(QWidget *parent, QString &companyName, QString &storeName);
