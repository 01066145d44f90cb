#include "ImageDispForm.h"
#include "NowPrintingdlg.h"
#include "PdfWords.h"
#include "Printout.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "VDBPrint.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Page k of a file draws a black square in column k (x = 100 k, 0.1 mm);
// form pages in the top row, data pages in a row further down.
QByteArray squares(int count, int y)
{
    QByteArray out;
    for (int k = 1; k <= count; ++k) {
        if (k > 1)
            out += "E\r\n";
        const QByteArray x = QByteArray::number(100 * k);
        const QByteArray x2 = QByteArray::number(100 * k + 50);
        out += "F" + x + ";" + QByteArray::number(y) + ";" + x2 + ";" + QByteArray::number(y + 50) +
               ";0;\r\n";
    }
    return out;
}

class PreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPrintoutState();
        VDBPrint().selectPdf(dir.filePath("unused.pdf"));
        VDBPrint().printer().setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Point);
        VDBPrint().SetPaperSize(9);
        VDBPrint().setLandscape(false);
        TImageDispForm::setSetupExecutor(nullptr);
    }
    void TearDown() override
    {
        TImageDispForm::setSetupExecutor(nullptr);
        ResetPrintoutState();
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        return WriteTestFile(dir, name, bytes);
    }

    // Opens the preview over data with dataPages pages and a form of formPages (0: none).
    std::unique_ptr<TImageDispForm> open(int dataPages, int formPages, quint8 printForm = 1)
    {
        PrintoutState().dataPath = file("d.tmp", squares(dataPages, 600));
        PrintoutState().formPath =
            formPages > 0 ? file("f.tmp", squares(formPages, 100)) : QString();
        PrintoutState().printForm = printForm;
        auto form = std::make_unique<TImageDispForm>();
        form->setFlags(printForm, 0);
        form->show();
        return form;
    }

    // Which squares the page shows: form squares (top row) and data squares.
    static QList<int> shown(const TImageDispForm &form, int y)
    {
        QList<int> out;
        const QImage &img = form.pageImage();
        const double scale = form.logicalDpiX() / 254.0;
        for (int k = 1; k <= 6; ++k) {
            const int px = static_cast<int>((100 * k + 25) * scale) + 1 -
                           static_cast<int>(std::lround(40 * scale));
            const int py =
                static_cast<int>((y + 25) * scale) + 1 - static_cast<int>(std::lround(40 * scale));
            if ((img.pixel(px, py) & 0xFFFFFF) == 0)
                out << k;
        }
        return out;
    }

    QTemporaryDir dir;
    ScriptedMessages messages;
};

QStringList checkedZoomItems(const TImageDispForm &form)
{
    QStringList out;
    for (QAction *a : form.ZoomItems) {
        if (a->isChecked())
            out << a->text();
    }
    return out;
}

} // namespace

TEST_F(PreviewTest, PageTotalsAndButtons)
{
    const struct
    {
        int data, form, total;
    } cases[] = {{5, 2, 6}, {3, 0, 3}, {1, 0, 1}, {2, 3, 3}, {4, 2, 4}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.data << " data, " << c.form << " form");
        auto form = open(c.data, c.form);
        EXPECT_EQ(form->pageTotal(), c.total);
        EXPECT_EQ(form->WherePage->text(), QStringLiteral("1/%1").arg(c.total));
        EXPECT_FALSE(form->PrevPage->isEnabled());
        EXPECT_EQ(form->NextPage->isEnabled(), c.total > 1);
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PreviewTest, PagingForwardAndBack)
{
    auto form = open(3, 0);
    form->NextPage->click();
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("2/3"));
    EXPECT_TRUE(form->PrevPage->isEnabled());
    EXPECT_TRUE(form->NextPage->isEnabled());
    form->NextPage->click();
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("3/3"));
    EXPECT_TRUE(form->PrevPage->isEnabled());
    EXPECT_FALSE(form->NextPage->isEnabled());
    EXPECT_EQ(shown(*form, 600), QList<int>{3});
    form->DispNext(); // at the end: stays
    EXPECT_EQ(form->currentPage(), 3);
    form->Top_PageClick();
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("1/3"));
    EXPECT_FALSE(form->PrevPage->isEnabled());
    EXPECT_TRUE(form->NextPage->isEnabled());
    form->Bottom_PageClick();
    EXPECT_EQ(form->currentPage(), 3);
    form->PrevPage->click();
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("2/3"));
    EXPECT_EQ(shown(*form, 600), QList<int>{2});
}

TEST_F(PreviewTest, FormPagesRepeatAndTheLastPageHasTheFormAlone)
{
    // Print-form flag 0: the preview still shows the form.
    auto form = open(5, 2, 0);
    ASSERT_EQ(form->pageTotal(), 6);
    const QList<QList<int>> formSquares{{1}, {2}, {1}, {2}, {1}, {2}};
    for (int page = 1; page <= 6; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(form->currentPage(), page);
        EXPECT_EQ(shown(*form, 100), formSquares[page - 1]);
        EXPECT_EQ(shown(*form, 600), page <= 5 ? QList<int>{page} : QList<int>{});
        form->DispNext();
    }
}

TEST_F(PreviewTest, ZoomSteps)
{
    auto form = open(1, 0);
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral("100%"));
    EXPECT_EQ(checkedZoomItems(*form), QStringList{QStringLiteral("100%(&3)")});
    form->ZoomInButton->click();
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral("110%"));
    EXPECT_TRUE(checkedZoomItems(*form).isEmpty());
    for (int i = 0; i < 9; ++i)
        form->ZoomInButton->click();
    EXPECT_EQ(form->zoom(), 20);
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral("200%"));
    EXPECT_FALSE(form->ZoomInButton->isEnabled());
    EXPECT_TRUE(form->ZoomOutButton->isEnabled());
    EXPECT_EQ(checkedZoomItems(*form), QStringList{QStringLiteral("200%(&1)")});

    form->MenuZoomClick(10);
    for (int i = 0; i < 7; ++i)
        form->ZoomOutButtonClick();
    EXPECT_EQ(form->zoom(), 3);
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral(" 30%"));
    EXPECT_FALSE(form->ZoomOutButton->isEnabled());
    EXPECT_TRUE(form->ZoomInButton->isEnabled());
    form->ZoomOutButtonClick();
    EXPECT_EQ(form->zoom(), 3);

    form->ZoomItems[3]->trigger(); // " 80%(&4)"
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral(" 80%"));
    EXPECT_EQ(checkedZoomItems(*form), QStringList{QStringLiteral(" 80%(&4)")});
}

TEST_F(PreviewTest, LayoutOfPaperAndPrintableArea)
{
    auto form = open(1, 0);
    ASSERT_EQ(form->logicalDpiX(), 96);
    // A4 at 96 ppi: 210 mm -> rnd(793.70) = 794, 297 mm -> rnd(1122.52) = 1123.
    EXPECT_EQ(form->PaperPanel->size(), QSize(794, 1123));
    // Printable 203 x 290 mm: rnd(767.24) + 2, rnd(1096.06) + 2, centred.
    EXPECT_EQ(form->ImagePaintBox->size(), QSize(769, 1098));
    EXPECT_EQ(form->ImagePaintBox->pos(), QPoint(12, 12));
    form->MenuZoomClick(5);
    // 50 %: rnd(396.85) = 397, rnd(561.26) = 561; rnd(383.62) + 2, rnd(548.03) + 2.
    EXPECT_EQ(form->PaperPanel->size(), QSize(397, 561));
    EXPECT_EQ(form->ImagePaintBox->size(), QSize(386, 550));
    EXPECT_EQ(form->PaperPanel->x(),
              std::max(15, static_cast<int>(std::lround((form->width() - 15 - 397) / 2.0))));
}

TEST_F(PreviewTest, JumpToAPage)
{
    auto form = open(5, 0);
    const struct
    {
        bool cancel;
        const char *answer;
        int from, page;
        bool prev, next;
    } cases[] = {
        {false, "3", 1, 3, true, true},   {false, "0", 3, 1, false, true},
        {false, "-2", 3, 1, false, true}, {false, "9", 1, 5, true, false},
        {false, "abc", 4, 4, true, true}, {true, "", 4, 1, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        form->Top_PageClick();
        for (int i = 1; i < c.from; ++i)
            form->DispNext();
        ASSERT_EQ(form->currentPage(), c.from);
        messages.clear();
        if (c.cancel)
            messages.cancelInput();
        else
            messages.input(QString::fromLatin1(c.answer));
        form->Selected_PageClick();
        EXPECT_EQ(form->currentPage(), c.page);
        EXPECT_EQ(form->PrevPage->isEnabled(), c.prev);
        EXPECT_EQ(form->NextPage->isEnabled(), c.next);
        EXPECT_EQ(form->WherePage->text(), QStringLiteral("%1/5").arg(c.page));
        ASSERT_EQ(messages.inputsShown().size(), 1);
        EXPECT_EQ(messages.inputsShown()[0].caption, QStringLiteral("指定ﾍﾟｰｼﾞにｼﾞｬﾝﾌﾟ"));
        EXPECT_EQ(messages.inputsShown()[0].prompt,
                  QStringLiteral("表示したいﾍﾟｰｼﾞ番号を入力してください"));
        EXPECT_EQ(messages.inputsShown()[0].value, QStringLiteral("1"));
    }
}

TEST_F(PreviewTest, PrinterSetupStartsAgainAtPageOne)
{
    auto form = open(3, 0);
    form->Bottom_PageClick();
    form->MenuZoomClick(15);
    bool asked = false;
    TImageDispForm::setSetupExecutor([&](QPrinter &) {
        asked = true;
        return true;
    });
    form->PrintSetupButton->click();
    EXPECT_TRUE(asked);
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_EQ(form->zoom(), 10);
    EXPECT_EQ(form->DispZoom->text(), QStringLiteral("100%"));
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("1/3"));
}

TEST_F(PreviewTest, MissingFilesAreToldOnce)
{
    const QString missing = dir.filePath("missing.tmp");
    PrintoutState().dataPath = missing;
    TImageDispForm form;
    form.show();
    form.DispNext();
    form.MenuZoomClick(5);
    EXPECT_EQ(messages.texts(),
              QStringList{QLatin1Char('"') + missing + QStringLiteral("\"が見つかりません!")});
    EXPECT_EQ(form.drawCount(), 0);

    messages.clear();
    PrintoutState().dataPath.clear();
    form.FormCreate();
    form.MenuZoomClick(8);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!")});
}

TEST_F(PreviewTest, MissingFormIsToldAndTheDataIsDrawnAlone)
{
    auto form = open(3, 0);
    const QString missing = dir.filePath("noform.tmp");
    PrintoutState().formPath = missing;
    form->FormCreate();
    form->DispNext();
    EXPECT_EQ(messages.texts(),
              QStringList{QLatin1Char('"') + missing + QStringLiteral("\"が見つかりません!")});
    EXPECT_EQ(form->pageTotal(), 3);
    EXPECT_EQ(shown(*form, 600), QList<int>{2});
    EXPECT_TRUE(shown(*form, 100).isEmpty());
}

TEST_F(PreviewTest, FullScreenAndBack)
{
    auto form = open(2, 0);
    form->FullScreen_MenuClick();
    EXPECT_FALSE(form->SpeedBar->isVisibleTo(form.get()));
    EXPECT_TRUE(form->ESCButton->isVisibleTo(form.get()));
    EXPECT_FALSE(form->FileMenu->menuAction()->isVisible());
    EXPECT_FALSE(form->ViewMenu->menuAction()->isVisible());
    EXPECT_FALSE(form->OptionMenu->menuAction()->isVisible());
    EXPECT_TRUE(form->JumpMenu->menuAction()->isVisible());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &esc);
    EXPECT_TRUE(form->SpeedBar->isVisibleTo(form.get()));
    EXPECT_FALSE(form->ESCButton->isVisibleTo(form.get()));
    EXPECT_TRUE(form->FileMenu->menuAction()->isVisible());
    EXPECT_TRUE(form->isVisible());

    form->SpeedBar_Menu->trigger();
    EXPECT_FALSE(form->SpeedBar->isVisibleTo(form.get()));
    EXPECT_FALSE(form->SpeedBar_Menu->isChecked());
}

TEST_F(PreviewTest, PrintingFromThePreview)
{
    const QString out = dir.filePath("preview.pdf");
    VDBPrint().selectPdf(out);
    auto form = open(3, 2, 0);
    form->Bottom_PageClick();
    form->MenuZoomClick(5);
    QString jobMessage;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto *dlg = qobject_cast<TNowPrintingdlg *>(QApplication::activeModalWidget()))
            jobMessage = dlg->PrintMessage->text();
    });
    watch.start(5);
    form->PrintButton->click();
    EXPECT_EQ(jobMessage, QStringLiteral("只今印刷中..."));
    // Print-form flag 0: the data alone, although the preview shows the form.
    const PdfContent pdf = readPdf(out);
    ASSERT_EQ(pdf.pages, 3);
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_EQ(form->zoom(), 10);
    EXPECT_EQ(form->WherePage->text(), QStringLiteral("1/4")); // 2 form pages, 3 data pages
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PreviewTest, ReadErrorIsToldOnceAndThePageStaysEmpty)
{
    PrintoutState().dataPath = QStringLiteral("/proc/self/mem");
    TImageDispForm form;
    form.show();
    form.DispNext();
    form.MenuZoomClick(5);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("\"/proc/self/mem\"を読み込めません!")});
    EXPECT_EQ(form.pageTotal(), 1);
}

TEST_F(PreviewTest, ArrowKeysScrollAndHintsShowInTheStatusBar)
{
    auto form = open(1, 0);
    form->resize(400, 300);
    form->MenuZoomClick(20);
    QScrollBar *v = form->ImagePaintScrollBox->verticalScrollBar();
    QScrollBar *h = form->ImagePaintScrollBox->horizontalScrollBar();
    ASSERT_GT(v->maximum(), 100);
    ASSERT_GT(h->maximum(), 100);
    const struct
    {
        Qt::Key key;
        int v, h;
    } steps[] = {{Qt::Key_Down, 10, 0},
                 {Qt::Key_Down, 20, 0},
                 {Qt::Key_Right, 20, 10},
                 {Qt::Key_Up, 10, 10},
                 {Qt::Key_Left, 10, 0}};
    for (const auto &s : steps) {
        QKeyEvent key(QEvent::KeyPress, s.key, Qt::NoModifier);
        QApplication::sendEvent(form->KeyIn, &key);
        EXPECT_EQ(v->value(), s.v);
        EXPECT_EQ(h->value(), s.h);
    }
    QStatusTipEvent tip(form->PrintButton->statusTip());
    QApplication::sendEvent(form->PrintButton, &tip);
    EXPECT_EQ(form->StatusPanel2->text(), QStringLiteral("印刷実行"));
}
