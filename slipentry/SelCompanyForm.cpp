#include "SelCompanyForm.h"

#include "SlipEntryTexts.h"
#include "app/AppError.h"
#include "db/DbError.h"
#include "db/DbTexts.h"
#include "db/IbFunc.h"
#include "masters/MasterData.h"

using namespace SlipActionTexts;

namespace {

QString text(const char16_t *t)
{
    return QString::fromUtf16(t);
}

constexpr int kCode2Width = 27;

} // namespace

TSelCompanyForm::TSelCompanyForm(int kind, QWidget *parent)
    : TPickerForm(text(kCompanyCaption), QStringLiteral("SelCompanyForm"), kMinimumWidth, parent),
      m_kind(kind)
{
    const bool partners = kind == kTradingPartnerKind;
    QVector<GridColumn> columns{
        {QStringLiteral("CONAME1"), text(partners ? kTitlePartner1 : kTitleCompany), 213},
        {QStringLiteral("CONAME2"), text(partners ? kTitlePartner2 : kTitleStore), 215},
        // Companies have no second code: its column goes and the code
        // column takes its width.
        {QStringLiteral("CODE1"), text(partners ? kTitlePartnerCode : kTitleCompanyCode),
         partners ? 135 : 135 + kCode2Width},
    };
    if (partners)
        columns.append({QStringLiteral("CODE2"), text(kTitleHidden), kCode2Width});
    DBGrid1()->setColumns(columns);
    openList(QStringLiteral("CODE1"), QStringLiteral("COMPANY"));
    loadColumnWidths();
}

QString TSelCompanyForm::tableName() const
{
    return QStringLiteral("COMPANY");
}

QStringList TSelCompanyForm::conditions(QHash<QString, QVariant> &params) const
{
    params.insert(QStringLiteral("P0"), m_kind);
    return {QStringLiteral("(KUBUN = :P0)")};
}

void TSelCompanyForm::newRecord()
{
    m_query.setValue(
        QStringLiteral("ID"),
        GetGeneratorValue(m_database, QStringLiteral("IDNO_INC3"), QStringLiteral("0")) + 1);
    m_query.setValue(QStringLiteral("KUBUN"), m_kind);
}

bool SelectCompany(CompanyChoice &choice, int kind, QWidget *parent)
{
    TSelCompanyForm form(kind, parent);
    form.positionOn(QStringLiteral("CODE1"), choice.code1);
    bool chosen = form.exec() == QDialog::Accepted;
    EditableResultSet &list = form.query();
    form.DBGrid1()->dropUntouchedNewRow();
    chosen = chosen && !list.isEmpty();
    if (chosen) {
        choice.name1 = list.value(QStringLiteral("CONAME1")).toString();
        choice.name2 = list.value(QStringLiteral("CONAME2")).toString();
        choice.code1 = list.value(QStringLiteral("CODE1")).toString();
        choice.code2 = list.value(QStringLiteral("CODE2")).toString();
    }
    // The company list writes its changes whatever the answer.
    try {
        list.applyUpdates();
    } catch (const DbError &e) {
        throw AppError(QString::fromUtf8(kDataUpdateError), e.text());
    }
    return chosen;
}
