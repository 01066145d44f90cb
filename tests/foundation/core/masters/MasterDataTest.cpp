#include "masters/MasterData.h"
#include "MemorySlipRecord.h"
#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "SerialTestSupport.h"
#include "TestDatabase.h"
#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "db/Database.h"
#include "db/EditableResultSet.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "totals/ResultSetSlipRecord.h"
#include "ui/DBEdit.h"
#include "ui/DBEditItemLookup.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TypedCode : public ItemCodeField
{
public:
    TypedCode(int tag, const QString &text) : m_tag(tag), m_text(text) {}
    int tag() const override { return m_tag; }
    QString text() const override { return m_text; }
    bool changed() const override { return m_changed; }
    void setChanged(bool changed) override { m_changed = changed; }
    void setFocusBack() override { ++focusBacks; }
    int focusBacks = 0;

private:
    int m_tag;
    QString m_text;
    bool m_changed = true;
};

struct ItemRow
{
    QString hinmei1, hinmei2, code1, code2, iro, irikazu, sizee, casee, tani;
    QVariant kazu1;
    QString kazu2;
    QVariant genka1;
    QString genka2;
    QVariant uritanka;
    QVariant cocode;
};

class MasterData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        configure([](TambrelSettings &) {});
    }

    template <typename Fn> void configure(Fn &&change)
    {
        TambrelSettings s;
        s.F_DbPath = m_file.path();
        change(s);
        m_settings.reset();
        m_settings = std::make_unique<ScopedSettings>(s);
    }

    void insertItem(const ItemRow &r)
    {
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, m_file.path());
        Query q(db, tr);
        q.setSql(QStringLiteral(
            "INSERT INTO CSITEM (HINMEI1,HINMEI2,CODE1,CODE2,IRO,IRIKAZU,SIZEE,CASEE,TANI,KAZU1,"
            "KAZU2,GENKA1,GENKA2,URITANKA,COCODE) VALUES (:A,:B,:C,:D,:E,:F,:G,:H,:I,:J,:K,:L,:M,"
            ":N,:O)"));
        const QVariant v[] = {r.hinmei1, r.hinmei2, r.code1,  r.code2,    r.iro,
                              r.irikazu, r.sizee,   r.casee,  r.tani,     r.kazu1,
                              r.kazu2,   r.genka1,  r.genka2, r.uritanka, r.cocode};
        const char *names[] = {"A", "B", "C", "D", "E", "F", "G", "H",
                               "I", "J", "K", "L", "M", "N", "O"};
        for (int i = 0; i < 15; ++i)
            q.setParam(QString::fromLatin1(names[i]), v[i]);
        q.execute();
        tr.commit();
    }

    // Every CSITEM (or COMPANY) row, its columns as text, in ID order.
    QList<QHash<QString, QVariant>> rows(const QString &table)
    {
        Database db;
        Transaction tr;
        ConnectDatabaseTo(db, tr, m_file.path());
        Query q(db, tr);
        q.setSql(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table));
        QList<QHash<QString, QVariant>> out;
        q.open();
        while (q.next()) {
            QHash<QString, QVariant> row;
            for (int i = 0; i < q.columnCount(); ++i)
                row.insert(q.column(i).name, q.value(i));
            out << row;
        }
        tr.commit();
        return out;
    }

    void lookup(TypedCode &field, SlipRecord &record)
    {
        Database main;
        Transaction tr;
        ConnectDatabaseTo(main, tr, m_file.path());
        LookupItemByCode(main, field, record);
    }

    static ItemRow towel()
    {
        return ItemRow{QStringLiteral("タオル"),
                       QStringLiteral("白"),
                       QStringLiteral("4901234"),
                       QStringLiteral("L"),
                       QStringLiteral("ホワイト"),
                       QStringLiteral("12"),
                       QStringLiteral("M"),
                       QStringLiteral("3"),
                       QStringLiteral("枚"),
                       5,
                       QStringLiteral("5"),
                       120,
                       QStringLiteral("05"),
                       198,
                       QVariant()};
    }

    TestDatabase m_file;
    std::unique_ptr<ScopedSettings> m_settings;
    ScriptedMessages m_messages;
};

} // namespace

TEST(LineFieldNames, FourteenColumnsOfTheLine)
{
    EXPECT_EQ(LineFieldNames(31).all(),
              QStringList({"HINMEI_31", "HINMEI_32", "CODE_31", "CODE_32", "COLOR_3", "IRIKAZU_3",
                           "SIZE_3", "CASEE_3", "TANI_3", "KAZU_31", "KAZU_32", "GENKA_31",
                           "GENKA_32", "URITANKA_3"}));
    const LineFields first = LineFieldNames(11);
    EXPECT_EQ(first.itemCodeUpper, QStringLiteral("CODE_11"));
    EXPECT_EQ(first.sellingPrice, QStringLiteral("URITANKA_1"));
    const LineFields last = LineFieldNames(91);
    EXPECT_EQ(last.itemNameLower, QStringLiteral("HINMEI_92"));
    EXPECT_EQ(last.costPriceDecimals, QStringLiteral("GENKA_92"));
    EXPECT_EQ(last.unit, QStringLiteral("TANI_9"));
}

TEST_F(MasterData, LookupFillsTheLineFromTheItem)
{
    insertItem(towel());
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_21"), QStringLiteral(" 4901234　"));
    TypedCode field(21, QStringLiteral(" 4901234　"));
    lookup(field, slip);
    const QHash<QString, QVariant> expected = {
        {"HINMEI_21", "タオル"}, {"HINMEI_22", "白"}, {"CODE_21", "4901234"}, {"CODE_22", "L"},
        {"COLOR_2", "ホワイト"}, {"IRIKAZU_2", "12"}, {"SIZE_2", "M"},        {"CASEE_2", "3"},
        {"TANI_2", "枚"},        {"KAZU_21", 5},      {"KAZU_22", "5"},       {"GENKA_21", 120},
        {"GENKA_22", "05"},      {"URITANKA_2", 198}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(slip.value(it.key()).toString(), it.value().toString()) << qPrintable(it.key());
    EXPECT_FALSE(field.changed());
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(MasterData, QuantityTheClerkEnteredStays)
{
    insertItem(towel());
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("4901234"));
    slip.setValue(QStringLiteral("KAZU_11"), 2);
    slip.setValue(QStringLiteral("KAZU_12"), QStringLiteral("1"));
    TypedCode field(11, QStringLiteral("4901234"));
    lookup(field, slip);
    EXPECT_EQ(slip.value(QStringLiteral("KAZU_11")).toInt(), 2);
    EXPECT_EQ(slip.value(QStringLiteral("KAZU_12")).toString(), QStringLiteral("1"));
    EXPECT_EQ(slip.value(QStringLiteral("GENKA_11")).toInt(), 120);
}

TEST_F(MasterData, EmptyMasterValuesEmptyTheLine)
{
    ItemRow bare{
        QStringLiteral("箱"), {}, QStringLiteral("77"), {}, {},         {},        {}, {}, {},
        QVariant(),           {}, QVariant(),           {}, QVariant(), QVariant()};
    insertItem(bare);
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("77"));
    slip.setValue(QStringLiteral("COLOR_1"), QStringLiteral("赤"));
    slip.setValue(QStringLiteral("GENKA_12"), QStringLiteral("50"));
    TypedCode field(11, QStringLiteral("77"));
    lookup(field, slip);
    EXPECT_EQ(slip.value(QStringLiteral("HINMEI_11")).toString(), QStringLiteral("箱"));
    EXPECT_TRUE(slip.value(QStringLiteral("COLOR_1")).toString().isEmpty());
    EXPECT_TRUE(slip.value(QStringLiteral("GENKA_12")).toString().isEmpty());
    EXPECT_EQ(slip.value(QStringLiteral("GENKA_11")).toInt(), 0);
    // No default quantity: the quantity stays empty.
    EXPECT_TRUE(slip.value(QStringLiteral("KAZU_11")).isNull());
}

TEST_F(MasterData, TwoItemsWithTheSameCodeFillFromTheFirstRow)
{
    ItemRow first = towel();
    ItemRow second = towel();
    second.hinmei1 = QStringLiteral("バスタオル");
    second.genka1 = 300;
    insertItem(first);
    insertItem(second);
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("4901234"));
    TypedCode field(11, QStringLiteral("4901234"));
    lookup(field, slip);
    EXPECT_EQ(slip.value(QStringLiteral("HINMEI_11")).toString(), QStringLiteral("タオル"));
    EXPECT_EQ(slip.value(QStringLiteral("GENKA_11")).toInt(), 120);
}

TEST_F(MasterData, CompanyScopeOfTheLookup)
{
    ItemRow a = towel();
    a.cocode = QStringLiteral("1001");
    a.genka1 = 111;
    ItemRow b = towel();
    b.cocode = QStringLiteral("2002");
    b.genka1 = 222;
    insertItem(a);
    insertItem(b);
    struct Case
    {
        bool useTanka;
        const char *slipCompany;
        int expectedPrice;
    } cases[] = {{true, "2002", 222},
                 {true, "1001", 111},
                 {true, "　", 111},
                 {false, "2002", 111},
                 {true, "9999", -1}};
    for (const Case &c : cases) {
        configure([&](TambrelSettings &s) { s.UseTanka = c.useTanka; });
        MemorySlipRecord slip;
        slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("4901234"));
        slip.setValue(QStringLiteral("COCODE"), QString::fromUtf8(c.slipCompany));
        TypedCode field(11, QStringLiteral("4901234"));
        lookup(field, slip);
        if (c.expectedPrice < 0)
            EXPECT_TRUE(slip.value(QStringLiteral("GENKA_11")).isNull()) << c.slipCompany;
        else
            EXPECT_EQ(slip.value(QStringLiteral("GENKA_11")).toInt(), c.expectedPrice)
                << c.useTanka << " " << c.slipCompany;
        EXPECT_FALSE(field.changed());
    }
}

TEST_F(MasterData, CodeWithAQuoteIsLookedUpLikeAnyOther)
{
    ItemRow r = towel();
    r.code1 = QStringLiteral("AB'1");
    r.cocode = QStringLiteral("O'K");
    insertItem(r);
    configure([](TambrelSettings &s) { s.UseTanka = true; });
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("AB'1"));
    slip.setValue(QStringLiteral("COCODE"), QStringLiteral("O'K"));
    TypedCode field(11, QStringLiteral("AB'1"));
    EXPECT_NO_THROW(lookup(field, slip));
    EXPECT_EQ(slip.value(QStringLiteral("HINMEI_11")).toString(), QStringLiteral("タオル"));
}

TEST_F(MasterData, ItemCodeLengthIsCheckedInShiftJisBytes)
{
    insertItem(towel()); // code of 7 digits
    struct Case
    {
        int itemCodeLen;
        const char *typed;
        bool accepted;
    } cases[] = {{8, "4901234", false}, {7, "4901234", true}, {0, "4901234", true},
                 {0, "1", true},        {4, "ＡＢ", true},    {2, "ＡＢ", false}};
    for (const Case &c : cases) {
        configure([&](TambrelSettings &s) { s.ItemCodeLen = c.itemCodeLen; });
        m_messages.clear();
        MemorySlipRecord slip;
        slip.setValue(QStringLiteral("CODE_11"), QString::fromUtf8(c.typed));
        TypedCode field(11, QString::fromUtf8(c.typed));
        lookup(field, slip);
        SCOPED_TRACE(c.typed);
        if (c.accepted) {
            EXPECT_TRUE(m_messages.shown().isEmpty());
            EXPECT_FALSE(field.changed());
            EXPECT_EQ(field.focusBacks, 0);
        } else {
            ASSERT_EQ(m_messages.shown().size(), 1);
            EXPECT_EQ(
                m_messages.shown()[0].text,
                QStringLiteral("商品コードの桁数不正です。\r\r商品コードの桁数は、%1 桁です。")
                    .arg(c.itemCodeLen));
            EXPECT_EQ(m_messages.shown()[0].type, MsgType::Error);
            EXPECT_TRUE(field.changed());
            EXPECT_EQ(field.focusBacks, 1);
            EXPECT_TRUE(slip.value(QStringLiteral("HINMEI_11")).isNull());
        }
    }
}

TEST_F(MasterData, NothingChangesWhenNotEditingNotFoundOrUnchanged)
{
    insertItem(towel());
    {
        MemorySlipRecord browsing;
        browsing.setValue(QStringLiteral("CODE_11"), QStringLiteral("4901234"));
        browsing.setEditing(false);
        TypedCode field(11, QStringLiteral("4901234"));
        lookup(field, browsing);
        EXPECT_EQ(browsing.writes(), 1);
        EXPECT_FALSE(field.changed());
    }
    {
        MemorySlipRecord slip;
        slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("0000000"));
        TypedCode field(11, QStringLiteral("0000000"));
        lookup(field, slip);
        EXPECT_EQ(slip.writes(), 1);
        EXPECT_FALSE(field.changed());
    }
    {
        MemorySlipRecord slip;
        slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("4901234"));
        TypedCode unchanged(11, QStringLiteral("4901234"));
        unchanged.setChanged(false);
        lookup(unchanged, slip);
        TypedCode notALine(5, QStringLiteral("4901234"));
        lookup(notALine, slip);
        EXPECT_EQ(slip.writes(), 1);
        EXPECT_TRUE(notALine.changed());
    }
}

TEST_F(MasterData, LookupThroughTheFormsResultSetAndEdit)
{
    insertItem(towel());
    Database main;
    Transaction tr;
    ConnectDatabaseTo(main, tr, m_file.path());
    EditableResultSet slips;
    slips.setTransaction(&tr);
    slips.setSql(QStringLiteral("SELECT * FROM TAMBREL"));
    slips.open();
    ASSERT_TRUE(slips.Insert());
    DBEdit code;
    code.setDataSet(&slips);
    code.setDataField(QStringLiteral("CODE_31"));
    code.setTag(31);
    // Typed: the text reaches the column when the lookup runs.
    QTest::keyClicks(&code, QStringLiteral("4901234"));
    ASSERT_TRUE(code.changed());
    LookupItemByCode(main, code);
    EXPECT_EQ(slips.value(QStringLiteral("HINMEI_31")).toString(), QStringLiteral("タオル"));
    EXPECT_EQ(slips.value(QStringLiteral("KAZU_31")).toInt(), 5);
    EXPECT_EQ(slips.value(QStringLiteral("URITANKA_3")).toInt(), 198);
    EXPECT_FALSE(code.changed());
}

TEST_F(MasterData, RegisteringALineInsertsThenOverwrites)
{
    MemorySlipRecord slip;
    const QHash<QString, QVariant> line = {{"HINMEI_41", "ハンカチ"},
                                           {"HINMEI_42", "花柄"},
                                           {"CODE_41", "555"},
                                           {"CODE_42", "S"},
                                           {"COLOR_4", "赤"},
                                           {"IRIKAZU_4", "10"},
                                           {"SIZE_4", "S"},
                                           {"CASEE_4", "1"},
                                           {"TANI_4", "枚"},
                                           {"GENKA_41", 80},
                                           {"GENKA_42", "5"},
                                           {"URITANKA_4", 150},
                                           {"KAZU_41", 9}};
    for (auto it = line.cbegin(); it != line.cend(); ++it)
        slip.setValue(it.key(), it.value());
    RegisterItemFromLine(slip, 41);
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("新規に登録しました。")});
    EXPECT_EQ(m_messages.shown()[0].type, MsgType::Confirmation);
    auto items = rows(QStringLiteral("CSITEM"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]["HINMEI2"].toString(), QStringLiteral("花柄"));
    EXPECT_EQ(items[0]["IRO"].toString(), QStringLiteral("赤"));
    EXPECT_EQ(items[0]["GENKA1"].toInt(), 80);
    EXPECT_EQ(items[0]["GENKA2"].toString(), QStringLiteral("5"));
    EXPECT_EQ(items[0]["URITANKA"].toInt(), 150);
    EXPECT_TRUE(items[0]["KAZU1"].isNull()); // quantities are not registered
    EXPECT_TRUE(items[0]["COCODE"].isNull());

    m_messages.clear();
    slip.setValue(QStringLiteral("COLOR_4"), QStringLiteral("青"));
    slip.setValue(QStringLiteral("GENKA_41"), 95);
    slip.setValue(QStringLiteral("URITANKA_4"), 160);
    slip.setValue(QStringLiteral("SIZE_4"), QStringLiteral("M"));
    RegisterItemFromLine(slip, 41);
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("データを更新しました。")});
    items = rows(QStringLiteral("CSITEM"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]["IRO"].toString(), QStringLiteral("青"));
    EXPECT_EQ(items[0]["SIZEE"].toString(), QStringLiteral("M"));
    EXPECT_EQ(items[0]["GENKA1"].toInt(), 95);
    EXPECT_EQ(items[0]["URITANKA"].toInt(), 160);
}

TEST_F(MasterData, OneLineProgramRegistersEmptyLowerNameAndCode)
{
    configure([](TambrelSettings &s) { s.OneLineMode = true; });
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("HINMEI_11"), QStringLiteral("靴下"));
    slip.setValue(QStringLiteral("HINMEI_12"), QStringLiteral("（残った下段）"));
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("123"));
    slip.setValue(QStringLiteral("CODE_12"), QStringLiteral("X9"));
    RegisterItemFromLine(slip, 11);
    auto items = rows(QStringLiteral("CSITEM"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]["HINMEI2"].toString(), QString());
    EXPECT_FALSE(items[0]["HINMEI2"].isNull());
    EXPECT_EQ(items[0]["CODE2"].toString(), QString());
    // The duplicate test compares the lower parts as empty too.
    EXPECT_TRUE(
        ItemExists(QStringLiteral("靴下"), QString(), QStringLiteral("123"), QString(), QString()));
    m_messages.clear();
    RegisterItemFromLine(slip, 11);
    EXPECT_EQ(m_messages.texts(), QStringList{QStringLiteral("データを更新しました。")});
    EXPECT_EQ(rows(QStringLiteral("CSITEM")).size(), 1);
}

TEST_F(MasterData, ItemRegistrationWithinTheCompany)
{
    configure([](TambrelSettings &s) { s.UseTanka = true; });
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("HINMEI_11"), QStringLiteral("手袋"));
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("900"));
    slip.setValue(QStringLiteral("GENKA_11"), 10);
    // Without a company code the item belongs to no company.
    RegisterItemFromLine(slip, 11);
    slip.setValue(QStringLiteral("COCODE"), QStringLiteral("O'Neil"));
    slip.setValue(QStringLiteral("GENKA_11"), 20);
    RegisterItemFromLine(slip, 11); // a new row for the company
    slip.setValue(QStringLiteral("GENKA_11"), 30);
    RegisterItemFromLine(slip, 11); // that row overwritten
    EXPECT_EQ(m_messages.texts(), QStringList({QStringLiteral("新規に登録しました。"),
                                               QStringLiteral("新規に登録しました。"),
                                               QStringLiteral("データを更新しました。")}));
    const auto items = rows(QStringLiteral("CSITEM"));
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]["COCODE"].isNull());
    EXPECT_EQ(items[0]["GENKA1"].toInt(), 10);
    EXPECT_EQ(items[1]["COCODE"].toString(), QStringLiteral("O'Neil"));
    EXPECT_EQ(items[1]["GENKA1"].toInt(), 30);
}

TEST_F(MasterData, CompanyRegisteredOnceAndKindsApart)
{
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CONAME"), QStringLiteral("丸井商店"));
    slip.setValue(QStringLiteral("TENPONAME"), QStringLiteral("本店"));
    slip.setValue(QStringLiteral("COCODE"), QStringLiteral("1001"));
    slip.setValue(QStringLiteral("TORIHIKINAME_1"), QStringLiteral("丸井商店"));
    slip.setValue(QStringLiteral("TORIHIKINAME_2"), QStringLiteral("本店"));
    slip.setValue(QStringLiteral("TORIHIKICODE_1"), QStringLiteral("1001"));
    slip.setValue(QStringLiteral("TORIHIKICODE_2"), QStringLiteral("77"));
    RegisterCompanyFromSlip(slip, kCompanyKind);
    RegisterCompanyFromSlip(slip, kCompanyKind);
    RegisterCompanyFromSlip(slip, kTradingPartnerKind);
    RegisterCompanyFromSlip(slip, kTradingPartnerKind);
    EXPECT_EQ(m_messages.texts(),
              QStringList(
                  {QStringLiteral("新規に登録しました。"), QStringLiteral("既に登録済みです。"),
                   QStringLiteral("新規に登録しました。"), QStringLiteral("既に登録済みです。")}));
    EXPECT_EQ(m_messages.shown()[1].type, MsgType::Confirmation);
    const auto companies = rows(QStringLiteral("COMPANY"));
    ASSERT_EQ(companies.size(), 2);
    EXPECT_EQ(companies[0]["KUBUN"].toInt(), 0);
    EXPECT_EQ(companies[0]["CODE2"].toString(), QString());
    EXPECT_EQ(companies[1]["KUBUN"].toInt(), 1);
    EXPECT_EQ(companies[1]["CODE2"].toString(), QStringLiteral("77"));
    // Another store code of the trading partner is another row.
    EXPECT_FALSE(CompanyExists(QStringLiteral("丸井商店"), QStringLiteral("本店"),
                               QStringLiteral("1001"), kTradingPartnerKind, QStringLiteral("78")));
}

TEST_F(MasterData, CompanyNamesByCode)
{
    InsertCompany(QStringLiteral("丸井商店"), QStringLiteral("本店"), QStringLiteral("1001"),
                  kCompanyKind, QString());
    InsertCompany(QStringLiteral("取引先"), QStringLiteral("支店"), QStringLiteral("2002"),
                  kTradingPartnerKind, QString());
    InsertCompany(QStringLiteral("　"), QString(), QStringLiteral("3003"), kCompanyKind, QString());
    const CompanyNames found = GetCompanyNames(QStringLiteral("1001"));
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.companyName, QStringLiteral("丸井商店"));
    EXPECT_EQ(found.storeName, QStringLiteral("本店"));
    EXPECT_FALSE(GetCompanyNames(QStringLiteral("2002")).found); // a trading partner
    EXPECT_FALSE(GetCompanyNames(QStringLiteral("3003")).found); // blank names
    EXPECT_FALSE(GetCompanyNames(QStringLiteral("'")).found);
}

TEST_F(MasterData, DatabaseFailuresRaiseTheOperationsMessages)
{
    executeSql(m_file.path(), QStringLiteral("DROP TABLE CSITEM"));
    executeSql(m_file.path(), QStringLiteral("DROP TABLE COMPANY"));
    const ItemValues item{};
    auto messageOf = [](auto &&call) {
        try {
            call();
        } catch (const AppError &e) {
            return e.message();
        }
        return QStringLiteral("(no error)");
    };
    EXPECT_EQ(messageOf([&] { ItemExists("a", "b", "c", "d", "e"); }),
              QStringLiteral("Record Count Error"));
    EXPECT_EQ(messageOf([&] { UpdateItem(item, QString()); }), QStringLiteral("Update Error"));
    EXPECT_EQ(messageOf([&] { InsertItem(item, QString()); }), QStringLiteral("Update Error"));
    EXPECT_EQ(messageOf([&] { CompanyExists("a", "b", "c", 0, "d"); }),
              QStringLiteral("Record Count Error"));
    EXPECT_EQ(messageOf([&] { InsertCompany("a", "b", "c", 0, "d"); }),
              QStringLiteral("Insert Error"));
    EXPECT_FALSE(GetCompanyNames(QStringLiteral("1")).found);
    MemorySlipRecord slip;
    slip.setValue(QStringLiteral("CODE_11"), QStringLiteral("1"));
    TypedCode field(11, QStringLiteral("1"));
    EXPECT_EQ(messageOf([&] { lookup(field, slip); }),
              QStringLiteral("商品データを取得できません。"));
    EXPECT_TRUE(m_messages.shown().isEmpty());

    configure([](TambrelSettings &s) {
        s.F_DbPath = QDir::temp().filePath(QStringLiteral("no-such-dir/TAMBREL.FDB"));
    });
    EXPECT_EQ(messageOf([&] { InsertCompany("a", "b", "c", 0, "d"); }),
              QStringLiteral("Database Connect Error"));
    EXPECT_EQ(messageOf([&] { GetCompanyNames(QStringLiteral("1")); }),
              QStringLiteral("Database Connect Error"));
}
