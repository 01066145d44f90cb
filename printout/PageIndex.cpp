#include "PageIndex.h"

#include "CommandFile.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

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
    m_cycleStarts.append(0);
    QFile raw(path);
    const qint64 size = info.size();
    const uchar *data = raw.open(QIODevice::ReadOnly) && size > 0 ? raw.map(0, size) : nullptr;
    if (data) {
        // One pass over the mapped bytes, with the reader's idea of a line:
        // CR LF, or a lone CR or LF, ends it.
        const auto *bytes = reinterpret_cast<const char *>(data);
        qint64 pos = 0;
        while (pos < size) {
            const char *lf = static_cast<const char *>(memchr(bytes + pos, '\n', size - pos));
            const qint64 lfAt = lf ? lf - bytes : size;
            const char *cr = static_cast<const char *>(memchr(bytes + pos, '\r', lfAt - pos));
            const qint64 end = cr ? cr - bytes : lfAt;
            qint64 next = end;
            if (end < size)
                next = bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n' ? end + 2
                                                                                      : end + 1;
            if (end > pos && (bytes[pos] == 'E' || bytes[pos] == 'e')) {
                m_endPositions.append(next);
                // The last line of the file wraps round instead of counting a page.
                if (next < size)
                    m_cycleStarts.append(next);
            }
            pos = next;
        }
        raw.unmap(const_cast<uchar *>(data));
        m_path = path;
        m_size = size;
        m_modified = info.lastModified();
        return true;
    }
    CommandFile file(path);
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
