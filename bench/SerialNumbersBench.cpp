// Slip numbers per second drawn from the shared counter through a Firebird
// server on loopback, with 1, 4 and 8 programs drawing at once. Each program
// is a process of its own, as the clerks' programs are. Starts and stops its
// own server (scripts/fb-server).
//   bench-serial-numbers [--size N]   N numbers per program (default 20)

#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"
#include "serial/SerialNumber.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultSize = 20;
constexpr int kDefaultPort = 3077;

void useDatabase(const QString &path)
{
    TambrelSettings s;
    s.F_DbPath = path;
    s.DenKetaCD = 1;
    s.AutoRenban = true;
    ReplaceSettings(s);
}

// One program: waits for "go" on its input, then reserves and saves count
// numbers, printing "S number" per saved slip and "E text" per failure.
int runClient(const QString &database, int count)
{
    useDatabase(database);
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    for (int i = 0; i < count; ++i) {
        try {
            const QString n = GetSerialNumber(kSlipNumberKind, 1, false);
            GetSerialNumber(kSlipNumberKind, 1, true, n);
            std::printf("S %s\n", qPrintable(n));
        } catch (const AppError &e) {
            std::printf("E %s %s\n", qPrintable(e.message()), qPrintable(e.detail()));
        }
    }
    std::printf("retries %d\n", SerialNumberRetries());
    std::fflush(stdout);
    return 0;
}

struct RunResult
{
    double numbersPerSecond = 0;
    int errors = 0;
    int retries = 0;
    QStringList saved;
};

RunResult runClients(const QString &self, const QString &database, int clients, int size)
{
    std::vector<std::unique_ptr<QProcess>> procs;
    for (int i = 0; i < clients; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(self, {QStringLiteral("--client"), database, QString::number(size)});
        procs.push_back(std::move(p));
    }
    // Start-up of the programs is not measured.
    for (auto &p : procs) {
        while (!p->canReadLine() && p->state() != QProcess::NotRunning)
            p->waitForReadyRead(10000);
        p->readLine();
    }
    QElapsedTimer clock;
    clock.start();
    for (auto &p : procs)
        p->write("go\n");
    RunResult result;
    for (auto &p : procs) {
        p->waitForFinished(600000);
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            ++result.errors;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    int numbers = 0;
    for (auto &p : procs) {
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.startsWith("S ")) {
                result.saved << QString::fromLatin1(line.mid(2).trimmed());
                ++numbers;
            } else if (line.startsWith("retries ")) {
                result.retries += line.mid(8).trimmed().toInt();
            } else if (line.startsWith("E ")) {
                ++result.errors;
                std::fprintf(stderr, "%s\n", line.constData());
            }
        }
    }
    result.numbersPerSecond = numbers / seconds;
    return result;
}

class OwnServer
{
public:
    OwnServer(int port, const QString &state) : m_state(state)
    {
        const int rc = QProcess::execute(QStringLiteral("bash"),
                                         {QStringLiteral(TAMBREL_SOURCE_DIR "/scripts/fb-server"),
                                          QStringLiteral("start"), QString::number(port), state});
        m_started = rc == 0;
    }
    ~OwnServer()
    {
        QProcess::execute(QStringLiteral("bash"),
                          {QStringLiteral(TAMBREL_SOURCE_DIR "/scripts/fb-server"),
                           QStringLiteral("stop"), m_state});
    }
    bool started() const { return m_started; }

private:
    QString m_state;
    bool m_started = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--client")) {
        const int rc = runClient(args[2], args[3].toInt());
        Database::shutdownEngine();
        return rc;
    }
    int size = kDefaultSize;
    const int sizeAt = args.indexOf(QStringLiteral("--size"));
    if (sizeAt > 0 && sizeAt + 1 < args.size())
        size = std::max(1, args[sizeAt + 1].toInt());
    const int port =
        QProcessEnvironment::systemEnvironment()
            .value(QStringLiteral("TAMBREL_BENCH_FB_PORT"), QString::number(kDefaultPort))
            .toInt();

    QTemporaryDir state(QDir::temp().filePath(QStringLiteral("tambrel-bench-serial-XXXXXX")));
    int rc = 0;
    {
        OwnServer server(port, state.path());
        if (!server.started()) {
            std::fprintf(stderr, "cannot start a Firebird server on port %d\n", port);
            return 1;
        }
        const QString database =
            QStringLiteral("localhost/%1:%2/db/BENCH.FDB").arg(port).arg(state.path());
        try {
            SchemaSetup::createDatabase(database, QStringLiteral(TAMBREL_DATA_DIR));
        } catch (const std::exception &e) {
            std::fprintf(stderr, "cannot create the database: %s\n", e.what());
            return 1;
        }

        // The floor: a bare update and commit of the counter row over a
        // connection kept open, the least a draw can cost.
        useDatabase(database);
        double floorMs = 0;
        try {
            GetSerialNumber(kSlipNumberKind, 1, true); // makes the row
            Database db;
            Transaction tr;
            ConnectDatabaseTo(db, tr, database);
            Query upd(db, tr);
            upd.setSql(QStringLiteral("UPDATE RENBAN SET SCOUNT = SCOUNT WHERE KUBUN = :P0"));
            upd.setParam(QStringLiteral("P0"), kSlipNumberKind);
            const int rounds = std::max(20, 4 * size);
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < rounds; ++i) {
                tr.start();
                upd.execute();
                tr.commit();
            }
            floorMs = clock.nsecsElapsed() / 1e6 / rounds;
            db.disconnect();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "floor failed: %s\n", e.what());
            return 1;
        }
        std::printf("floor: %.3f ms per update and commit\n", floorMs);

        QMap<int, double> rates;
        int errors = 0;
        QMap<QString, int> seen;
        for (int clients : {1, 4, 8}) {
            const RunResult r = runClients(app.applicationFilePath(), database, clients, size);
            rates[clients] = r.numbersPerSecond;
            errors += r.errors;
            for (const QString &n : r.saved)
                ++seen[n];
            std::printf("clients-%d: %.1f numbers/s\n", clients, r.numbersPerSecond);
            std::printf("retries-%d: %.2f per number\n", clients,
                        r.saved.isEmpty() ? 0.0 : double(r.retries) / r.saved.size());
        }
        int duplicates = 0;
        for (int count : seen)
            duplicates += count > 1 ? count - 1 : 0;
        std::printf("errors: %d count\n", errors);
        std::printf("duplicates: %d count\n", duplicates);
        // One program's rate against the total of several: above 1 means
        // more programs together draw fewer numbers.
        // One draw is two calls (reserve, save) by one program.
        const double drawMs = rates[1] > 0 ? 1000.0 / rates[1] / 2 : 0;
        std::printf("draw-1: %.3f ms per call\n", drawMs);
        std::printf("ratio draw-1: %.3f\n", drawMs / floorMs);
        std::printf("ratio clients-4: %.3f\n", rates[1] / rates[4]);
        std::printf("ratio clients-8: %.3f\n", rates[1] / rates[8]);
        rc = errors == 0 && duplicates == 0 ? 0 : 1;
    }
    Database::shutdownEngine();
    return rc;
}
