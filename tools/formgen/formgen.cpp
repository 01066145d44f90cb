// tambrel-formgen: draws the slip pictures, writes the form overlay files and
// the screen edit tables from the form descriptions, or regenerates the seed
// layout rows.
//
//   tambrel-formgen --forms FOLDER --out FOLDER
//   tambrel-formgen --forms FOLDER --seed FILE
//   tambrel-formgen --forms FOLDER --sample TYPE VARIANT FILE
//
// --sample writes a print command file of one slip with every element
// filled to its full width, placed from the type's layout row as the print
// composition places it; printed over the overlay it shows whether every
// value lands in its box.

#include "FormGeometry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QSaveFile>

#include <cstdio>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw FormError("cannot write " + path.toStdString());
    }
}

void writeAll(const FormSet &set, const QString &out)
{
    const QDir dir(out);
    QStringList overlaysDone;
    for (const QString &id : set.typeOrder()) {
        const SlipTypeGeometry &type = set.type(id);
        const Form &form = set.formOf(type);
        for (auto it = type.pictures.begin(); it != type.pictures.end(); ++it) {
            const QString path = dir.filePath(it.value());
            QDir().mkpath(QFileInfo(path).absolutePath());
            const QImage image = set.picture(type, it.key());
            if (!image.save(path, "JPEG", 92)) {
                throw FormError("cannot write the JPEG picture " + path.toStdString());
            }
            std::printf("%s\n", qPrintable(it.value()));
        }
        for (const FormVariant &variant : form.variants) {
            if (overlaysDone.contains(variant.overlay)) {
                continue;
            }
            overlaysDone << variant.overlay;
            writeFile(dir.filePath(variant.overlay), set.overlayFile(form, variant.name));
            std::printf("%s\n", qPrintable(variant.overlay));
        }
        const QString table = QStringLiteral("FormEdits/%1.json").arg(type.id);
        writeFile(dir.filePath(table), QJsonDocument(set.editTable(type)).toJson());
        std::printf("%s\n", qPrintable(table));
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Pictures are drawn with fonts but never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString forms;
    QString out;
    QString seed;
    QStringList sample;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--forms") && i + 1 < args.size()) {
            forms = args.at(++i);
        } else if (a == QLatin1String("--out") && i + 1 < args.size()) {
            out = args.at(++i);
        } else if (a == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args.at(++i);
        } else if (a == QLatin1String("--sample") && i + 3 < args.size()) {
            sample = args.mid(i + 1, 3);
            i += 3;
        } else {
            std::fprintf(stderr, "usage: tambrel-formgen --forms FOLDER (--out FOLDER | --seed "
                                 "FILE | --sample TYPE VARIANT FILE)\n");
            return 2;
        }
    }
    if (forms.isEmpty() || (out.isEmpty() && seed.isEmpty() && sample.isEmpty())) {
        std::fprintf(stderr, "usage: tambrel-formgen --forms FOLDER (--out FOLDER | --seed FILE | "
                             "--sample TYPE VARIANT FILE)\n");
        return 2;
    }
    try {
        const FormSet set = FormSet::load(forms);
        if (!out.isEmpty()) {
            writeAll(set, out);
        }
        if (!seed.isEmpty()) {
            writeFile(seed, set.seedSql().toUtf8());
            std::printf("%s\n", qPrintable(seed));
        }
        if (!sample.isEmpty()) {
            writeFile(sample.at(2), set.sampleSlip(set.type(sample.at(0)), sample.at(1)));
            std::printf("%s\n", qPrintable(sample.at(2)));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tambrel-formgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
