#pragma once

#include "PickerForm.h"

class QFrame;
class QLabel;
class QPushButton;

// The item master, to choose an item for a slip line or to edit items in
// place; with UseTanka only the items of one company/store (the filter),
// which the bar above the list shows and changes. New rows are refused:
// items come from the slip's registration.
class TSelItemForm : public TPickerForm
{
    Q_OBJECT
public:
    // companyFilter: a company/store code, empty for all items.
    TSelItemForm(const QString &companyFilter, QWidget *parent = nullptr);

    const QString &companyFilter() const { return m_filter; }
    QFrame *UseTankaPanel() const { return m_panel; }
    QLabel *Label1() const { return m_label; }
    QPushButton *SpeedButton1() const { return m_chooseCompany; }
    QPushButton *SpeedButton2() const { return m_allItems; }
    static constexpr int kMinimumWidth = 651;
    static constexpr const char *kDefaultOrder = "HINMEI1,CODE1";

    // Handlers: choose the company whose items are shown; show all items.
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    QString tableName() const override;
    QStringList conditions(QHash<QString, QVariant> &params) const override;
    bool allowInsert() const override { return false; }

private:
    bool filtered() const;

    QString m_filter;
    QFrame *m_panel = nullptr;
    QLabel *m_label = nullptr;
    QPushButton *m_chooseCompany = nullptr;
    QPushButton *m_allItems = nullptr;
};

// The chosen item's values, as the slip line takes them.
struct ItemChoice
{
    QString name1, name2, code1, code2;
    QString color, piecesPerCase, size, cases, unit;
    int quantity = 0;
    QString quantityDecimal;
    int costPrice = 0;
    QString costPriceDecimals;
    int sellingPrice = 0;
};

// Shows the item list positioned on the item named name1, filtered by the
// company code when UseTanka is on. True when the user chose an item; choice
// then holds its values and the list's changes are written, otherwise they
// are dropped.
bool SelectItem(const QString &name1, const QString &companyCode, ItemChoice &choice,
                QWidget *parent = nullptr);
