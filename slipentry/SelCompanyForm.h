#pragma once

#include "PickerForm.h"

// The companies/stores (kind 0) or the trading partners (kind 1) of the
// company master, to choose one for the slip or to edit them in place.
class TSelCompanyForm : public TPickerForm
{
    Q_OBJECT
public:
    TSelCompanyForm(int kind, QWidget *parent = nullptr);

    int kind() const { return m_kind; }
    static constexpr int kMinimumWidth = 605;

protected:
    QString tableName() const override;
    QStringList conditions(QHash<QString, QVariant> &params) const override;
    void newRecord() override;

private:
    int m_kind;
};

// The chosen row of the company master.
struct CompanyChoice
{
    QString name1, name2, code1, code2;
};

// Shows the list of the kind positioned on the row whose CODE1 is code1.
// True when the user chose a row; choice then holds its four values. The
// changes made in the list are written whatever the answer.
bool SelectCompany(CompanyChoice &choice, int kind, QWidget *parent = nullptr);
