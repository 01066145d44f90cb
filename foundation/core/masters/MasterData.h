#pragma once

#include "masters/MasterTexts.h"

#include <QString>
#include <QStringList>

class Database;
class SlipRecord;

// Registration of companies, trading partners and items from the slip being
// entered, and the item lookup by code. Every operation that touches the
// database (except the lookup, which reads through the form's connection)
// runs on a connection and transaction of its own, commits before it
// returns and shows the wait cursor meanwhile. User values always reach the
// statements as parameters.

// Kinds of COMPANY rows.
inline constexpr int kCompanyKind = 0;
inline constexpr int kTradingPartnerKind = 1;

// The slip columns of one item line, from its tag (10 x line + 1).
struct LineFields
{
    QString itemNameUpper, itemNameLower; // HINMEI_n1, HINMEI_n2
    QString itemCodeUpper, itemCodeLower; // CODE_n1, CODE_n2
    QString color, piecesPerCase, size, cases, unit;
    QString quantity, quantityDecimal;    // KAZU_n1, KAZU_n2
    QString costPrice, costPriceDecimals; // GENKA_n1, GENKA_n2
    QString sellingPrice;                 // URITANKA_n
    // The fourteen names in the order above.
    QStringList all() const;
};
LineFields LineFieldNames(int tag);

// The values of an item row as registered from a slip line.
struct ItemValues
{
    QString itemNameUpper, itemNameLower, itemCodeUpper, itemCodeLower;
    QString color, piecesPerCase, size, cases, unit;
    int costPrice = 0;
    QString costPriceDecimals;
    int sellingPrice = 0;
};

// The field the user leaves when looking up an item by its code.
class ItemCodeField
{
public:
    virtual ~ItemCodeField() = default;
    virtual int tag() const = 0;
    virtual QString text() const = 0;
    // Set when the user changed the text since the last lookup.
    virtual bool changed() const = 0;
    virtual void setChanged(bool changed) = 0;
    virtual void setFocusBack() = 0;
};

// Fills the line of the field's tag from the first item whose upper code is
// the code typed (within the slip's company when UseTanka is on). Checks the
// code's length against ItemCodeLen first: a wrong length is reported, the
// focus goes back and nothing is looked up. The lookup reads through the
// given (main) connection. Throws AppError "商品データを取得できません。"
// when the database fails.
void LookupItemByCode(Database &mainConnection, ItemCodeField &field, SlipRecord &record);

// Whether an item with these names and codes exists (within the company when
// UseTanka is on and a company code is given). Throws "Record Count Error".
bool ItemExists(const QString &itemNameUpper, const QString &itemNameLower,
                const QString &itemCodeUpper, const QString &companyCode,
                const QString &itemCodeLower);
// Overwrite or add the item; "データを更新しました。" / "新規に登録しました。".
// Throw "Update Error".
bool UpdateItem(const ItemValues &item, const QString &companyCode);
bool InsertItem(const ItemValues &item, const QString &companyCode);
// Registers the item of the line with the given tag: updates the existing
// item or inserts a new one. The lower name and code are empty in one-line
// programs.
void RegisterItemFromLine(const SlipRecord &record, int tag);

// Whether the company row exists; tells the user "既に登録済みです。" when it
// does. Throws "Record Count Error".
bool CompanyExists(const QString &name1, const QString &name2, const QString &code1, int kind,
                   const QString &code2);
// "新規に登録しました。"; throws "Insert Error".
bool InsertCompany(const QString &name1, const QString &name2, const QString &code1, int kind,
                   const QString &code2);
// Registers the slip's company/store (kCompanyKind) or trading partner
// (kTradingPartnerKind) unless it exists.
void RegisterCompanyFromSlip(const SlipRecord &record, int kind);

struct CompanyNames
{
    bool found = false;
    QString companyName;
    QString storeName;
};
// The names of the company/store row with that code; not found also when
// the database fails.
CompanyNames GetCompanyNames(const QString &code);
