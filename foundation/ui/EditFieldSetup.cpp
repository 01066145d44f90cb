#include "EditFieldSetup.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/WinColor.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

#include <exception>

void SetupEditFields(QWidget *form)
{
    const QString path = settings().SettingsFilePath;
    const QString section = QLatin1String(kSectionDBEdit);
    for (QObject *child : form->children()) {
        auto *field = dynamic_cast<DataEditField *>(child);
        if (!field)
            continue;
        const QString prefix = field->componentName().left(4);
        const QString flags = ReadIniString(path, section, prefix, QStringLiteral("10"));
        field->setTabStop(flags.startsWith(QLatin1Char('1')));
        field->setImeOpen(flags.size() >= 2 && flags.at(1) == QLatin1Char('1'));
        if (field->tabStop())
            field->setBackgroundColor(WinColorToQColor(settings().EditColor));
    }
}

namespace {

QString fieldName(const QAbstractItemModel *model, int column)
{
    const QVariant name = model->headerData(column, Qt::Horizontal, kFieldNameRole);
    if (name.isValid() && !name.toString().isEmpty())
        return name.toString();
    return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

} // namespace

bool SaveGridColumns(QTableView *grid, const QString &filePath, const QString &section)
{
    try {
        const QAbstractItemModel *model = grid->model();
        if (!model)
            return false;
        const int gridWidth = grid->width();
        bool ok = true;
        for (int c = 0; c < model->columnCount(); ++c) {
            ok = WriteIniInteger(filePath, section, fieldName(model, c),
                                 qMin(grid->columnWidth(c), gridWidth)) &&
                 ok;
        }
        return ok;
    } catch (const std::exception &) {
        return false;
    }
}

bool LoadGridColumns(QTableView *grid, const QString &filePath, const QString &section,
                     Qt::Alignment titleAlignment)
{
    const QAbstractItemModel *model = grid->model();
    try {
        if (!model)
            return false;
        grid->horizontalHeader()->setDefaultAlignment(titleAlignment);
        const int gridWidth = grid->width();
        for (int c = 0; c < model->columnCount(); ++c) {
            const int def = qMin(grid->columnWidth(c), gridWidth);
            grid->setColumnWidth(c, ReadIniInteger(filePath, section, fieldName(model, c), def));
        }
        grid->viewport()->update();
        return true;
    } catch (const std::exception &) {
        // Back to the columns the data gives.
        grid->horizontalHeader()->reset();
        grid->resizeColumnsToContents();
        return false;
    }
}
