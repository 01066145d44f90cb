#include "ui/EditFieldSetup.h"
#include "ScopedSettings.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/WinColor.h"
#include "text/ShiftJis.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A stand-in for the data-bound edits of the slip form.
class FakeEdit : public QLineEdit, public DataEditField
{
public:
    FakeEdit(const QString &name, QWidget *parent) : QLineEdit(parent) { setObjectName(name); }
    QString componentName() const override { return objectName(); }
    void setTabStop(bool t) override { setFocusPolicy(t ? Qt::StrongFocus : Qt::ClickFocus); }
    bool tabStop() const override { return focusPolicy() == Qt::StrongFocus; }
    void setImeOpen(bool open) override { m_ime = open; }
    bool imeOpen() const override { return m_ime; }
    void setBackgroundColor(const QColor &c) override { m_color = c; }
    QColor m_color;

private:
    bool m_ime = true;
};

} // namespace

TEST(SetupEditFields, FlagsPerFourCharacterPrefix)
{
    ProgramFolder folder(true);
    TambrelSettings s;
    s.SettingsFilePath = folder.ini();
    s.EditColor = 0x00FFFF00;
    ScopedSettings scoped(s);
    writeFile(folder.ini(), "[DBEdit]\r\nCONA=1\r\nHINM=01\r\nBINN=11\r\n");
    QWidget form;
    auto *cona = new FakeEdit(QStringLiteral("CONA"), &form);
    auto *h11 = new FakeEdit(QStringLiteral("HINMEI_11"), &form);
    auto *h21 = new FakeEdit(QStringLiteral("HINMEI_21"), &form);
    auto *binn = new FakeEdit(QStringLiteral("BINN"), &form);
    auto *kazu = new FakeEdit(QStringLiteral("KAZU_11"), &form);
    QWidget inner(&form);
    auto *nested = new FakeEdit(QStringLiteral("CODE_11"), &inner);
    SetupEditFields(&form);

    // "1": a tab stop with the edit colour, input method closed.
    EXPECT_TRUE(cona->tabStop());
    EXPECT_FALSE(cona->imeOpen());
    EXPECT_EQ(cona->m_color, QColor(0, 0xFF, 0xFF));
    // One key governs every field that shares the prefix.
    for (FakeEdit *h : {h11, h21}) {
        EXPECT_FALSE(h->tabStop());
        EXPECT_TRUE(h->imeOpen());
        EXPECT_FALSE(h->m_color.isValid());
    }
    EXPECT_TRUE(binn->tabStop() && binn->imeOpen());
    // A missing key is written back with "10".
    EXPECT_TRUE(kazu->tabStop());
    EXPECT_FALSE(kazu->imeOpen());
    EXPECT_EQ(IniFile(folder.ini())
                  .readString(QStringLiteral("DBEdit"), QStringLiteral("KAZU"), QString()),
              QStringLiteral("10"));
    // Only direct children of the form are set up.
    EXPECT_FALSE(
        IniFile(folder.ini()).valueExists(QStringLiteral("DBEdit"), QStringLiteral("CODE")));
    EXPECT_TRUE(nested->imeOpen());
}

TEST(GridColumns, SavedAndRestoredByFieldName)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("TAMBREL.ini"));
    QStandardItemModel model(2, 3);
    const char *fields[] = {"DENNO_1", "CONAME", "PRINTOUT"};
    for (int c = 0; c < 3; ++c)
        model.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(fields[c]), kFieldNameRole);
    QTableView grid;
    grid.resize(400, 200);
    grid.setModel(&model);
    grid.setColumnWidth(0, 90);
    grid.setColumnWidth(1, 900); // wider than the grid: stored as the grid's width
    grid.setColumnWidth(2, 40);
    ASSERT_TRUE(SaveGridColumns(&grid, ini, QStringLiteral("SelDataFormDBGrid1")));
    const IniFile saved(ini);
    EXPECT_EQ(saved.readInteger(QStringLiteral("SelDataFormDBGrid1"), QStringLiteral("DENNO_1"), 0),
              90);
    EXPECT_EQ(saved.readInteger(QStringLiteral("SelDataFormDBGrid1"), QStringLiteral("CONAME"), 0),
              400);

    QTableView restored;
    restored.resize(400, 200);
    restored.setModel(&model);
    ASSERT_TRUE(
        LoadGridColumns(&restored, ini, QStringLiteral("SelDataFormDBGrid1"), Qt::AlignCenter));
    EXPECT_EQ(restored.columnWidth(0), 90);
    EXPECT_EQ(restored.columnWidth(1), 400);
    EXPECT_EQ(restored.columnWidth(2), 40);
    EXPECT_EQ(restored.horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
}
