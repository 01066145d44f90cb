#pragma once

#include <QList>
#include <QString>

// The words of a PDF with their boxes in points, by pdftotext -bbox.
struct PdfWord
{
    int page = 0; // 1-based
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    QString text;
};

struct PdfContent
{
    int pages = 0;
    double pageWidth = 0; // of the first page, points
    double pageHeight = 0;
    QList<PdfWord> words;

    QStringList wordsOnPage(int page) const;
    // The first word with this text; nullptr when there is none.
    const PdfWord *find(const QString &text) const;
};

// Throws std::runtime_error when pdftotext fails.
PdfContent readPdf(const QString &path);

constexpr double PointsPerMm = 72.0 / 25.4;
