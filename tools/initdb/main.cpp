// tambrel-initdb: creates the slip database from the schema and seed SQL.
//
//   tambrel-initdb [PATH] [--data FOLDER]
//
// PATH defaults to Database/TAMBREL.FDB beside the programs; a path of the
// form host:/path creates the database on a Firebird server. An existing
// file is never overwritten. TAMBREL_DB_USER and TAMBREL_DB_PASSWORD name
// the user who makes (and on a server owns) the database; without them it
// is the suite's fixed user.

#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/SchemaSetup.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString dataFolder = QDir(app.applicationDirPath()).filePath(QStringLiteral("data"));
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--data") && i + 1 < args.size()) {
            dataFolder = args.at(++i);
        } else if (args.at(i) == QLatin1String("--help") || args.at(i) == QLatin1String("-h")) {
            std::printf("usage: tambrel-initdb [PATH] [--data FOLDER]\n");
            return 0;
        } else if (path.isEmpty()) {
            path = args.at(i);
        } else {
            std::fprintf(stderr, "tambrel-initdb: unexpected argument %s\n",
                         qPrintable(args.at(i)));
            return 2;
        }
    }
    if (path.isEmpty())
        path = DefaultDatabasePath(app.applicationDirPath());

    try {
        SchemaSetup::createDatabase(path, dataFolder,
                                    QString::fromLocal8Bit(qgetenv("TAMBREL_DB_USER")),
                                    QString::fromLocal8Bit(qgetenv("TAMBREL_DB_PASSWORD")));
    } catch (const SchemaSetup::Exists &) {
        std::fprintf(stderr, "tambrel-initdb: %s already exists; not overwritten\n",
                     qPrintable(path));
        return 1;
    } catch (const DbError &e) {
        std::fprintf(stderr, "tambrel-initdb: %s\n", e.text().toLocal8Bit().constData());
        Database::shutdownEngine();
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tambrel-initdb: %s\n", e.what());
        Database::shutdownEngine();
        return 1;
    }
    Database::shutdownEngine();
    std::printf("created %s\n", qPrintable(path));
    return 0;
}
