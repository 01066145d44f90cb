#include "CheckDigitCalcForm.h"
#include "ModalDriver.h"
#include "SelCompanyForm.h"
#include "SelItemForm.h"
#include "SlipFieldActions.h"
#include "SlipFormFixture.h"
#include "db/Query.h"
#include "masters/MasterTexts.h"
#include "ui/DBEdit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest/QTest>

namespace {

class SlipActions : public SlipFormFixture
{
protected:
    SlipActions()
    {
        addCompany(0, "甲商事", "本店", "100", "");
        addCompany(0, "乙物産", "北店", "O'NE", "");
        addCompany(1, "取引先甲", "営業部", "T1", "X9");
        // name1, name2, code1, code2, colour, pieces, size, cases, unit,
        // quantity, digit, cost, cost decimals, selling price
        addItem({"りんご", "赤", "R1", "R2", "赤", "10", "L", "2", "個", 0, "", 120, "50", 200});
    }

    void addCompany(int kind, const char *n1, const char *n2, const char *c1, const char *c2)
    {
        run(QStringLiteral("INSERT INTO COMPANY (ID, KUBUN, CONAME1, CONAME2, CODE1, CODE2) "
                           "VALUES (0, ?, ?, ?, ?, ?)"),
            {kind, QString::fromUtf8(n1), QString::fromUtf8(n2), QString::fromUtf8(c1),
             QString::fromUtf8(c2)});
    }
    void addItem(const QVariantList &v)
    {
        run(QStringLiteral("INSERT INTO CSITEM (ID, HINMEI1, HINMEI2, CODE1, CODE2, IRO, IRIKAZU, "
                           "SIZEE, CASEE, TANI, KAZU1, KAZU2, GENKA1, GENKA2, URITANKA) VALUES "
                           "(0, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            v);
    }
    void run(const QString &sql, const QVariantList &params)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(sql);
        for (int i = 0; i < params.size(); ++i)
            q.setParam(i, params.at(i));
        q.execute();
        tr.commit();
    }
    qint64 count(const QString &sql)
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(sql);
        const qint64 n = q.openFirst() ? q.value(0).toLongLong() : -1;
        tr.commit();
        return n;
    }

    SlipFieldActions *actions() { return form().findChild<SlipFieldActions *>(); }
    QString col(const char *column) { return query().value(QLatin1String(column)).toString(); }

    // A new slip with a company, being inserted.
    void newSlip(SlipType type = SlipType::Type22)
    {
        open(type);
        press(TCaptionDBNavi::nbInsert);
        type_("CONA", "X");
    }
    void type_(const char *edit, const char *text)
    {
        type(QLatin1String(edit), QString::fromUtf8(text));
    }
    void leave() { edit(QStringLiteral("A_F1"))->setFocus(Qt::TabFocusReason); }
    void doubleClick(const char *name)
    {
        DBEdit *e = edit(QLatin1String(name));
        e->setFocus(Qt::MouseFocusReason);
        QTest::mouseDClick(e, Qt::LeftButton);
    }
};

TEST_F(SlipActions, CompanyAndPartnerChosenFromTheirLists)
{
    newSlip();
    OnModal<TSelCompanyForm>([](TSelCompanyForm *f) {
        EXPECT_EQ(f->kind(), 0);
        f->positionOn(QStringLiteral("CODE1"), QStringLiteral("O'NE"));
        f->BitBtn1()->click();
    });
    doubleClick("TENP");
    EXPECT_EQ((QStringList{col("CONAME"), col("TENPONAME"), col("COCODE")}),
              (QStringList{"乙物産", "北店", "O'NE"}));
    EXPECT_EQ(edit(QStringLiteral("CONA"))->text(), QStringLiteral("乙物産"));

    OnModal<TSelCompanyForm>([](TSelCompanyForm *f) {
        EXPECT_EQ(f->kind(), 1);
        f->BitBtn1()->click();
    });
    doubleClick("TNAM_2");
    EXPECT_EQ((QStringList{col("TORIHIKINAME_1"), col("TORIHIKINAME_2"), col("TORIHIKICODE_1"),
                           col("TORIHIKICODE_2")}),
              (QStringList{"取引先甲", "営業部", "T1", "X9"}));
}

TEST_F(SlipActions, ItemChosenIntoTheLineOfTheEdit)
{
    struct Case
    {
        SlipType type;
        const char *edit; // double-clicked
        int line;
    };
    // Line 4 from its second code edit; a one-line type fills the second
    // name and code that it does not show.
    for (const Case &c :
         {Case{SlipType::Type22, "CODE_42", 4}, Case{SlipType::Type21, "HINMEI_11", 1}}) {
        SCOPED_TRACE(c.edit);
        newSlip(c.type);
        type_("GTAN_11", "7");
        OnModal<TSelItemForm>([](TSelItemForm *f) { f->BitBtn1()->click(); });
        doubleClick(c.edit);
        const QString n = QString::number(c.line);
        auto at = [&](const char *pattern) {
            const QString column = QString::fromLatin1(pattern).replace(QLatin1Char('#'), n);
            const QVariant v = query().value(column);
            return v.isNull() ? QStringLiteral("<null>") : v.toString();
        };
        EXPECT_EQ(
            (QStringList{at("HINMEI_#1"), at("HINMEI_#2"), at("CODE_#1"), at("CODE_#2"),
                         at("COLOR_#"), at("IRIKAZU_#"), at("SIZE_#"), at("CASEE_#"), at("TANI_#"),
                         at("KAZU_#1"), at("GENKA_#1"), at("GENKA_#2"), at("URITANKA_#")}),
            (QStringList{"りんご", "赤", "R1", "R2", "赤", "10", "L", "2", "個", "<null>", "120",
                         "50", "200"}));
        if (c.line != 1) {
            EXPECT_EQ(col("GENKA_11"), QStringLiteral("7")); // other lines untouched
        }
        m_messages.answer(MsgResult::No);
        closeForm();
    }
}

TEST_F(SlipActions, TypedCompanyCodeIsLookedUp)
{
    struct Case
    {
        const char *typed;
        QStringList expected; // CONAME, TENPONAME, COCODE
    };
    const Case cases[] = {
        {"100", {"甲商事", "本店", "100"}},
        {"O'NE", {"乙物産", "北店", "O'NE"}},
        {"999", {"X", "", "999"}}, // unknown: kept as typed
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        m_messages.clear();
        newSlip();
        type_("COCO", c.typed);
        leave();
        EXPECT_EQ((QStringList{col("CONAME"), col("TENPONAME"), col("COCODE")}), c.expected);
        EXPECT_FALSE(edit(QStringLiteral("COCO"))->changed());
        EXPECT_TRUE(m_messages.shown().isEmpty());
        m_messages.answer(MsgResult::No);
        closeForm();
    }
}

TEST_F(SlipActions, RegisterItemsOnlyWhileBrowsingAndOnANonEmptyField)
{
    newSlip();
    type_("HINMEI_11", "梨");
    QMenu *menu = form().PopupMenu1();
    emit menu->aboutToShow();
    EXPECT_FALSE(actions()->N1()->isEnabled()); // being inserted
    press(TCaptionDBNavi::nbPost);
    ASSERT_EQ(query().state(), EditableResultSet::State::Browse);
    edit(QStringLiteral("HINMEI_11"))->setFocus(Qt::MouseFocusReason);
    emit menu->aboutToShow();
    EXPECT_TRUE(actions()->N1()->isEnabled());
    edit(QStringLiteral("HINMEI_21"))->setFocus(Qt::MouseFocusReason);
    emit menu->aboutToShow();
    EXPECT_FALSE(actions()->N1()->isEnabled()); // empty line
    edit(QStringLiteral("CONA"))->setFocus(Qt::MouseFocusReason);
    emit form().PopupMenu2()->aboutToShow();
    EXPECT_TRUE(actions()->MenuItem3()->isEnabled());
}

TEST_F(SlipActions, RegisteringAnExistingCompanyWritesNothingAndAnItemIsUpdated)
{
    newSlip();
    type_("CONA", "甲商事");
    type_("TENP", "本店");
    type_("COCO", "100");
    type_("HINMEI_11", "りんご");
    type_("HINMEI_12", "赤");
    type_("CODE_12", "R2");
    type_("CODE_11", "R1");
    leave(); // the code is looked up: the line takes the item
    query().setValue(QStringLiteral("COLOR_1"), QStringLiteral("緑"));
    press(TCaptionDBNavi::nbPost);
    m_messages.clear();
    const qint64 companies = count(QStringLiteral("SELECT COUNT(*) FROM COMPANY"));
    edit(QStringLiteral("CONA"))->setFocus(Qt::MouseFocusReason);
    actions()->MenuItem3()->trigger();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM COMPANY")), companies);
    edit(QStringLiteral("HINMEI_11"))->setFocus(Qt::MouseFocusReason);
    actions()->N1()->trigger();
    EXPECT_EQ(m_messages.texts(), (QStringList{QString::fromUtf8(kAlreadyRegistered),
                                               QString::fromUtf8(kDataUpdated)}));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CSITEM WHERE IRO = '緑'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CSITEM")), 1);
}

TEST_F(SlipActions, LeavingAQuantityOrACorrectedQuantityRecomputes)
{
    newSlip();
    type_("GTAN_11", "120");
    type_("KAZU_11", "3");
    leave();
    EXPECT_EQ(col("GENKAKEI_1"), QString::number(120 * 3));
    EXPECT_EQ(col("GOUKEI_GENKA9"), QString::number(120 * 3));
    EXPECT_EQ(col("GOUKEI_KAZU9_1"), QStringLiteral("3"));

    // The quantity changed behind the edits: only the corrected totals follow
    // a corrected quantity.
    query().setValue(QStringLiteral("KAZU_11"), 5);
    type_("KAZT_11", "2");
    leave();
    EXPECT_EQ(col("GOUKEI_GENKA9_T"), QString::number(120 * 2));
    EXPECT_EQ(col("GOUKEI_KAZU9_T1"), QStringLiteral("2"));
    EXPECT_EQ(col("GENKAKEI_1"), QString::number(120 * 3));
    EXPECT_EQ(col("GOUKEI_KAZU9_1"), QStringLiteral("3"));
}

TEST_F(SlipActions, CheckDigitFromTheSlipNumber)
{
    newSlip();
    type_("DENN", "123456");
    OnModal<TCheckDigitCalcForm>([](TCheckDigitCalcForm *f) {
        EXPECT_EQ(f->Edit2()->text(), QStringLiteral("4"));
        f->BitBtn1()->click();
    });
    doubleClick("DENN");
    EXPECT_EQ(col("DENNO_1"), QStringLiteral("123456"));
    EXPECT_EQ(col("DENNO_2"), QStringLiteral("4"));

    type_("DENN", "12345678");
    OnModal<TCheckDigitCalcForm>([](TCheckDigitCalcForm *f) { f->BitBtn1()->click(); });
    actions()->N4()->trigger();
    EXPECT_EQ(col("DENNO_2"), QStringLiteral("4")); // nothing computed: unchanged
}

} // namespace
