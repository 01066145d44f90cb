#include "SlipFieldActions.h"

#include "CheckDigitCalcForm.h"
#include "SelCompanyForm.h"
#include "SelItemForm.h"
#include "SlipEntryTexts.h"
#include "TambrelForm.h"
#include "app/AppError.h"
#include "db/DbError.h"
#include "db/DbTexts.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "masters/MasterData.h"
#include "text/KivFunc.h"
#include "totals/ResultSetSlipRecord.h"
#include "totals/SlipTotals.h"
#include "ui/DBEdit.h"
#include "ui/DBEditItemLookup.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <functional>

using namespace SlipActionTexts;

namespace {

bool isLineTag(int tag)
{
    return tag >= 11 && tag <= 91;
}

// Writes a picker's choice into the slip; a failure on the way is "Data Set
// Error" and the columns written before it keep their values.
void writeChoice(EditableResultSet &query, const std::function<void()> &write)
{
    try {
        if (!query.Edit())
            throw AppError(QString::fromUtf16(kDataSetError));
        write();
    } catch (const AppError &e) {
        throw AppError(QString::fromUtf16(kDataSetError), e.message());
    } catch (const DbError &e) {
        throw AppError(QString::fromUtf16(kDataSetError), e.text());
    }
}

} // namespace

SlipFieldActions::SlipFieldActions(TambrelForm *form) : QObject(form), m_form(form)
{
    setObjectName(QStringLiteral("SlipFieldActions"));
    QMenu *items = form->PopupMenu1();
    m_chooseItem = addItem(items, kMenuItemChoose, kMenuItemChooseHint, "N2");
    items->addSeparator();
    m_registerItem = addItem(items, kMenuItemRegister, kMenuItemRegisterHint, "N1");
    QMenu *companies = form->PopupMenu2();
    m_chooseCompany = addItem(companies, kMenuMasterChoose, kMenuMasterChooseHint, "MenuItem1");
    companies->addSeparator();
    m_registerCompany =
        addItem(companies, kMenuMasterRegister, kMenuMasterRegisterHint, "MenuItem3");
    QMenu *partners = form->PopupMenu3();
    m_choosePartner = addItem(partners, kMenuMasterChoose, kMenuMasterChooseHint, "MenuItem4");
    partners->addSeparator();
    m_registerPartner =
        addItem(partners, kMenuMasterRegister, kMenuMasterRegisterHint, "MenuItem6");
    m_checkDigit = addItem(form->PopupMenuCD(), kMenuCheckDigit, kMenuCheckDigitHint, "N4");

    for (QMenu *menu : {items, companies, partners, form->PopupMenuCD()})
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { PopupMenuPopup(menu); });
    connect(m_chooseItem, &QAction::triggered, this,
            [this] { HINMEI_11DblClick(focusedSlipEdit()); });
    connect(m_registerItem, &QAction::triggered, this, [this] { N1Click(focusedSlipEdit()); });
    connect(m_chooseCompany, &QAction::triggered, this, &SlipFieldActions::CONADblClick);
    connect(m_registerCompany, &QAction::triggered, this, &SlipFieldActions::MenuItem3Click);
    connect(m_choosePartner, &QAction::triggered, this, &SlipFieldActions::TORIDblClick);
    connect(m_registerPartner, &QAction::triggered, this, &SlipFieldActions::MenuItem6Click);
    connect(m_checkDigit, &QAction::triggered, this, &SlipFieldActions::N4Click);
    connect(form, &TambrelForm::fieldDoubleClicked, this, &SlipFieldActions::onDoubleClick);
    connect(form, &TambrelForm::fieldExited, this, &SlipFieldActions::onExit);
}

QAction *SlipFieldActions::addItem(QMenu *menu, const char16_t *caption, const char16_t *hint,
                                   const char *name)
{
    QAction *action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(QString::fromUtf16(hint));
    action->setToolTip(QString::fromUtf16(hint));
    return action;
}

void SlipFieldActions::onDoubleClick(DBEdit *edit, SlipFieldClick action)
{
    switch (action) {
    case SlipFieldClick::Item:
        HINMEI_11DblClick(edit);
        break;
    case SlipFieldClick::Company:
        CONADblClick();
        break;
    case SlipFieldClick::Partner:
        TORIDblClick();
        break;
    case SlipFieldClick::CheckDigit:
        N4Click();
        break;
    case SlipFieldClick::None:
        break;
    }
}

void SlipFieldActions::onExit(DBEdit *edit, SlipFieldExit action)
{
    switch (action) {
    case SlipFieldExit::CompanyCode:
        COCOExit(edit);
        break;
    case SlipFieldExit::ItemCode:
        CODE_11Exit(edit);
        break;
    case SlipFieldExit::Quantity:
        KAZU_11Exit();
        break;
    case SlipFieldExit::CorrectedQuantity:
        KAZT_11Exit();
        break;
    case SlipFieldExit::None:
        break;
    }
}

DBEdit *SlipFieldActions::focusedSlipEdit() const
{
    auto *edit = qobject_cast<DBEdit *>(QApplication::focusWidget());
    return edit && m_form->editDef(edit) ? edit : nullptr;
}

bool SlipFieldActions::registerAllowed() const
{
    // A slip is registered as posted: never while it is being edited.
    const DBEdit *edit = focusedSlipEdit();
    return edit && m_form->IBQueryTambrel().state() == EditableResultSet::State::Browse &&
           !TrimWide(edit->text()).isEmpty();
}

void SlipFieldActions::PopupMenuPopup(QMenu *menu)
{
    const bool allowed = registerAllowed();
    if (menu == m_form->PopupMenu1())
        m_registerItem->setEnabled(allowed);
    else if (menu == m_form->PopupMenu2())
        m_registerCompany->setEnabled(allowed);
    else if (menu == m_form->PopupMenu3())
        m_registerPartner->setEnabled(allowed);
}

void SlipFieldActions::HINMEI_11DblClick(DBEdit *edit)
{
    if (!edit || !isLineTag(edit->tag()))
        return;
    EditableResultSet &query = m_form->IBQueryTambrel();
    if (!query.active())
        return;
    // What was typed into the line is what the list looks for.
    edit->updateRecord();
    const LineFields n = LineFieldNames(edit->tag());
    ItemChoice item;
    if (!SelectItem(query.value(n.itemNameUpper).toString(),
                    query.value(QStringLiteral("COCODE")).toString(), item, m_form))
        return;
    writeChoice(query, [&] {
        query.setValue(n.itemNameUpper, item.name1);
        query.setValue(n.itemNameLower, item.name2);
        query.setValue(n.itemCodeUpper, item.code1);
        query.setValue(n.itemCodeLower, item.code2);
        query.setValue(n.color, item.color);
        query.setValue(n.piecesPerCase, item.piecesPerCase);
        query.setValue(n.size, item.size);
        query.setValue(n.cases, item.cases);
        query.setValue(n.unit, item.unit);
        query.setValue(n.quantity, item.quantity != 0 ? QVariant(item.quantity) : QVariant());
        query.setValue(n.quantityDecimal, item.quantityDecimal);
        query.setValue(n.costPrice, item.costPrice);
        query.setValue(n.costPriceDecimals, item.costPriceDecimals);
        query.setValue(n.sellingPrice, item.sellingPrice);
    });
    CalculateSlipTotals(query);
}

void SlipFieldActions::N1Click(DBEdit *edit)
{
    if (!edit || !isLineTag(edit->tag()))
        return;
    ResultSetSlipRecord record(m_form->IBQueryTambrel());
    RegisterItemFromLine(record, edit->tag());
}

void SlipFieldActions::CONADblClick()
{
    EditableResultSet &query = m_form->IBQueryTambrel();
    if (!query.active())
        return;
    if (DBEdit *edit = focusedSlipEdit())
        edit->updateRecord();
    CompanyChoice company{query.value(QStringLiteral("CONAME")).toString(),
                          query.value(QStringLiteral("TENPONAME")).toString(),
                          query.value(QStringLiteral("COCODE")).toString(), QString()};
    if (!SelectCompany(company, kCompanyKind, m_form))
        return;
    writeChoice(query, [&] {
        query.setValue(QStringLiteral("CONAME"), company.name1);
        query.setValue(QStringLiteral("TENPONAME"), company.name2);
        query.setValue(QStringLiteral("COCODE"), company.code1);
    });
}

void SlipFieldActions::MenuItem3Click()
{
    ResultSetSlipRecord record(m_form->IBQueryTambrel());
    RegisterCompanyFromSlip(record, kCompanyKind);
}

void SlipFieldActions::TORIDblClick()
{
    EditableResultSet &query = m_form->IBQueryTambrel();
    if (!query.active())
        return;
    if (DBEdit *edit = focusedSlipEdit())
        edit->updateRecord();
    CompanyChoice partner{query.value(QStringLiteral("TORIHIKINAME_1")).toString(),
                          query.value(QStringLiteral("TORIHIKINAME_2")).toString(),
                          query.value(QStringLiteral("TORIHIKICODE_1")).toString(),
                          query.value(QStringLiteral("TORIHIKICODE_2")).toString()};
    if (!SelectCompany(partner, kTradingPartnerKind, m_form))
        return;
    writeChoice(query, [&] {
        query.setValue(QStringLiteral("TORIHIKINAME_1"), partner.name1);
        query.setValue(QStringLiteral("TORIHIKINAME_2"), partner.name2);
        query.setValue(QStringLiteral("TORIHIKICODE_1"), partner.code1);
        query.setValue(QStringLiteral("TORIHIKICODE_2"), partner.code2);
    });
}

void SlipFieldActions::MenuItem6Click()
{
    ResultSetSlipRecord record(m_form->IBQueryTambrel());
    RegisterCompanyFromSlip(record, kTradingPartnerKind);
}

void SlipFieldActions::COCOExit(DBEdit *edit)
{
    if (!edit || !edit->changed())
        return;
    EditableResultSet &query = m_form->IBQueryTambrel();
    const QString code = TrimWide(edit->text());
    edit->setChanged(false);
    if (!query.active() || !query.Edit())
        return;
    // The typed code is a parameter: quotes and all reach no statement text.
    QString name1, name2, code1;
    Database &db = m_form->IBDatabase1();
    try {
        Transaction tr(&db);
        Query q(db, tr);
        q.setSql(QStringList{QStringLiteral("SELECT CONAME1,CONAME2,CODE1,CODE2 FROM COMPANY"),
                             QStringLiteral("WHERE (CODE1 = :P0) AND (KUBUN = 0)")});
        q.setParam(QStringLiteral("P0"), code);
        if (q.openFirst()) {
            name1 = q.value(QStringLiteral("CONAME1")).toString();
            name2 = q.value(QStringLiteral("CONAME2")).toString();
            code1 = q.value(QStringLiteral("CODE1")).toString();
        }
        q.close();
        tr.commit();
    } catch (const DbError &e) {
        throw AppError(QString::fromUtf8(kDataGetError), e.text());
    }
    // An unknown code leaves what was typed.
    if (TrimWide(code1).isEmpty())
        return;
    query.setValue(QStringLiteral("CONAME"), name1);
    query.setValue(QStringLiteral("TENPONAME"), name2);
    query.setValue(QStringLiteral("COCODE"), code1);
}

void SlipFieldActions::N4Click()
{
    DBEdit *edit = m_form->slipEdit(QStringLiteral("DENN"));
    QString number = edit ? edit->text() : m_form->IBQueryTambrel().value("DENNO_1").toString();
    QString checkDigit;
    CalcCheckDigit(number, checkDigit, m_form);
    EditableResultSet &query = m_form->IBQueryTambrel();
    if (checkDigit.isEmpty() || !query.active())
        return;
    if (edit)
        edit->setChanged(false);
    writeChoice(query, [&] {
        query.setValue(QStringLiteral("DENNO_1"), number);
        query.setValue(QStringLiteral("DENNO_2"), checkDigit);
    });
}

void SlipFieldActions::KAZU_11Exit()
{
    CalculateSlipTotals(m_form->IBQueryTambrel());
}

void SlipFieldActions::KAZT_11Exit()
{
    CalculateCorrectedTotals(m_form->IBQueryTambrel());
}

void SlipFieldActions::CODE_11Exit(DBEdit *edit)
{
    if (!edit)
        return;
    LookupItemByCode(m_form->IBDatabase1(), *edit);
    CalculateSlipTotals(m_form->IBQueryTambrel());
}
