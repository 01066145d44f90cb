#include "PdfWords.h"

#include <QProcess>
#include <QRegularExpression>

#include <stdexcept>

QStringList PdfContent::wordsOnPage(int page) const
{
    QStringList out;
    for (const PdfWord &w : words) {
        if (w.page == page)
            out << w.text;
    }
    return out;
}

const PdfWord *PdfContent::find(const QString &text) const
{
    for (const PdfWord &w : words) {
        if (w.text == text)
            return &w;
    }
    return nullptr;
}

PdfContent readPdf(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("pdftotext failed on " + path.toStdString());
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression token(
        QStringLiteral("<page width=\"([-0-9.]+)\" height=\"([-0-9.]+)\"|<word xMin=\"([-0-9.]+)\" "
                       "yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
                       "yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    PdfContent c;
    auto it = token.globalMatch(out);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            if (++c.pages == 1) {
                c.pageWidth = m.captured(1).toDouble();
                c.pageHeight = m.captured(2).toDouble();
            }
            continue;
        }
        PdfWord w;
        w.page = c.pages;
        w.xMin = m.captured(3).toDouble();
        w.yMin = m.captured(4).toDouble();
        w.xMax = m.captured(5).toDouble();
        w.yMax = m.captured(6).toDouble();
        w.text = m.captured(7);
        c.words.append(w);
    }
    return c;
}
