#include "ExportSession.h"

#include "ExportColumns.h"
#include "ExportTexts.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/DbError.h"
#include "text/ShiftJis.h"

namespace {

AppError withText(const char *text, const QString &detail)
{
    return AppError(QString::fromLatin1(text), detail);
}

} // namespace

ExportSession::ExportSession() = default;

ExportSession::~ExportSession()
{
    close();
}

void ExportSession::connect()
{
    close();
    ConnectDatabase(m_database, m_transaction);
    m_query = std::make_unique<Query>(m_database, m_transaction);
}

bool ExportSession::openLines(const QStringList &lines,
                              const QList<QPair<QString, QVariant>> &params)
{
    m_query->setSql(lines);
    for (const auto &p : params)
        m_query->setParam(p.first, p.second);
    m_query->prepare();
    return m_query->openFirst();
}

bool ExportSession::openSlips(const ExportConditions &conditions)
{
    try {
        connect();
        const ExportSql sql = BuildExportSql(conditions);
        return openLines(sql.lines, sql.params);
    } catch (const AppError &e) {
        close();
        throw withText(ExportTexts::kTableOpenError, e.message() + QLatin1Char(' ') + e.detail());
    } catch (const DbError &e) {
        close();
        throw withText(ExportTexts::kTableOpenError, e.text());
    } catch (const ShiftJisError &e) {
        close();
        throw withText(ExportTexts::kTableOpenError, e.userMessage());
    }
}

bool ExportSession::openMaster(int choice)
{
    try {
        const MasterExport master = MasterExportOf(choice);
        if (master.lines.isEmpty())
            throw AppError(QStringLiteral("no master export %1").arg(choice));
        connect();
        return openLines(master.lines, {});
    } catch (const AppError &e) {
        close();
        throw withText(ExportTexts::kExcelOutError, e.message() + QLatin1Char(' ') + e.detail());
    } catch (const DbError &e) {
        close();
        throw withText(ExportTexts::kExcelOutError, e.text());
    }
}

void ExportSession::close()
{
    try {
        if (m_query)
            m_query->close();
    } catch (...) {
        // The cursor ends with its transaction anyway.
    }
    m_query.reset();
    try {
        if (m_transaction.active())
            m_transaction.rollback(); // read only: nothing to keep
    } catch (...) {
    }
    try {
        if (m_database.connected())
            m_database.disconnect();
    } catch (...) {
    }
}
