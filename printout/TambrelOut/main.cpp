#include "CupsPrinterPlatform.h"
#include "PrintoutTexts.h"
#include "QxPrinters.h"
#include "TambrelOutForm.h"
#include "VDBPrint.h"
#include "ui/ProgramStart.h"

int main(int argc, char **argv)
{
    std::unique_ptr<CupsPrinterPlatform> platform;
    std::unique_ptr<TQxPrinter> printerInfo;
    QString defaultPrinter;
    ProgramStart::Program program;
    program.name = QStringLiteral("TambrelOut");
    program.title = PrintoutTexts::AppTitle;
    program.beforeSettings = [&] {
        platform = std::make_unique<CupsPrinterPlatform>(VDBPrint());
        printerInfo = std::make_unique<TQxPrinter>(*platform);
    };
    program.afterSettings = [&] { defaultPrinter = RecordDefaultPrinter(*printerInfo); };
    program.createMainWindow = [&](const QStringList &arguments) {
        return std::make_unique<TTambrelOutForm>(*printerInfo, defaultPrinter, arguments.value(0));
    };
    return ProgramStart::Run(argc, argv, program);
}
