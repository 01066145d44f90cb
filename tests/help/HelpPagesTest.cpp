#include "ExportTexts.h"
#include "PrintoutTexts.h"
#include "SlipEntryTexts.h"
#include "SlipType.h"
#include "TambrelOutForm.h"
#include "ui/Help.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

// Every help context a window uses opens a page of its own, and the page
// names the window's buttons as they are labelled.

namespace {

QString label(const QString &caption)
{
    QString s = caption;
    s.remove(QLatin1Char('&'));
    return s;
}

QString label(const char16_t *caption)
{
    return label(QString::fromUtf16(caption));
}

QString page(int context)
{
    QFile f(Help::pageForContext(context));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(HelpPages, EveryWindowsContextHasAPageNamingItsButtons)
{
    using namespace SlipEntryTexts;
    const QStringList slipForm = {
        label(kNaviInsert),  label(kNaviDelete),    label(kNaviPost),      label(kNaviCancel),
        label(kNaviPrior),   label(kNaviNext),      label(kSelDataButton), label(kPrintButton),
        label(kExitButton),  label(kToggleButton),  label(kOkButton),      label(kCancelButton),
        label(kCloseButton), label(kSortAscending), label(kSortDescending)};
    struct Window
    {
        const char *name;
        int context;
        QStringList buttons;
    };
    QList<Window> windows;
    for (SlipType type : kAllSlipTypes)
        windows.append({slipTypeInfo(type).program, slipTypeInfo(type).helpContext, slipForm});
    windows.append(
        {"pickers",
         15,
         {label(SlipActionTexts::kOkButton), label(SlipActionTexts::kCancelButton),
          label(SlipActionTexts::kSortAscending), label(SlipActionTexts::kSortDescending),
          label(SlipActionTexts::kAllItems), label(SlipActionTexts::kChooseCompany)}});
    windows.append({"TambrelOut",
                    TTambrelOutForm::HelpContext,
                    {label(PrintoutTexts::PrintButton), label(PrintoutTexts::CloseButton),
                     label(PrintoutTexts::HelpButton), label(PrintoutTexts::PrinterLabel),
                     label(PrintoutTexts::PaperSizeLabel), label(PrintoutTexts::TopLabel),
                     label(PrintoutTexts::LeftLabel)}});
    windows.append({"Kestrav",
                    27,
                    {label(ExportTexts::kSelectButton), label(ExportTexts::kClearButton),
                     label(ExportTexts::kOutputButton), label(ExportTexts::kMenuExit),
                     label(ExportTexts::kPageSlips), label(ExportTexts::kPageMasters)}});

    for (const Window &w : windows) {
        SCOPED_TRACE(w.name);
        const QString file = Help::pageForContext(w.context);
        EXPECT_NE(QFileInfo(file).fileName(), QStringLiteral("index.html"))
            << "context " << w.context << " has no page of its own";
        const QString text = page(w.context);
        for (const QString &button : w.buttons)
            EXPECT_TRUE(text.contains(button))
                << file.toStdString() << " does not name " << button.toStdString();
        // Its pictures are there.
        for (qsizetype at = text.indexOf(QStringLiteral("src=\"")); at >= 0;
             at = text.indexOf(QStringLiteral("src=\""), at + 1)) {
            const QString src = text.mid(at + 5, text.indexOf(u'"', at + 5) - at - 5);
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(file).dir().filePath(src)))
                << src.toStdString();
        }
    }
}
