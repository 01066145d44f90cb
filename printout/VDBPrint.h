#pragma once

#include <QPrinter>
#include <QString>

// The printer the print-out program prints through, and the few device
// settings the interpreter changes on it. One per program run: VDBPrint().
class TVDBPrint
{
public:
    // Selects the system default printer; TrueType option 1.
    TVDBPrint();

    QPrinter &printer() { return m_printer; }

    // Windows paper size number of the printer's paper; 256 for a custom size.
    int GetPaperSize() const;
    // False (and nothing changed) for a number no paper size is known by.
    bool SetPaperSize(int code);
    int trueType() const { return m_trueType; }
    void SetTrueType(int value) { m_trueType = value; }
    // Length and width in 0.1 mm, portrait.
    void SetCustomPaper(int length, int width);
    void ClearCustomPaper();
    int customLength() const { return m_customLength; }
    int customWidth() const { return m_customWidth; }

    bool landscape() const;
    void setLandscape(bool landscape);

    // The printable area in whole millimetres, in the current orientation.
    int printableWidthMm() const;
    int printableHeightMm() const;
    int dpiX() const;
    int dpiY() const;

    // The system default printer, or the first one when no default is set,
    // or PDF output when the machine has no printer.
    void selectDefaultPrinter();
    // False when no such printer is installed.
    bool selectPrinter(const QString &name);
    void selectPdf(const QString &path);
    // The PDF printer of the printer list: each job becomes a new file in
    // pdfFolder(), named after the document and the time.
    void selectPdfPrinter();
    bool pdfPrinterSelected() const { return m_pdfPrinter; }
    static void setPdfFolder(const QString &folder);
    // By default "TambrelPDF" in the user's documents folder.
    static QString pdfFolder();
    // Names the output file of a job on the PDF printer; the file of the
    // last job otherwise.
    QString prepareOutput(const QString &docName);
    // The name the printer list knows the current printer by.
    QString currentPrinterName() const;

private:
    QPrinter m_printer;
    int m_trueType = 1;
    bool m_customSelected = false;
    bool m_pdfPrinter = false;
    int m_customLength = 0;
    int m_customWidth = 0;
};

TVDBPrint &VDBPrint();
