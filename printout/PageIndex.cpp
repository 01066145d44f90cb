#include "PageIndex.h"

#include "CommandFile.h"

#include <QFileInfo>

void PageIndex::clear()
{
    m_path.clear();
    m_size = -1;
    m_modified = QDateTime();
    m_endPositions.clear();
    m_cycleStarts.clear();
}

bool PageIndex::update(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        clear();
        return false;
    }
    if (path == m_path && info.size() == m_size && info.lastModified() == m_modified)
        return true;
    clear();
    CommandFile file(path);
    m_cycleStarts.append(0);
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty() || (line.at(0) != 'E' && line.at(0) != 'e'))
            continue;
        m_endPositions.append(file.pos());
        // Reading the last line of the file wraps round instead of counting a page.
        if (!file.atEnd())
            m_cycleStarts.append(file.pos());
    }
    m_path = path;
    m_size = info.size();
    m_modified = info.lastModified();
    return true;
}

bool PageIndex::seekToPage(CommandFile &file, int n, bool wrap) const
{
    file.rewind();
    if (n <= 1)
        return true;
    if (file.atEnd())
        return false; // an empty file has its first page only
    if (wrap) {
        file.seek(m_cycleStarts.at((n - 1) % m_cycleStarts.size()));
        return true;
    }
    if (n - 1 <= m_endPositions.size()) {
        file.seek(m_endPositions.at(n - 2));
        return true;
    }
    file.seek(m_size);
    return false;
}
