#include "CommandFile.h"

#include "text/ShiftJis.h"

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
}

CommandFileError::CommandFileError(const QString &path, const QString &reason)
    : std::runtime_error((path + QLatin1String(": ") + reason).toStdString()), m_path(path)
{
}

CommandFile::CommandFile(const QString &path)
{
    open(path);
}

CommandFile::~CommandFile()
{
    close();
}

void CommandFile::open(const QString &path)
{
    close();
    m_path = path;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        throw CommandFileError(path, m_file.errorString());
    seek(0);
}

void CommandFile::close()
{
    if (m_file.isOpen())
        m_file.close();
    m_buffer.clear();
    m_bufferStart = 0;
    m_cursor = 0;
    m_eof = true;
}

void CommandFile::fill()
{
    // Keep the unread tail and append the next chunk.
    if (m_eof)
        return;
    m_bufferStart += m_cursor;
    m_buffer.remove(0, m_cursor);
    m_cursor = 0;
    const QByteArray more = m_file.read(ChunkSize);
    if (more.isEmpty()) {
        if (m_file.error() != QFileDevice::NoError)
            throw CommandFileError(m_path, m_file.errorString());
        m_eof = true;
        return;
    }
    m_buffer.append(more);
}

bool CommandFile::atEnd() const
{
    if (m_cursor < m_buffer.size())
        return false;
    if (m_eof)
        return true;
    return m_bufferStart + m_cursor >= m_file.size();
}

QByteArray CommandFile::readLine()
{
    // Bytes searched once are not searched again when the next chunk comes,
    // so a long line costs time in proportion to its length.
    qsizetype scanned = 0; // from the line's start
    for (;;) {
        const char *data = m_buffer.constData();
        qsizetype i = m_cursor + scanned;
        for (; i < m_buffer.size(); ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r')
                continue;
            // A CR at the end of the buffer may be the first half of CR LF.
            if (c == '\r' && i + 1 == m_buffer.size() && !m_eof) {
                break;
            }
            QByteArray line(data + m_cursor, i - m_cursor);
            m_cursor = i + 1;
            if (c == '\r' && m_cursor < m_buffer.size() && data[m_cursor] == '\n')
                ++m_cursor;
            return line;
        }
        if (m_eof) {
            QByteArray line = m_buffer.mid(m_cursor);
            m_cursor = m_buffer.size();
            return line;
        }
        scanned = i - m_cursor;
        fill();
    }
}

qint64 CommandFile::pos() const
{
    return m_bufferStart + m_cursor;
}

void CommandFile::seek(qint64 position)
{
    if (!m_file.isOpen())
        return;
    if (!m_file.seek(position))
        throw CommandFileError(m_path, m_file.errorString());
    m_buffer.clear();
    m_bufferStart = position;
    m_cursor = 0;
    m_eof = false;
    fill();
}

QString NextField(const QString &line, qsizetype &position, QChar separator)
{
    if (position >= line.size()) {
        position = line.size();
        return QString();
    }
    qsizetype end = line.indexOf(separator, position);
    if (end < 0)
        end = line.size();
    const QString field = line.mid(position, end - position);
    position = end + 1;
    return field;
}

int FieldToInt(const QString &field, int fallback)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

CommandRecord::CommandRecord(const QByteArray &line) : m_line(ShiftJis::decode(line))
{
    if (!m_line.endsWith(QLatin1Char(';')))
        m_line.append(QLatin1Char(';'));
    const QChar first = m_line.at(0);
    // Only ASCII letters are record letters; others stay as they are and match none.
    m_letter = (first >= QLatin1Char('a') && first <= QLatin1Char('z')) ? first.toUpper() : first;
}

QString CommandRecord::text()
{
    return NextField(m_line, m_position);
}

int CommandRecord::number(int fallback)
{
    return FieldToInt(text(), fallback);
}
