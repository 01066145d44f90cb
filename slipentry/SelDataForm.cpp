#include "SelDataForm.h"

#include "SlipEntryTexts.h"
#include "app/AppError.h"
#include "db/EditableResultSet.h"
#include "db/IbFunc.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"
#include "ui/AppHints.h"
#include "ui/CaptionDBNavi.h"
#include "ui/ConnectedMainWindow.h"
#include "ui/DBGrid.h"
#include "ui/EditFieldSetup.h"
#include "ui/FormHelp.h"
#include "ui/IniWinPlace.h"

#include <QAction>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyledItemDelegate>

namespace {

QString tr16(const char16_t *s)
{
    return QString::fromUtf16(s);
}

const QString kPrintout = QStringLiteral("PRINTOUT");
const QString kId = QStringLiteral("ID");
const QString kColumnsSection = QStringLiteral("SelDataFormDBGrid1");

// Marked slips in red; the mark column as a sign.
class MarkDelegate : public QStyledItemDelegate
{
public:
    MarkDelegate(DBGrid *grid, EditableResultSet &set)
        : QStyledItemDelegate(grid), m_grid(grid), m_set(set)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (TSelDataForm::markedRow(m_set, index.row())) {
            option->palette.setColor(QPalette::Text, Qt::red);
            option->palette.setColor(QPalette::HighlightedText, Qt::red);
        }
        if (m_grid->fieldAt(index.column()).compare(kPrintout, Qt::CaseInsensitive) == 0) {
            option->text = TSelDataForm::markText(m_set.valueAt(index.row(), kPrintout));
            option->displayAlignment = Qt::AlignCenter;
        }
    }

private:
    DBGrid *m_grid;
    EditableResultSet &m_set;
};

// The grid's display is held while marks change, and repainted after.
class HoldDisplay
{
public:
    explicit HoldDisplay(EditableResultSet &set) : m_set(set) { m_set.disableControls(); }
    ~HoldDisplay() { m_set.enableControls(); }
    HoldDisplay(const HoldDisplay &) = delete;
    HoldDisplay &operator=(const HoldDisplay &) = delete;

private:
    EditableResultSet &m_set;
};

} // namespace

TSelDataForm::TSelDataForm(EditableResultSet &dataSet, bool printMode, int helpContext,
                           QWidget *parent)
    : QDialog(parent), m_set(dataSet), m_printMode(printMode), m_helpContext(helpContext)
{
    setObjectName(QStringLiteral("SelDataForm"));
    setWindowTitle(ConnectedMainWindow::captionPrefix() + tr16(SlipEntryTexts::kSelDataCaption));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setMinimumWidth(605);
    resize(760, 420);

    m_grid = new DBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setReadOnly(true);
    m_grid->horizontalHeader()->setMinimumSectionSize(8);
    m_grid->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_grid->setToolTip(tr16(SlipEntryTexts::kGridHint));
    m_grid->setDataSet(&m_set);
    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    m_grid->setColumns({
        {kPrintout, tr16(SlipEntryTexts::kTitlePrintout), 59, centre},
        {QStringLiteral("DENNO_1"), tr16(SlipEntryTexts::kTitleDenno), 81, left},
        {QStringLiteral("DENNO_2"), tr16(SlipEntryTexts::kTitleCheckDigit), 17, centre},
        {QStringLiteral("CONAME"), tr16(SlipEntryTexts::kTitleCompany), 163, left},
        {QStringLiteral("TENPONAME"), tr16(SlipEntryTexts::kTitleStore), 163, left},
        {QStringLiteral("TORIHIKICODE_1"), tr16(SlipEntryTexts::kTitlePartnerCode), 73, left},
        {QStringLiteral("TORIHIKINAME_1"), tr16(SlipEntryTexts::kTitlePartnerName1), 163, left},
        {QStringLiteral("TORIHIKINAME_2"), tr16(SlipEntryTexts::kTitlePartnerName2), 163, left},
        {QStringLiteral("HINMEI_11"), tr16(SlipEntryTexts::kTitleItem), 220, left},
    });
    m_grid->setItemDelegate(new MarkDelegate(m_grid, m_set));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { DBGrid1DblClick(); });
    connect(m_grid, &DBGrid::titleClicked, this, &TSelDataForm::DBGrid1TitleClick);

    m_navi = new TCaptionDBNavi(this);
    m_navi->setObjectName(QStringLiteral("CaptionDBNavi1"));
    m_navi->setVisibleButtons({TCaptionDBNavi::nbDelete});
    QStringList captions(TCaptionDBNavi::kButtonCount);
    captions[TCaptionDBNavi::nbDelete] = tr16(SlipEntryTexts::kNaviDelete);
    m_navi->setCaptions(captions);
    m_navi->setCaptionLayout(TCaptionDBNavi::cbLeft);
    m_navi->setOnMoveColor(Qt::red);
    m_navi->Loaded();
    m_navi->setDataSet(&m_set);
    m_navi->setFixedSize(90, 34);

    m_ascending = new QRadioButton(tr16(SlipEntryTexts::kSortAscending), this);
    m_ascending->setObjectName(QStringLiteral("S_SortRB"));
    m_ascending->setToolTip(tr16(SlipEntryTexts::kSortAscendingHint));
    m_ascending->setChecked(true);
    m_descending = new QRadioButton(tr16(SlipEntryTexts::kSortDescending), this);
    m_descending->setObjectName(QStringLiteral("K_SortRB"));
    m_descending->setToolTip(tr16(SlipEntryTexts::kSortDescendingHint));

    m_toggleBtn = new QPushButton(tr16(SlipEntryTexts::kToggleButton), this);
    m_toggleBtn->setObjectName(QStringLiteral("BitBtn2"));
    m_toggleBtn->setToolTip(tr16(SlipEntryTexts::kToggleHint));
    m_toggleBtn->setAutoDefault(false);
    connect(m_toggleBtn, &QPushButton::clicked, this, [this] { DBGrid1DblClick(); });

    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName(QStringLiteral("BitBtn1"));
    m_cancelBtn = new QPushButton(tr16(SlipEntryTexts::kCancelButton), this);
    m_cancelBtn->setObjectName(QStringLiteral("BitBtn3"));
    m_cancelBtn->setToolTip(tr16(SlipEntryTexts::kCancelHint));
    m_cancelBtn->setAutoDefault(false);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    if (m_printMode) {
        m_okBtn->setText(tr16(SlipEntryTexts::kOkButton));
        m_okBtn->setToolTip(tr16(SlipEntryTexts::kOkHint));
        connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);
    } else {
        m_okBtn->setText(tr16(SlipEntryTexts::kCloseButton));
        m_okBtn->setToolTip(tr16(SlipEntryTexts::kCloseHint));
        connect(m_okBtn, &QPushButton::clicked, this, &QDialog::reject);
    }
    m_cancelBtn->setVisible(m_printMode);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char *name, const char16_t *caption, const char16_t *hint) {
        QAction *a = m_menu->addAction(tr16(caption));
        a->setObjectName(QLatin1String(name));
        a->setStatusTip(tr16(hint));
        a->setToolTip(tr16(hint));
        return a;
    };
    m_setMark = item("N1", SlipEntryTexts::kMenuSetMark, SlipEntryTexts::kMenuSetMarkHint);
    m_menu->addSeparator();
    m_clearMark = item("N2", SlipEntryTexts::kMenuClearMark, SlipEntryTexts::kMenuClearMarkHint);
    m_menu->addSeparator();
    m_setAll = item("N3", SlipEntryTexts::kMenuSetAll, SlipEntryTexts::kMenuSetAllHint);
    m_menu->addSeparator();
    m_clearAll = item("N4", SlipEntryTexts::kMenuClearAll, SlipEntryTexts::kMenuClearAllHint);
    m_setAll->setData(1);
    m_clearAll->setData(0);
    QAction *closeSeparator = m_menu->addSeparator();
    m_closeItem = item("Pop_Close", SlipEntryTexts::kMenuClose, SlipEntryTexts::kMenuCloseHint);
    // 閉じる belongs to browse mode only.
    closeSeparator->setVisible(!m_printMode);
    m_closeItem->setVisible(!m_printMode);
    connect(m_setMark, &QAction::triggered, this, [this] { DBGrid1DblClick(); });
    connect(m_clearMark, &QAction::triggered, this, [this] { DBGrid1DblClick(); });
    connect(m_setAll, &QAction::triggered, this, [this] { N4Click(m_setAll->data().toInt()); });
    connect(m_clearAll, &QAction::triggered, this, [this] { N4Click(m_clearAll->data().toInt()); });
    connect(m_closeItem, &QAction::triggered, this, &TSelDataForm::Pop_CloseClick);
    connect(m_menu, &QMenu::aboutToShow, this, &TSelDataForm::PopupMenu1Popup);
    connect(m_menu, &QMenu::hovered, this, [this](QAction *a) {
        if (m_hintPanel)
            m_hintPanel->setText(a->statusTip());
    });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_menuOffered)
            m_menu->popup(m_grid->viewport()->mapToGlobal(at));
    });

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    auto *helpPanel = new QLabel(tr16(SlipEntryTexts::kSelDataHelpPanel), status);
    helpPanel->setFixedWidth(60);
    helpPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel = new QLabel(status);
    status->addWidget(helpPanel);
    status->addWidget(m_hintPanel, 1);

    auto *sort = new QVBoxLayout;
    sort->addWidget(m_ascending);
    sort->addWidget(m_descending);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_navi);
    buttons->addLayout(sort);
    buttons->addStretch(1);
    buttons->addWidget(m_toggleBtn);
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    layout->addWidget(status);

    // The list holds rows or not for its whole life here.
    m_menuOffered = !m_set.isEmpty();
    m_toggleBtn->setEnabled(m_menuOffered);

    // The saved widths are capped by the grid's width, so it gets its size first.
    layout->activate();

    // FormCreate: placement, hints, column widths.
    m_place = new TIniWinPlace(this);
    m_place->setIniName(settings().SettingsFilePath);
    m_place->LoadPlacement();
    m_hints = new AppHints(this, m_hintPanel);
    LoadGridColumns(m_grid, settings().SettingsFilePath, kColumnsSection, Qt::AlignCenter);
    InstallHelpKey(this, m_helpContext);
}

TSelDataForm::~TSelDataForm() = default;

QString TSelDataForm::markText(const QVariant &mark)
{
    if (mark.isNull() || mark.toString().isEmpty())
        return QString();
    return VariantIsOne(mark) ? tr16(SlipEntryTexts::kMarkOn) : tr16(SlipEntryTexts::kMarkOff);
}

bool TSelDataForm::markedRow(const EditableResultSet &set, int row)
{
    return VariantIsOne(set.valueAt(row, kPrintout));
}

void TSelDataForm::done(int result)
{
    // FormCloseQuery: normal state, column widths saved.
    if (isMinimized() || isMaximized())
        showNormal();
    SaveGridColumns(m_grid, settings().SettingsFilePath, kColumnsSection);
    QDialog::done(result);
}

void TSelDataForm::runMarkChange(const std::function<void()> &change)
{
    m_grid->setFocus(Qt::OtherFocusReason);
    try {
        HoldDisplay hold(m_set);
        change();
    } catch (...) {
        // A slip that cannot be posted keeps its mark as it was.
        if (m_set.state() == EditableResultSet::State::Edit)
            m_set.Cancel();
        m_grid->viewport()->update();
        throw AppError(tr16(SlipEntryTexts::kPrintMarkError));
    }
    m_grid->viewport()->update();
}

void TSelDataForm::DBGrid1DblClick()
{
    if (m_set.isEmpty())
        return;
    runMarkChange([this] {
        if (!m_set.Edit())
            throw AppError(tr16(SlipEntryTexts::kPrintMarkError));
        m_set.setValue(kPrintout, VariantIsOne(m_set.value(kPrintout)) ? 0 : 1);
        if (!m_set.Post())
            throw AppError(tr16(SlipEntryTexts::kPrintMarkError));
    });
}

void TSelDataForm::N4Click(int target)
{
    if (m_set.isEmpty())
        return;
    runMarkChange([this, target] {
        const QVariant id = m_set.value(kId);
        const QString wanted = QString::number(target);
        for (m_set.First(); !m_set.eof(); m_set.Next()) {
            const QVariant mark = m_set.value(kPrintout);
            if (!mark.isNull() && mark.toString() == wanted)
                continue;
            if (!m_set.Edit())
                throw AppError(tr16(SlipEntryTexts::kPrintMarkError));
            m_set.setValue(kPrintout, target);
            if (!m_set.Post())
                throw AppError(tr16(SlipEntryTexts::kPrintMarkError));
        }
        m_set.Locate(kId, id);
    });
}

void TSelDataForm::PopupMenu1Popup()
{
    const bool canClear = !m_set.isEmpty() && VariantIsOne(m_set.value(kPrintout));
    m_clearMark->setEnabled(canClear);
    m_setMark->setEnabled(!canClear);
}

void TSelDataForm::DBGrid1TitleClick(const QString &field)
{
    const QString direction =
        m_descending->isChecked() ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    const QStringList previous = m_set.sql();
    const QVariant id = m_set.value(kId);
    try {
        OpenSlipTableOrdered(m_set, field + direction);
    } catch (const std::exception &e) {
        // The list and the form keep the order they had rather than no slips.
        try {
            if (!m_set.active()) {
                m_set.setSql(previous);
                m_set.open();
                m_set.Locate(kId, id);
            }
        } catch (...) {
            // Still closed: the error below is what the user learns.
        }
        throw AppError(tr16(SlipEntryTexts::kSortError), QString::fromUtf8(e.what()));
    }
}

void TSelDataForm::Pop_CloseClick()
{
    reject();
}

bool SelectSavedData(EditableResultSet &dataSet, bool printMode, int helpContext, QWidget *parent)
{
    TSelDataForm dialog(dataSet, printMode, helpContext, parent);
    return dialog.exec() == QDialog::Accepted;
}
