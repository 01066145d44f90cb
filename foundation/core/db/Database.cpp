#include "Database.h"

#include "FbStatus.h"
#include "Transaction.h"
#include "text/ShiftJis.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <ibase.h>
#include <iberror.h>

#include <vector>

using namespace Firebird;

namespace FbStatus {

IMaster *master()
{
    static IMaster *m = fb_get_master_interface();
    return m;
}

DbError toDbError(const FbException &e)
{
    char buffer[2048];
    IUtil *util = master()->getUtilInterface();
    util->formatStatus(buffer, sizeof buffer, e.getStatus());
    const intptr_t *errors = e.getStatus()->getErrors();
    long engineCode = 0;
    if (errors && errors[0] == isc_arg_gds)
        engineCode = static_cast<long>(errors[1]);
    const long sqlCode = static_cast<long>(isc_sqlcode(errors));
    // The engine's texts are in the connection's character set or ASCII.
    return DbError(ShiftJis::decode(QByteArray(buffer)), sqlCode, engineCode);
}

} // namespace FbStatus

Database::Database() = default;

Database::~Database()
{
    try {
        disconnect();
    } catch (...) {
        // A failed detach while tearing down leaves nothing to recover.
    }
    // Transactions that outlive us must not reach back into a freed object.
    for (Transaction *t : std::set<Transaction *>(m_transactions))
        t->forgetDatabase();
}

IMaster *Database::master()
{
    return FbStatus::master();
}

QByteArray Database::buildDpb(bool forCreate, int pageSize) const
{
    return FbStatus::call([&](ThrowStatusWrapper *st) {
        IXpbBuilder *dpb =
            master()->getUtilInterface()->getXpbBuilder(st, IXpbBuilder::DPB, nullptr, 0);
        struct Dispose
        {
            IXpbBuilder *b;
            ~Dispose() { b->dispose(); }
        } dispose{dpb};
        if (!m_params.user.isEmpty())
            dpb->insertString(st, isc_dpb_user_name, m_params.user.toLatin1().constData());
        if (!m_params.password.isEmpty())
            dpb->insertString(st, isc_dpb_password, m_params.password.toLatin1().constData());
        if (!m_params.charset.isEmpty())
            dpb->insertString(st, isc_dpb_lc_ctype, m_params.charset.toLatin1().constData());
        dpb->insertInt(st, isc_dpb_sql_dialect, m_params.dialect);
        if (forCreate) {
            dpb->insertInt(st, isc_dpb_page_size, pageSize);
            if (!m_params.charset.isEmpty())
                dpb->insertString(st, isc_dpb_set_db_charset,
                                  m_params.charset.toLatin1().constData());
        }
        return QByteArray(reinterpret_cast<const char *>(dpb->getBuffer(st)),
                          static_cast<qsizetype>(dpb->getBufferLength(st)));
    });
}

namespace {

QByteArray pathBytes(const QString &path)
{
    // Local paths are file names in the system's encoding; the part after the
    // host is passed to the server the same way.
    return QFile::encodeName(path);
}

} // namespace

void Database::connect()
{
    if (m_attachment)
        return;
    const QByteArray dpb = buildDpb(false, 0);
    const QByteArray path = pathBytes(m_params.path);
    m_attachment = FbStatus::call([&](ThrowStatusWrapper *st) {
        IProvider *provider = master()->getDispatcher();
        struct Release
        {
            IProvider *p;
            ~Release() { p->release(); }
        } release{provider};
        return provider->attachDatabase(st, path.constData(), static_cast<unsigned>(dpb.size()),
                                        reinterpret_cast<const unsigned char *>(dpb.constData()));
    });
}

void Database::create(int pageSize)
{
    if (m_attachment)
        disconnect();
    const QByteArray dpb = buildDpb(true, pageSize);
    const QByteArray path = pathBytes(m_params.path);
    m_attachment = FbStatus::call([&](ThrowStatusWrapper *st) {
        IProvider *provider = master()->getDispatcher();
        struct Release
        {
            IProvider *p;
            ~Release() { p->release(); }
        } release{provider};
        return provider->createDatabase(st, path.constData(), static_cast<unsigned>(dpb.size()),
                                        reinterpret_cast<const unsigned char *>(dpb.constData()));
    });
}

void Database::disconnect()
{
    if (!m_attachment)
        return;
    for (Transaction *t : std::set<Transaction *>(m_transactions)) {
        try {
            if (t->active())
                t->rollback();
        } catch (const DbError &) {
            // The attachment goes away next; its transactions with it.
        }
        t->releaseStatements();
    }
    IAttachment *att = m_attachment;
    m_attachment = nullptr;
    try {
        FbStatus::call([&](ThrowStatusWrapper *st) { att->detach(st); });
    } catch (const DbError &) {
        att->release(); // a lost connection still frees its handle
        throw;
    }
}

void Database::executeImmediate(Transaction &transaction, const QString &sql)
{
    if (!m_attachment)
        throw DbError(QStringLiteral("database not connected"));
    transaction.ensureStarted();
    const QByteArray text = ShiftJis::encode(sql);
    FbStatus::call([&](ThrowStatusWrapper *st) {
        m_attachment->execute(st, transaction.handle(), 0, text.constData(),
                              static_cast<unsigned>(m_params.dialect), nullptr, nullptr, nullptr,
                              nullptr);
    });
}

bool Database::isServerPath(const QString &path)
{
    // host:/path or host/port:/path; a one-letter "host" is a drive letter.
    static const QRegularExpression re(QStringLiteral("^[^/\\\\:]{2,}(/[0-9A-Za-z_]+)?:."));
    return re.match(path.trimmed()).hasMatch();
}

bool Database::embeddedEngineInstalled()
{
    IConfigManager *config = master()->getConfigManager();
    const char *plugins = config->getDirectory(IConfigManager::DIR_PLUGINS);
    if (!plugins)
        return false;
    const QDir dir(QString::fromLocal8Bit(plugins));
    return QFileInfo::exists(dir.filePath(QStringLiteral("libEngine12.so")));
}

void Database::shutdownEngine()
{
    try {
        FbStatus::call([&](ThrowStatusWrapper *st) {
            IProvider *provider = master()->getDispatcher();
            provider->shutdown(st, 0, fb_shutrsn_app_stopped);
            provider->release();
        });
    } catch (const DbError &) {
        // Nothing is left to do when the engine will not stop cleanly.
    }
}
