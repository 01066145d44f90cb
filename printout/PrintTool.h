#pragma once

#include "PrintoutTexts.h"

#include <QFile>
#include <QString>

#include <stdexcept>

// An input/output error of the command file writer.
class PrintToolError : public std::runtime_error
{
public:
    explicit PrintToolError(const QString &message);
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The writer of print command files. Its settings and the open file belong
// to the program run, not to the object: a writer created later starts with
// what the previous one left.
class TPrintTool
{
public:
    TPrintTool() = default;

    void SetDataFile(const QString &path);
    void SetFormFile(const QString &path);
    void SetTitle(const QString &text);
    void SetOrientation(int value);
    void SetPaperSize(int code);
    void SetLeftOffset(int value);
    void SetTopOffset(int value);
    void SetPrintForm(quint8 flag);
    void SetShowDialog(quint8 flag);

    // Creates or truncates the data file. Throws PrintToolError.
    void OpenFile();
    // One T record followed by an empty line. A text the Shift-JIS code page
    // cannot hold is refused (ShiftJisError); nothing of it is written.
    void WriteText(int x, int y, const QString &text, const QString &fontName, int size,
                   const QString &style, const QString &colorName, const QString &background);
    void EndPage();
    void CloseFile();

    // False when the user cancelled; true otherwise, also when the job could
    // not start (the reason was shown to the user).
    bool Print();
    void Preview();

    static int ColorCode(const QString &name);

    // The settings as they stand (for the print and preview entries and tests).
    struct Settings
    {
        QString dataFile = QStringLiteral("pdbwork.tmp");
        QString formFile;
        QString title;
        int orientation = 0;
        int paperSize = 0;
        int leftOffset = 0;
        int topOffset = 0;
        quint8 printForm = 0;
        quint8 showDialog = 1;
        QString message = PrintoutTexts::WriterPrintMessage;
    };
    static const Settings &settings();
    // Back to the values of program start; closes an open file.
    static void resetSettings();

    // The bytes of one T record as WriteText writes them.
    static QByteArray TextRecord(int x, int y, const QString &text, const QString &fontName,
                                 int size, const QString &style, const QString &colorName,
                                 const QString &background);
    // The same with the colour as its number, for writers that hold colours
    // as numbers (the form overlays).
    static QByteArray TextRecord(int x, int y, const QString &text, const QString &fontName,
                                 int size, const QString &style, int color,
                                 const QString &background);

private:
    static void write(const QByteArray &bytes);
};
