#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <stdexcept>

// A print command file opened for reading, line by line. Lines end in CR LF;
// a lone LF or CR also ends a line, so a stray break never joins two records.
// Read errors are raised as CommandFileError.
class CommandFile
{
public:
    CommandFile() = default;
    explicit CommandFile(const QString &path);
    ~CommandFile();
    CommandFile(const CommandFile &) = delete;
    CommandFile &operator=(const CommandFile &) = delete;

    // Opens the file (closing any other); throws CommandFileError when it
    // cannot be read.
    void open(const QString &path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    const QString &path() const { return m_path; }

    bool atEnd() const;
    // The next line without its line break, as the file holds it (Shift-JIS).
    QByteArray readLine();
    void rewind() { seek(0); }
    // Byte position of the next line; seek() takes such a position back.
    qint64 pos() const;
    void seek(qint64 position);

private:
    void fill();

    QFile m_file;
    QString m_path;
    QByteArray m_buffer;
    qint64 m_bufferStart = 0; // file position of m_buffer[0]
    qsizetype m_cursor = 0;   // read position inside m_buffer
    bool m_eof = false;       // nothing left in the file beyond m_buffer
};

class CommandFileError : public std::runtime_error
{
public:
    CommandFileError(const QString &path, const QString &reason);
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

// One record of a command file: the upper-cased letter and its fields.
class CommandRecord
{
public:
    // Decodes the line from Shift-JIS; an absent trailing ";" is supplied.
    explicit CommandRecord(const QByteArray &line);

    QChar letter() const { return m_letter; }
    // Fields in order, 0 being the one right after the letter.
    QString text();
    int number(int fallback = 0);

private:
    QString m_line;
    QChar m_letter;
    qsizetype m_position = 1; // the character after the letter
};

// The text from position up to the next separator; position moves past it.
// Beyond the end of the line the field is empty.
QString NextField(const QString &line, qsizetype &position, QChar separator = QLatin1Char(';'));
// A decimal integer (optional sign, surrounding spaces allowed), else fallback.
int FieldToInt(const QString &field, int fallback = 0);
