#include "ExportSelCompForm.h"

#include "ExportTexts.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "app/Messages.h"
#include "settings/Settings.h"
#include "ui/AppHints.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/DBGrid.h"
#include "ui/EditFieldSetup.h"
#include "ui/FormHelp.h"
#include "ui/IniWinPlace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int kHelpContext = 15;
constexpr int kMinimumWidth = 396;

QString gridSection()
{
    // The form's name followed by the grid's name.
    return QStringLiteral("ExportSelCompFormDBGrid1");
}

} // namespace

TExportSelCompForm::TExportSelCompForm(QWidget *parent) : QDialog(parent)
{
    using namespace ExportTexts;
    setObjectName(QStringLiteral("ExportSelCompForm"));
    setWindowTitle(ConnectedMainWindow::captionPrefix() + QString::fromUtf16(kPickerCaption));
    setMinimumWidth(kMinimumWidth);
    resize(kMinimumWidth, 360);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setToolTip(QString::fromUtf16(kPickerGridHint));
    // Wide enough for a company name until the user's widths are restored.
    DBGrid1->setColumns(
        {GridColumn{QStringLiteral("CONAME"), QString::fromUtf16(kCompanyLabel), 180},
         GridColumn{QStringLiteral("TENPONAME"), QString::fromUtf16(kStoreLabel), 160}});
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->viewport()->installEventFilter(this);

    BitBtn1 = new QPushButton(QString::fromUtf16(kPickerOk), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QString::fromUtf16(kPickerOkHint));
    BitBtn2 = new QPushButton(QString::fromUtf16(kPickerCancel), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QString::fromUtf16(kPickerCancelHint));
    S_SortRB = new QRadioButton(QString::fromUtf16(kSortAscending), this);
    S_SortRB->setObjectName(QStringLiteral("S_SortRB"));
    S_SortRB->setToolTip(QString::fromUtf16(kSortAscendingHint));
    S_SortRB->setChecked(true);
    K_SortRB = new QRadioButton(QString::fromUtf16(kSortDescending), this);
    K_SortRB->setObjectName(QStringLiteral("K_SortRB"));
    K_SortRB->setToolTip(QString::fromUtf16(kSortDescendingHint));

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QString::fromUtf16(kPickerStatusHelp), status));
    StatusPanel2 = new QLabel(status);
    // A long hint is cut at the edge instead of widening the window.
    StatusPanel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->addWidget(StatusPanel2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(S_SortRB);
    buttons->addWidget(K_SortRB);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    layout->addWidget(status);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] {
        if (!m_set.isEmpty())
            accept();
    });
    connect(DBGrid1, &DBGrid::titleClicked, this, &TExportSelCompForm::OpenSorted);
    connect(&m_set, &QAbstractItemModel::modelReset, this,
            &TExportSelCompForm::DSCompanyDataChange);
    connect(&m_set, &QAbstractItemModel::rowsInserted, this,
            &TExportSelCompForm::DSCompanyDataChange);

    new AppHints(this, StatusPanel2);
    InstallHelpKey(this, kHelpContext);
    m_place = new TIniWinPlace(this);
    m_place->setIniName(settings().SettingsFilePath);
    m_place->setSectionName(QStringLiteral("ExportSelCompForm"));
    m_place->LoadPlacement();

    m_set.setReadOnly(true);
    DSCompanyDataChange();
    try {
        ConnectDatabase(m_database, m_transaction);
        m_set.setTransaction(&m_transaction);
        DBGrid1->setDataSet(&m_set);
        OpenSorted(QStringLiteral("CONAME"));
    } catch (const AppError &e) {
        Messages::error(e.message());
    }
    // The grid gets its size first: restored widths are limited to it.
    layout->activate();
    LoadGridColumns(DBGrid1, settings().SettingsFilePath, gridSection(), Qt::AlignCenter);
}

TExportSelCompForm::~TExportSelCompForm()
{
    try {
        DBGrid1->setDataSet(nullptr);
        m_set.close();
        if (m_transaction.active())
            m_transaction.rollback();
        if (m_database.connected())
            m_database.disconnect();
    } catch (...) {
        // Closing the picker's own connection may fail; nothing depends on it.
    }
}

void TExportSelCompForm::OpenSorted(const QString &column)
{
    if (column.isEmpty())
        return;
    const QString direction =
        K_SortRB->isChecked() ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    // Re-sorting keeps the widths the user gave the columns.
    QList<int> widths;
    for (int c = 0; m_set.active() && c < DBGrid1->columnsModel()->columnCount(); ++c)
        widths.append(DBGrid1->columnWidth(c));
    try {
        m_set.close();
        m_set.setSql(QStringList{QStringLiteral("SELECT DISTINCT CONAME,TENPONAME FROM TAMBREL"),
                                 QStringLiteral("ORDER BY ") + column + direction});
        m_set.open();
        m_set.fetchAll();
    } catch (const std::exception &) {
        m_set.close();
        Messages::error(QString::fromLatin1(ExportTexts::kDataOpenError));
    }
    if (!widths.isEmpty() && widths.size() == DBGrid1->columnsModel()->columnCount()) {
        for (int c = 0; c < widths.size(); ++c)
            DBGrid1->setColumnWidth(c, widths.at(c));
    }
    DSCompanyDataChange();
}

void TExportSelCompForm::positionOn(const QString &company, const QString &store)
{
    if (!m_set.active())
        return;
    m_set.fetchAll();
    for (int row = 0; row < m_set.recordCount(); ++row) {
        if (m_set.valueAt(row, QStringLiteral("CONAME")).toString() == company &&
            m_set.valueAt(row, QStringLiteral("TENPONAME")).toString() == store) {
            m_set.moveTo(row);
            return;
        }
    }
    m_set.First();
}

QString TExportSelCompForm::currentCompany() const
{
    return m_set.active() && !m_set.isEmpty() ? m_set.value(QStringLiteral("CONAME")).toString()
                                              : QString();
}

QString TExportSelCompForm::currentStore() const
{
    return m_set.active() && !m_set.isEmpty() ? m_set.value(QStringLiteral("TENPONAME")).toString()
                                              : QString();
}

void TExportSelCompForm::DSCompanyDataChange()
{
    BitBtn1->setEnabled(m_set.active() && m_set.recordCount() >= 1);
}

bool TExportSelCompForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Wheel) {
        // One row per notch of the wheel.
        if (m_set.active() && !m_set.isEmpty()) {
            const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
            const int notches = qMax(1, qAbs(delta) / 120);
            for (int i = 0; i < notches; ++i) {
                if (delta < 0)
                    m_set.Next();
                else if (delta > 0)
                    m_set.Prior();
            }
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TExportSelCompForm::keyPressEvent(QKeyEvent *event)
{
    // Enter moves on like Tab.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TExportSelCompForm::done(int result)
{
    SaveGridColumns(DBGrid1, settings().SettingsFilePath, gridSection());
    QDialog::done(result);
}

bool SelectExportCompany(QWidget *parent, QString &companyName, QString &storeName)
{
    TExportSelCompForm form(parent);
    form.positionOn(companyName, storeName);
    if (form.exec() != QDialog::Accepted || form.dataSet().isEmpty())
        return false;
    companyName = form.currentCompany();
    storeName = form.currentStore();
    return true;
}
