#include "SelItemForm.h"

#include "SelCompanyForm.h"
#include "SlipEntryTexts.h"
#include "app/AppError.h"
#include "db/DbError.h"
#include "db/DbTexts.h"
#include "masters/MasterData.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SlipActionTexts;

namespace {

QString text(const char16_t *t)
{
    return QString::fromUtf16(t);
}

QString companyLabel(const QString &companyName, const QString &storeName)
{
    return text(kCompanyLabel) + TrimWide(companyName) + QLatin1Char(' ') + TrimWide(storeName);
}

int asInteger(const QVariant &v)
{
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

TSelItemForm::TSelItemForm(const QString &companyFilter, QWidget *parent)
    : TPickerForm(text(kItemCaption), QStringLiteral("SelItemForm"), kMinimumWidth, parent),
      m_filter(companyFilter)
{
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("UseTankaPanel"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    auto *bar = new QHBoxLayout(m_panel);
    bar->setContentsMargins(6, 2, 6, 2);
    m_label = new QLabel(text(kCompanyLabel), m_panel);
    m_label->setObjectName(QStringLiteral("Label1"));
    bar->addWidget(m_label, 1);
    m_allItems = new QPushButton(text(kAllItems), m_panel);
    m_allItems->setObjectName(QStringLiteral("SpeedButton2"));
    m_allItems->setToolTip(text(kAllItemsHint));
    m_allItems->setAutoDefault(false);
    m_chooseCompany = new QPushButton(text(kChooseCompany), m_panel);
    m_chooseCompany->setObjectName(QStringLiteral("SpeedButton1"));
    m_chooseCompany->setToolTip(text(kChooseCompanyHint));
    m_chooseCompany->setAutoDefault(false);
    bar->addWidget(m_allItems);
    bar->addWidget(m_chooseCompany);
    topArea()->addWidget(m_panel);
    connect(m_allItems, &QPushButton::clicked, this, &TSelItemForm::SpeedButton2Click);
    connect(m_chooseCompany, &QPushButton::clicked, this, &TSelItemForm::SpeedButton1Click);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    QVector<GridColumn> columns;
    // The selling price leads the list when items are priced per company.
    if (settings().UseTanka)
        columns.append({QStringLiteral("URITANKA"), text(kTitleSellingPrice), 64, right});
    columns.append({QStringLiteral("HINMEI1"), text(kTitleItemName), 250});
    if (!settings().OneLineMode)
        columns.append({QStringLiteral("HINMEI2"), text(kTitleItemName2), 250});
    columns.append({QStringLiteral("CODE1"), text(kTitleItemCode), 168});
    if (!settings().OneLineMode)
        columns.append({QStringLiteral("CODE2"), text(kTitleItemCode2), 168});
    columns += QVector<GridColumn>{
        {QStringLiteral("IRO"), text(kTitleColor), 50},
        {QStringLiteral("IRIKAZU"), text(kTitlePieces), 50},
        {QStringLiteral("SIZEE"), text(kTitleSize), 50},
        {QStringLiteral("CASEE"), text(kTitleCases), 50},
        {QStringLiteral("TANI"), text(kTitleUnit), 61},
        {QStringLiteral("KAZU1"), text(kTitleQuantity), 64, right},
        {QStringLiteral("KAZU2"), text(kTitleHidden), 21},
        {QStringLiteral("GENKA1"), text(kTitleCostPrice), 64, right},
        {QStringLiteral("GENKA2"), text(kTitleHidden), 21},
        {QStringLiteral("URITANKA"), text(kTitleSellingPrice), 64, right},
    };
    DBGrid1()->setColumns(columns);

    openList(QString::fromLatin1(kDefaultOrder), QStringLiteral("CSITEM"));
    m_panel->setVisible(filtered());
    if (filtered()) {
        const CompanyNames names = GetCompanyNames(m_filter);
        if (names.found)
            m_label->setText(companyLabel(names.companyName, names.storeName));
    }
    loadColumnWidths();
}

bool TSelItemForm::filtered() const
{
    return settings().UseTanka && !TrimWide(m_filter).isEmpty();
}

QString TSelItemForm::tableName() const
{
    return QStringLiteral("CSITEM");
}

QStringList TSelItemForm::conditions(QHash<QString, QVariant> &params) const
{
    if (!filtered())
        return {};
    // The code reaches the statement as a parameter, quotes and all.
    params.insert(QStringLiteral("P0"), m_filter);
    return {QStringLiteral("(COCODE = :P0)")};
}

void TSelItemForm::SpeedButton1Click()
{
    CompanyChoice company;
    company.code1 = m_filter;
    if (!SelectCompany(company, kCompanyKind, this))
        return;
    m_filter = company.code1;
    if (openSorted(QString::fromLatin1(kDefaultOrder)))
        m_label->setText(companyLabel(company.name1, company.name2));
    else
        m_label->setText(companyLabel(QString(), QString()));
}

void TSelItemForm::SpeedButton2Click()
{
    m_label->clear();
    m_filter.clear();
    openSorted(QString::fromLatin1(kDefaultOrder));
}

bool SelectItem(const QString &name1, const QString &companyCode, ItemChoice &choice,
                QWidget *parent)
{
    TSelItemForm form(settings().UseTanka ? companyCode : QString(), parent);
    form.positionOn(QStringLiteral("HINMEI1"), name1);
    if (form.exec() != QDialog::Accepted || form.query().isEmpty())
        return false; // the list's changes go with the dialog
    const EditableResultSet &list = form.query();
    auto textOf = [&list](const char *column) {
        return list.value(QString::fromLatin1(column)).toString();
    };
    choice.name1 = textOf("HINMEI1");
    choice.name2 = textOf("HINMEI2");
    choice.code1 = textOf("CODE1");
    choice.code2 = textOf("CODE2");
    choice.color = textOf("IRO");
    choice.piecesPerCase = textOf("IRIKAZU");
    choice.size = textOf("SIZEE");
    choice.cases = textOf("CASEE");
    choice.unit = textOf("TANI");
    choice.quantity = asInteger(list.value(QStringLiteral("KAZU1")));
    choice.quantityDecimal = textOf("KAZU2");
    choice.costPrice = asInteger(list.value(QStringLiteral("GENKA1")));
    choice.costPriceDecimals = textOf("GENKA2");
    choice.sellingPrice = asInteger(list.value(QStringLiteral("URITANKA")));
    try {
        form.query().applyUpdates();
    } catch (const DbError &e) {
        throw AppError(QString::fromUtf8(kDataUpdateError), e.text());
    }
    return true;
}
