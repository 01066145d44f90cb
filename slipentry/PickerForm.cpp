#include "PickerForm.h"

#include "SlipEntryTexts.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "app/Messages.h"
#include "db/DbError.h"
#include "db/IbFunc.h"
#include "db/Query.h"
#include "settings/Settings.h"
#include "ui/AppHints.h"
#include "ui/CaptionDBNavi.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/EditFieldSetup.h"
#include "ui/FormHelp.h"
#include "ui/IniWinPlace.h"
#include "ui/UiTexts.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace SlipActionTexts;

namespace {

QString text(const char16_t *t)
{
    return QString::fromUtf16(t);
}

constexpr int kVirtualKeyTab = 0x09;

} // namespace

// ---------------------------------------------------------------------------

PickerGrid::PickerGrid(QWidget *parent) : DBGrid(parent)
{
    // A double-click chooses the row; typing or F2 edits the cell.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

bool PickerGrid::dropUntouchedNewRow()
{
    EditableResultSet *set = dataSet();
    if (!set || set->state() != EditableResultSet::State::Insert || m_newRowTouched)
        return false;
    return set->Cancel();
}

void PickerGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    EditableResultSet *set = dataSet();
    if (m_dropping || !set || !current.isValid() ||
        set->state() != EditableResultSet::State::Insert || m_newRowTouched ||
        current.row() == set->currentRow()) {
        DBGrid::currentChanged(current, previous);
        return;
    }
    // Leaving a new row that nobody filled in drops it instead of posting an
    // empty row.
    const int inserted = set->currentRow();
    int target = current.row();
    m_dropping = true;
    QTableView::currentChanged(current, previous);
    set->Cancel();
    m_dropping = false;
    if (target > inserted)
        --target;
    set->moveTo(target);
}

void PickerGrid::keyPressEvent(QKeyEvent *event)
{
    EditableResultSet *set = dataSet();
    if (!set || !set->active() || state() == QAbstractItemView::EditingState) {
        DBGrid::keyPressEvent(event);
        return;
    }
    const bool untouchedNew = set->state() == EditableResultSet::State::Insert && !m_newRowTouched;
    switch (event->key()) {
    case Qt::Key_Insert:
        if (!untouchedNew)
            set->Insert();
        return;
    case Qt::Key_Down:
        if (set->allFetched() && set->currentRow() == set->recordCount() - 1) {
            if (!untouchedNew)
                set->Append();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (event->modifiers() & Qt::ControlModifier) {
            if (!set->isEmpty() &&
                Messages::show(MsgType::Confirmation, QString::fromUtf8(kDeleteQuestion),
                               MsgButton::Ok | MsgButton::Cancel) == MsgResult::Ok)
                set->Delete();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (set->editing()) {
            set->Cancel();
            return;
        }
        break;
    default:
        break;
    }
    DBGrid::keyPressEvent(event);
}

// ---------------------------------------------------------------------------

TPickerForm::TPickerForm(const QString &designedCaption, const QString &section, int minimumWidth,
                         QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_section(section)
{
    setObjectName(section);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    m_top = new QVBoxLayout;
    layout->addLayout(m_top);

    m_grid = new PickerGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setToolTip(text(kGridHint));
    m_grid->setDataSet(&m_query);
    layout->addWidget(m_grid, 1);

    auto *bottom = new QHBoxLayout;
    m_navi = new TCaptionDBNavi(this);
    m_navi->setObjectName(QStringLiteral("CaptionDBNavi1"));
    QStringList captions, hints;
    for (const char16_t *c : kNaviCaptions)
        captions << text(c);
    for (const char16_t *h : kNaviHints)
        hints << text(h);
    m_navi->setCaptions(captions);
    m_navi->setHints(hints);
    m_navi->setCaptionLayout(TCaptionDBNavi::cbLeft);
    m_navi->setOnMoveColor(Qt::red);
    m_navi->setVisibleButtons(
        {TCaptionDBNavi::nbDelete, TCaptionDBNavi::nbPost, TCaptionDBNavi::nbCancel});
    m_navi->Loaded();
    m_navi->setDataSet(&m_query);
    // Room for the three visible buttons and their captions.
    m_navi->setFixedWidth(290);
    bottom->addWidget(m_navi);

    m_ascending = new QRadioButton(text(kSortAscending), this);
    m_ascending->setObjectName(QStringLiteral("S_SortRB"));
    m_ascending->setToolTip(text(kSortAscendingHint));
    m_ascending->setChecked(true);
    m_descending = new QRadioButton(text(kSortDescending), this);
    m_descending->setObjectName(QStringLiteral("K_SortRB"));
    m_descending->setToolTip(text(kSortDescendingHint));
    bottom->addWidget(m_ascending);
    bottom->addWidget(m_descending);
    bottom->addStretch();

    m_okBtn = new QPushButton(text(kOkButton), this);
    m_okBtn->setObjectName(QStringLiteral("BitBtn1"));
    m_okBtn->setToolTip(text(kOkHint));
    m_cancelBtn = new QPushButton(text(kCancelButton), this);
    m_cancelBtn->setObjectName(QStringLiteral("BitBtn2"));
    m_cancelBtn->setToolTip(text(kCancelHint));
    bottom->addWidget(m_okBtn);
    bottom->addWidget(m_cancelBtn);
    layout->addLayout(bottom);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    auto *helpPanel = new QLabel(text(kHelpPanel), status);
    helpPanel->setAlignment(Qt::AlignCenter);
    helpPanel->setMinimumWidth(60);
    status->addWidget(helpPanel);
    m_hintPanel = new QLabel(status);
    status->addWidget(m_hintPanel, 1);
    layout->addWidget(status);

    setMinimumWidth(minimumWidth);
    resize(minimumWidth, 420);
    setWindowTitle(ConnectedMainWindow::captionPrefix() + designedCaption);
    m_place = new TIniWinPlace(this);
    m_place->setIniName(settings().SettingsFilePath);
    m_place->setSectionName(section);
    m_place->LoadPlacement();
    m_hints = new AppHints(this, m_hintPanel);
    InstallHelpKey(this, kHelpContext);

    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { DBGrid1DblClick(); });
    connect(m_grid, &DBGrid::titleClicked, this,
            [this](const QString &field) { DBGrid1TitleClick(field); });
    connect(&m_query, &EditableResultSet::newRecord, this, [this] {
        m_inNewRecord = true;
        newRecord();
        m_inNewRecord = false;
        m_grid->setNewRowTouched(false);
    });
    connect(&m_query, &EditableResultSet::beforeInsert, this, [this] {
        if (!allowInsert())
            m_query.abort();
    });
    connect(&m_query, &EditableResultSet::recordDataChanged, this, [this](const QString &field) {
        if (!field.isEmpty() && !m_inNewRecord &&
            m_query.state() == EditableResultSet::State::Insert)
            m_grid->setNewRowTouched(true);
        updateOk();
    });
    connect(&m_query, &EditableResultSet::stateChanged, this, [this] { updateOk(); });
    connect(&m_query, &QAbstractItemModel::rowsRemoved, this, [this] { updateOk(); });
    connect(&m_query, &QAbstractItemModel::rowsInserted, this, [this] { updateOk(); });
    updateOk();
    qApp->installEventFilter(this);
}

TPickerForm::~TPickerForm()
{
    qApp->removeEventFilter(this);
    // The grid and navigator let go of the list before it goes.
    m_grid->setDataSet(nullptr);
    m_navi->setDataSet(nullptr);
}

void TPickerForm::updateOk()
{
    m_okBtn->setEnabled(m_query.active() && !m_query.isEmpty());
}

bool TPickerForm::eventFilter(QObject *watched, QEvent *event)
{
    // The form sees keys first: Enter moves on to the next cell or control.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            PressKey(kVirtualKeyTab, 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPickerForm::openList(const QString &order, const QString &table)
{
    ConnectDatabase(m_database, m_transaction);
    m_query.close();
    m_query.setTransaction(&m_transaction);
    m_query.setUpdateObject(&m_updateSql);
    if (openSorted(order))
        BuildUpdateStatements(m_query, m_updateSql, table);
}

void TPickerForm::loadColumnWidths()
{
    // The saved widths are capped at the grid's width, which it only has
    // once the form is laid out.
    layout()->activate();
    LoadGridColumns(m_grid, settings().SettingsFilePath, m_section + QStringLiteral("DBGrid1"),
                    Qt::AlignCenter);
}

bool TPickerForm::openSorted(const QString &order)
{
    try {
        const QString direction =
            m_descending->isChecked() ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
        // Reopening resets the grid; the widths the user gave stay.
        QList<int> widths;
        for (int c = 0; c < m_grid->columnsModel()->columnCount(); ++c)
            widths.append(m_grid->columnWidth(c));
        struct KeepWidths
        {
            PickerGrid *grid;
            const QList<int> &widths;
            ~KeepWidths()
            {
                if (widths.size() == grid->columnsModel()->columnCount()) {
                    for (int c = 0; c < widths.size(); ++c)
                        grid->setColumnWidth(c, widths.at(c));
                }
            }
        } keepWidths{m_grid, widths};
        QVariant id;
        if (m_query.active()) {
            m_grid->dropUntouchedNewRow();
            if (!m_query.isEmpty())
                id = m_query.value(QStringLiteral("ID"));
            // Writes what is pending, after the save question for a row
            // being edited; Cancel keeps the row and the old order.
            if (!ReopenDataSet(m_query, false))
                return false;
        }
        m_query.disableControls();
        struct Thaw
        {
            EditableResultSet &set;
            ~Thaw() { set.enableControls(); }
        } thaw{m_query};
        m_query.close();
        m_query.clearParams();
        QHash<QString, QVariant> params;
        const QStringList where = conditions(params);
        QStringList sql{QStringLiteral("SELECT * FROM ") + tableName()};
        if (!where.isEmpty())
            sql << QStringLiteral("WHERE ") + where.join(QStringLiteral(" AND "));
        if (!order.isEmpty())
            sql << QStringLiteral("ORDER BY ") + order + direction;
        m_query.setSql(sql);
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            m_query.setParam(it.key(), it.value());
        m_query.open();
        if (id.isValid() && !id.isNull())
            m_query.Locate(QStringLiteral("ID"), id);
        return m_query.active();
    } catch (const AppError &e) {
        throw AppError(text(kDataOpenError), e.message() + QLatin1Char(' ') + e.detail());
    } catch (const DbError &e) {
        throw AppError(text(kDataOpenError), e.text());
    }
}

bool TPickerForm::positionOn(const QString &column, const QVariant &value)
{
    if (!m_query.active() || m_query.isEmpty() || !m_query.hasColumn(column))
        return false;
    // Asking the database first spares reading the whole list to its end
    // when no row matches.
    QHash<QString, QVariant> params;
    QStringList where = conditions(params);
    where << QStringLiteral("(%1 = :LOCATE_VALUE)").arg(column);
    Query count(m_transaction);
    count.setSql(QStringList{QStringLiteral("SELECT COUNT(*) FROM ") + tableName(),
                             QStringLiteral("WHERE ") + where.join(QStringLiteral(" AND "))});
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        count.setParam(it.key(), it.value());
    count.setParam(QStringLiteral("LOCATE_VALUE"), value);
    if (!count.openFirst() || count.value(0).toLongLong() == 0)
        return false;
    count.close();
    return m_query.Locate(column, value);
}

void TPickerForm::DBGrid1DblClick()
{
    // An empty list has nothing to choose.
    if (m_okBtn->isEnabled())
        accept();
}

void TPickerForm::DBGrid1TitleClick(const QString &field)
{
    if (!field.isEmpty())
        openSorted(field);
}

void TPickerForm::done(int result)
{
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    SaveGridColumns(m_grid, settings().SettingsFilePath, m_section + QStringLiteral("DBGrid1"));
    QDialog::done(result);
}
