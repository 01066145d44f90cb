#pragma once

#include <QString>

#include <exception>
#include <string>

// An error raised with a fixed text for the user ("Database Connect Error",
// "データ更新中にエラーが発生しました。"). The application-wide handler shows
// it as an error box; the action ends and the window stays open.
class AppError : public std::exception
{
public:
    explicit AppError(QString message, QString detail = {});

    const QString &message() const { return m_message; }
    // Technical detail (for example the database's own status text); not
    // shown in the box, but kept for diagnostics and tests.
    const QString &detail() const { return m_detail; }
    const char *what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_message;
    QString m_detail;
    std::string m_utf8;
};
