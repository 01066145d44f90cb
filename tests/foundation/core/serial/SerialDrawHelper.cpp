// A clerk's program drawing slip numbers, for the concurrency test: reserves
// numbers, keeps up to a few slips open at once and saves or cancels them at
// random. Prints one line per step ("R n", reserved, "S n" saved, "C n"
// cancelled, each followed by the machine's monotonic clock in nanoseconds
// when the call began and when it returned), "E text" for a failure and at
// the end "retries n", how often it found the counter row held by another
// program.
//   serial-draw-helper DATABASE RESERVATIONS SEED MAX_OPEN CANCEL_PERCENT

#include "app/AppError.h"
#include "db/Database.h"
#include "serial/SerialNumber.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QList>
#include <QRandomGenerator>

#include <cstdio>
#include <ctime>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: %s DATABASE RESERVATIONS SEED MAX_OPEN CANCEL_PERCENT\n",
                     argv[0]);
        return 2;
    }
    TambrelSettings s;
    s.F_DbPath = args[1];
    s.DenKetaCD = 1;
    s.AutoRenban = true;
    ReplaceSettings(s);
    const int reservations = args[2].toInt();
    QRandomGenerator random(args[3].toUInt());
    const int maxOpen = std::max(1, args[4].toInt());
    const int cancelPercent = args[5].toInt();

    auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    QList<QString> open;
    int reserved = 0;
    int rc = 0;
    try {
        while (reserved < reservations || !open.isEmpty()) {
            const bool mayReserve = reserved < reservations && open.size() < maxOpen;
            if (mayReserve && (open.isEmpty() || random.bounded(2) == 0)) {
                const qint64 began = now();
                const QString n = GetSerialNumber(kSlipNumberKind, 1, false);
                std::printf("R %s %lld %lld\n", qPrintable(n), began, now());
                open.append(n);
                ++reserved;
            } else {
                const QString n = open.takeAt(random.bounded(int(open.size())));
                const qint64 began = now();
                if (int(random.bounded(100)) < cancelPercent) {
                    GetSerialNumber(kSlipNumberKind, 0, true, n);
                    std::printf("C %s %lld %lld\n", qPrintable(n), began, now());
                } else {
                    GetSerialNumber(kSlipNumberKind, 1, true, n);
                    std::printf("S %s %lld %lld\n", qPrintable(n), began, now());
                }
            }
            std::fflush(stdout);
        }
    } catch (const AppError &e) {
        std::printf("E %s %s\n", qPrintable(e.message()), qPrintable(e.detail()));
        rc = 1;
    }
    std::printf("retries %d\n", SerialNumberRetries());
    Database::shutdownEngine();
    return rc;
}
