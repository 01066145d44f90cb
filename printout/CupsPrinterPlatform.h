#pragma once

#include "QxPrinters.h"

class TVDBPrint;

// The printers of CUPS as Qt lists them, and the PDF printer after them;
// the current printer and its paper are those of the program's TVDBPrint.
class CupsPrinterPlatform : public PrinterPlatform
{
public:
    explicit CupsPrinterPlatform(TVDBPrint &printer);

    QList<Entry> enumerate() override;
    int currentIndex() override;
    QString currentDeviceName() override;
    void selectPrinter(const QString &name) override;
    QList<Paper> papers() override;
    DeviceSettings settings() override;
    void applySettings(const DeviceSettings &settings) override;
    void recreate() override;

    // The papers the PDF printer offers.
    static QList<Paper> pdfPapers();

private:
    TVDBPrint &m_printer;
};
