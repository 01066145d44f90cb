#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class CommandFile;

// Where each page of a command file starts, found in one pass, so that a
// page can be reached without reading the pages before it. Positions the
// file exactly as SkipToPage would.
class PageIndex
{
public:
    // Rebuilds the index when the file changed since the last call (path,
    // size or time); false when the file does not exist.
    bool update(const QString &path);
    void clear();

    // 1 + the number of E records.
    int pageCount() const { return m_endPositions.size() + 1; }
    // As SkipToPage(file, n, wrap) on the indexed file.
    bool seekToPage(CommandFile &file, int n, bool wrap) const;

private:
    QString m_path;
    qint64 m_size = -1;
    QDateTime m_modified;
    QList<qint64> m_endPositions; // after each E line
    QList<qint64> m_cycleStarts;  // page starts when the file repeats
};
