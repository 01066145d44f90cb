// The slip export into an .xlsx: time for all 198 columns of every slip
// against a bare libxlsxwriter loop writing the same values from the same
// fetched rows, and the peak memory of the export at a tenth of the size and
// at the full size (rows are streamed, so the two stay close).
//
//   bench-export [--size N]   (default 100000 slips)

#include "ExportColumns.h"
#include "ExportSql.h"
#include "ExportTexts.h"
#include "SheetWriter.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/SchemaSetup.h"
#include "db/Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

long statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(static_cast<qsizetype>(std::strlen(key)))
                .trimmed()
                .split(' ')
                .first()
                .toLong();
    }
    return -1;
}

// Starts a new peak: the kernel resets VmHWM to the current resident size.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Slips with a header, three item lines and the trading partner filled in.
void fill(Database &db, int size)
{
    Transaction tr(&db);
    db.executeImmediate(
        tr,
        QStringLiteral(
            "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < %1) DO BEGIN "
            "INSERT INTO TAMBREL (ID, PRINTOUT, CONAME, TENPONAME, COCODE, BUNRUICODE, DENKUBUN, "
            "DENNO_1, DENNO_2, TORIHIKICODE_1, TORIHIKINAME_1, NOUHIN_Y1, NOUHIN_M1, NOUHIN_D1, "
            "NOUHIN_DATE1, NOUHIN_Y2, NOUHIN_M2, NOUHIN_D2, NOUHIN_DATE2, BINN, "
            "HINMEI_11, CODE_11, COLOR_1, KAZU_11, GENKA_11, GENKA_12, URITANKA_1, "
            "HINMEI_21, CODE_21, COLOR_2, KAZU_21, GENKA_21, GENKA_22, URITANKA_2, "
            "HINMEI_31, CODE_31, COLOR_3, KAZU_31, GENKA_31, GENKA_32, URITANKA_3, A_F1) VALUES "
            "(0, MOD(:I, 2), '株式会社テスト商店' || MOD(:I, 50), '本店', '0012', '01', '10', "
            "LPAD(CAST(:I AS VARCHAR(10)), 6, '0'), MOD(:I, 10), '000123', '取引先名', "
            "'06', '07', '25', '060725', '06', '07', '26', '060726', '1', "
            "'品名・規格 サンプル' || :I, '4901234567890', '赤', MOD(:I, 50), 1200, '05', 1980, "
            "'品名 二', '4901234567891', '青', 3, 800, '00', 1200, "
            "'品名 三', '4901234567892', '白', 12, 150, '50', 300, '備考'); "
            "I = I + 1; END END")
            .arg(size));
    tr.commit();
}

struct Table
{
    QTemporaryDir dir;
    Database db;
    Transaction tr;

    explicit Table(int size)
    {
        const QString path = dir.filePath(QStringLiteral("TAMBREL.FDB"));
        SchemaSetup::createDatabase(path, QStringLiteral(TAMBREL_DATA_DIR));
        ConnectDatabaseTo(db, tr, path);
        fill(db, size);
    }
};

// The query the export window builds for all slips of the turnaround format.
void openSlips(Query &q)
{
    const ExportSql sql = BuildExportSql(ExportConditions{});
    q.setSql(sql.lines);
    q.openFirst();
}

// The floor: the same rows fetched the same way, each value written as it
// comes, with nothing else (no formats, headers, widths or text checks).
double bareWrite(Database &db, const QString &file)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    Query q(db, tr);
    openSlips(q);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray name = QFile::encodeName(file);
    lxw_workbook *book = workbook_new_opt(name.constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_row_t row = 0;
    while (q.isOpen()) {
        ++row;
        for (int c = 0; c < q.columnCount(); ++c) {
            const QVariant v = q.value(c);
            if (v.isNull())
                continue;
            if (v.typeId() == QMetaType::QString)
                worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c),
                                       v.toString().toUtf8().constData(), nullptr);
            else
                worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c), v.toDouble(),
                                       nullptr);
        }
        q.next();
    }
    workbook_close(book);
    tr.rollback();
    return t.nsecsElapsed() / 1e6;
}

double oursWrite(Database &db, const QString &file, qint64 *rows)
{
    QElapsedTimer t;
    t.start();
    Transaction tr(&db);
    Query q(db, tr);
    openSlips(q);
    const QStringList headers = ExportHeaders(kFormatTurnaround);
    SheetOptions options;
    options.trueText = QString::fromUtf16(ExportTexts::kTrueText);
    options.falseText = QString::fromUtf16(ExportTexts::kFalseText);
    const SheetOutcome outcome =
        SheetWriter::write(q, &headers, options, file, SheetWriter::Existing::Replace);
    if (rows)
        *rows = outcome.rows;
    tr.rollback();
    return t.nsecsElapsed() / 1e6;
}

QString sizeName(int size)
{
    return size % 1000 == 0 ? QStringLiteral("%1k").arg(size / 1000) : QString::number(size);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int size = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0)
            size = std::max(10, std::atoi(argv[i + 1]));
    }
    const int smallSize = std::max(10, size / 10);
    {
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("bench.xlsx"));
        QElapsedTimer fillTime;
        fillTime.start();
        Table small(smallSize);
        Table large(size);
        std::printf("slips: %d\n", size);
        std::printf("columns: %lld\n", static_cast<long long>(ExportColumnNames(0).size()));
        std::printf("fill: %.0f ms\n", fillTime.nsecsElapsed() / 1e6);

        // Peak memory of our export at both sizes, each from a fresh peak.
        oursWrite(small.db, file, nullptr);
        resetPeak();
        oursWrite(small.db, file, nullptr);
        const long peakSmall = statusKiB("VmHWM:");
        resetPeak();
        qint64 rows = 0;
        const double first = oursWrite(large.db, file, &rows);
        const long peakLarge = statusKiB("VmHWM:");

        // Time: ours, the floor, ours again; the best of ours, so the floor
        // is not favoured by running on warmed caches alone.
        const double f = bareWrite(large.db, file);
        const double o = std::min(first, oursWrite(large.db, file, nullptr));
        std::printf("rows-written: %lld\n", static_cast<long long>(rows));
        std::printf("file: %lld KiB\n", static_cast<long long>(QFile(file).size() / 1024));
        std::printf("export-floor: %.0f ms\n", f);
        std::printf("export: %.0f ms\n", o);
        std::printf("peak-rss-%d: %ld KiB\n", smallSize, peakSmall);
        std::printf("peak-rss-%d: %ld KiB\n", size, peakLarge);
        std::printf("peak-rss-growth: %ld KiB\n", peakLarge - peakSmall);
        std::printf("ratio export-%s: %.2f\n", qPrintable(sizeName(size)), f > 0 ? o / f : -1.0);
        std::printf("ratio peak-memory-%s-vs-%s: %.2f\n", qPrintable(sizeName(size)),
                    qPrintable(sizeName(smallSize)),
                    peakSmall > 0 ? double(peakLarge) / double(peakSmall) : -1.0);
    }
    Database::shutdownEngine();
    return 0;
}
