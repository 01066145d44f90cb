// A slip's life on the form: the defaults of a new slip, posting and
// cancelling with the slip number counter, the keyboard and closing.

#include "ModalDriver.h"
#include "SelCompanyForm.h"
#include "SlipEntryTexts.h"
#include "SlipFormFixture.h"
#include "db/Query.h"
#include "ui/DBCheckBox.h"
#include "ui/DBEdit.h"

#include <QDate>
#include <QPushButton>
#include <QtTest/QTest>

namespace {

using Btn = TCaptionDBNavi::NavigateBtn;

QString todayYYMMDD()
{
    return QDate::currentDate().toString(QStringLiteral("yyMMdd"));
}

QString text(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// Check digits as the slip forms print them: 7DR is the number modulo 7;
// modulus 11 weighs the ten digits 6,5,4,3,2,6,5,4,3,2 and takes 11 minus the
// remainder, 0 for a remainder of 0 (and of 1 when missing numbers are kept).
QString expectedCheckDigit(int denKetaCD, const QString &number)
{
    if (denKetaCD == 2)
        return QString::number(number.toLongLong() % 7);
    if (denKetaCD == 3 || denKetaCD == 4) {
        const int w[10] = {6, 5, 4, 3, 2, 6, 5, 4, 3, 2};
        int sum = 0;
        for (int i = 0; i < 10; ++i)
            sum += number.at(i).digitValue() * w[i];
        const int r = sum % 11;
        return r <= 1 ? QStringLiteral("0") : QString::number(11 - r);
    }
    return QString();
}

class SlipLife : public SlipFormFixture
{
protected:
    qint64 generator()
    {
        Transaction tr(&m_db);
        Query q(m_db, tr);
        q.setSql(QStringLiteral("SELECT GEN_ID(IDNO_INC0, 0) FROM RDB$DATABASE"));
        const qint64 v = q.openFirst() ? q.value(0).toLongLong() : -1;
        tr.commit();
        return v;
    }
    QVariant v(const char *column) { return query().value(QLatin1String(column)); }
};

} // namespace

TEST_F(SlipLife, NewSlipTakesItsDefaultsFromTheSettings)
{
    const struct
    {
        QString coName;
        bool companySet;
    } cases[] = {
        {QString(), false},
        {QStringLiteral("　　"), false}, // full-width spaces only
        {QStringLiteral(" 山田商店 "), true},
    };
    insertSlip(QStringLiteral("既存"), 0, QStringLiteral("000001"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.coName.toStdString());
        m_settings.CoName = c.coName;
        m_settings.Tenmei = QStringLiteral("本店");
        m_settings.CoCode = QStringLiteral("C01");
        m_settings.TorihikiCode1 = QStringLiteral("T100");
        m_settings.TorihikiCode2 = QString();
        m_settings.TorihikiName1 = QStringLiteral("取引先一");
        m_settings.TorihikiName2 = QStringLiteral("取引先二");
        m_settings.BunruiCode = QStringLiteral("07");
        open(SlipType::Type22);
        const qint64 before = generator();
        press(Btn::nbInsert);
        ASSERT_EQ(query().state(), EditableResultSet::State::Insert);
        EXPECT_EQ(v("ID").toLongLong(), before + 1);
        EXPECT_EQ(generator(), before); // read, not advanced
        EXPECT_EQ(text(v("PRINTOUT")), QStringLiteral("1"));
        EXPECT_TRUE(form().DBCheckBox1()->isChecked());
        if (c.companySet) {
            EXPECT_EQ(text(v("CONAME")), c.coName); // as stored in the settings
            EXPECT_EQ(text(v("TENPONAME")), QStringLiteral("本店"));
            EXPECT_EQ(text(v("COCODE")), QStringLiteral("C01"));
            EXPECT_EQ(edit(QStringLiteral("CONA"))->text(), c.coName);
        } else {
            EXPECT_TRUE(v("CONAME").isNull());
            EXPECT_TRUE(v("TENPONAME").isNull());
            EXPECT_TRUE(v("COCODE").isNull());
        }
        EXPECT_EQ(text(v("TORIHIKICODE_1")), QStringLiteral("T100"));
        EXPECT_TRUE(v("TORIHIKICODE_2").isNull());
        EXPECT_EQ(text(v("TORIHIKINAME_1")), QStringLiteral("取引先一"));
        EXPECT_EQ(text(v("TORIHIKINAME_2")), QStringLiteral("取引先二"));
        EXPECT_EQ(text(v("BUNRUICODE")), QStringLiteral("07"));
        EXPECT_TRUE(v("DENNO_1").isNull());
        EXPECT_TRUE(v("DENNO_2").isNull());
        press(Btn::nbCancel);
    }
    EXPECT_TRUE(m_messages.shown().isEmpty()) << qPrintable(m_messages.texts().join('|'));
}

TEST_F(SlipLife, AutomaticSlipNumbersFollowTheCheckDigitKind)
{
    const struct
    {
        int denKetaCD;
        qint64 last; // counter before
        QString number;
        bool hasCheckDigit;
    } cases[] = {
        {1, 123455, QStringLiteral("123456"), false},
        {2, 123455, QStringLiteral("123456"), true},
        {2, 999, QStringLiteral("001000"), true},
        {3, 1234567889, QStringLiteral("1234567890"), true},
        {4, 1234567889, QStringLiteral("1234567890"), true},
        {4, 41, QStringLiteral("0000000042"), true},
    };
    m_settings.AutoRenban = true;
    m_settings.CoName = QStringLiteral("山田商店");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.denKetaCD);
        m_settings.DenKetaCD = c.denKetaCD;
        setCounter(c.last, 0);
        open(SlipType::Type12);
        press(Btn::nbInsert);
        EXPECT_EQ(text(v("DENNO_1")), c.number);
        const QString cd = expectedCheckDigit(c.denKetaCD, c.number);
        EXPECT_EQ(v("DENNO_2").isNull(), !c.hasCheckDigit);
        if (c.hasCheckDigit) {
            EXPECT_EQ(text(v("DENNO_2")), cd);
        }
        EXPECT_EQ(counter(), qMakePair(c.last, qint64(1))); // one open reservation
        press(Btn::nbPost);
        EXPECT_EQ(query().state(), EditableResultSet::State::Browse);
        EXPECT_EQ(counter(), qMakePair(c.last + 1, qint64(0))); // committed
    }
}

TEST_F(SlipLife, CancellingANewSlipGivesItsNumberBack)
{
    m_settings.AutoRenban = true;
    m_settings.DenKetaCD = 1;
    setCounter(500, 0);
    open(SlipType::Type22);
    press(Btn::nbInsert);
    EXPECT_EQ(text(v("DENNO_1")), QStringLiteral("000501"));
    press(Btn::nbCancel);
    EXPECT_EQ(counter(), qMakePair(qint64(500), qint64(0)));
    EXPECT_EQ(query().rowCount(), 0);
    press(Btn::nbInsert);
    EXPECT_EQ(text(v("DENNO_1")), QStringLiteral("000501")); // handed out again
    press(Btn::nbCancel);
}

TEST_F(SlipLife, WithoutAutomaticNumbersPostStillCommitsAndCancelReleases)
{
    m_settings.AutoRenban = false;
    setCounter(70, 0);
    open(SlipType::Type21);
    press(Btn::nbInsert);
    EXPECT_TRUE(v("DENNO_1").isNull());
    EXPECT_TRUE(v("DENNO_2").isNull());
    EXPECT_EQ(counter(), qMakePair(qint64(70), qint64(0))); // nothing reserved
    type(QStringLiteral("CONA"), QStringLiteral("丸井"));
    press(Btn::nbPost);
    EXPECT_EQ(counter(), qMakePair(qint64(71), qint64(0))); // committed all the same

    // A release without a number of its own leaves the counter, also while
    // another program holds a reservation.
    setCounter(71, 1);
    press(Btn::nbInsert);
    press(Btn::nbCancel);
    EXPECT_EQ(counter(), qMakePair(qint64(71), qint64(1)));
}

TEST_F(SlipLife, DateDefaultsByType)
{
    const struct
    {
        SlipType type;
        bool tr1, tr2, tr3, ty1;
        bool first, second, order; // which dates get today
    } cases[] = {
        {SlipType::Type22, true, false, false, false, true, false, false},
        {SlipType::Type11, false, true, true, false, false, true, true},
        {SlipType::Type21, false, false, false, true, false, false, false},
        {SlipType::TypeT11, true, true, true, false, false, false, false},
        {SlipType::TypeT11, false, false, false, true, false, true, false},
        {SlipType::TypeT12, true, false, true, true, false, true, false},
    };
    const QDate today = QDate::currentDate();
    const QString yy = today.toString(QStringLiteral("yy"));
    const QString mm = today.toString(QStringLiteral("MM"));
    const QString dd = today.toString(QStringLiteral("dd"));
    for (const auto &c : cases) {
        SCOPED_TRACE(slipTypeInfo(c.type).program);
        m_settings.DateTr1 = c.tr1;
        m_settings.DateTr2 = c.tr2;
        m_settings.DateTr3 = c.tr3;
        m_settings.DateTy1 = c.ty1;
        open(c.type);
        press(Btn::nbInsert);
        auto check = [&](bool set, const char *y, const char *m, const char *d) {
            EXPECT_EQ(text(v(y)), set ? yy : QStringLiteral("<null>")) << y;
            EXPECT_EQ(text(v(m)), set ? mm : QStringLiteral("<null>")) << m;
            EXPECT_EQ(text(v(d)), set ? dd : QStringLiteral("<null>")) << d;
        };
        check(c.first, "NOUHIN_Y1", "NOUHIN_M1", "NOUHIN_D1");
        check(c.second, "NOUHIN_Y2", "NOUHIN_M2", "NOUHIN_D2");
        check(c.order, "HACYU_Y", "HACYU_M", "HACYU_D");
        press(Btn::nbCancel);
    }
}

TEST_F(SlipLife, PostComposesTheDatesAndTheSlipIsSavedOnClose)
{
    m_settings.DateTr1 = true;
    open(SlipType::Type22);
    press(Btn::nbInsert);
    const int id = v("ID").toInt();
    type(QStringLiteral("CONA"), QStringLiteral("株式会社丸井"));
    type(QStringLiteral("HINMEI_11"), QStringLiteral("ブラウス"));
    type(QStringLiteral("KAZU_11"), QStringLiteral("12"));
    type(QStringLiteral("NOUH_D"), QStringLiteral("5")); // one character: composed as it is
    press(Btn::nbPost);
    ASSERT_EQ(query().state(), EditableResultSet::State::Browse);
    EXPECT_EQ(text(v("NOUHIN_DATE1")), todayYYMMDD());
    EXPECT_EQ(text(v("NOUHIN_DATE2")), QStringLiteral("5"));
    EXPECT_TRUE(v("HACYU_DATE").isNull());
    EXPECT_EQ(countRows(), 0); // in the cache until saved

    closeForm();
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(m_messages.shown().isEmpty()); // nothing being edited: no question
    EXPECT_EQ(committed(id, QStringLiteral("CONAME")).toString(), QStringLiteral("株式会社丸井"));
    EXPECT_EQ(committed(id, QStringLiteral("HINMEI_11")).toString(), QStringLiteral("ブラウス"));
    EXPECT_EQ(committed(id, QStringLiteral("KAZU_11")).toString(), QStringLiteral("12"));
    EXPECT_EQ(committed(id, QStringLiteral("NOUHIN_DATE1")).toString(), todayYYMMDD());
}

TEST_F(SlipLife, CompanyNameIsRequired)
{
    open(SlipType::Type11);
    press(Btn::nbInsert);
    const QString refused = QString::fromUtf16(SlipEntryTexts::kCompanyRequired);
    for (const QString &typed : {QString(), QStringLiteral("　 　")}) {
        if (!typed.isEmpty())
            type(QStringLiteral("CONA"), typed);
        m_messages.clear();
        press(Btn::nbPost);
        ASSERT_EQ(m_messages.shown().size(), 1);
        EXPECT_EQ(m_messages.shown().at(0).text, refused);
        EXPECT_EQ(m_messages.shown().at(0).type, MsgType::Error);
        EXPECT_EQ(m_messages.shown().at(0).buttons, MsgButtons(MsgButton::Ok));
        EXPECT_EQ(m_messages.shown().at(0).helpContext, 7);
        EXPECT_EQ(query().state(), EditableResultSet::State::Insert);
    }
    type(QStringLiteral("CONA"), QStringLiteral("西友"));
    m_messages.clear();
    press(Btn::nbPost);
    EXPECT_TRUE(m_messages.shown().isEmpty());
    EXPECT_EQ(query().state(), EditableResultSet::State::Browse);
}

TEST_F(SlipLife, SecondNewSlipWaitsForTheCompanyOfTheFirst)
{
    insertSlip(QStringLiteral("既存"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    press(Btn::nbInsert);
    const QVariant firstId = v("ID");
    press(Btn::nbInsert);
    EXPECT_EQ(query().rowCount(), 2); // the stored slip and one new one
    EXPECT_EQ(query().state(), EditableResultSet::State::Insert);
    EXPECT_EQ(v("ID"), firstId);
    EXPECT_TRUE(m_messages.shown().isEmpty());

    // With a company the first is posted and a second starts.
    type(QStringLiteral("CONA"), QStringLiteral("丸井"));
    press(Btn::nbInsert);
    EXPECT_EQ(query().rowCount(), 3);
    EXPECT_EQ(query().state(), EditableResultSet::State::Insert);
}

TEST_F(SlipLife, EditingDisablesTheListAndTheRowNavigator)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    EXPECT_TRUE(form().SelDataBtn()->isEnabled());
    EXPECT_TRUE(form().CaptionDBNavi2()->isEnabled());
    type(QStringLiteral("TENP"), QStringLiteral("本店"));
    EXPECT_EQ(query().state(), EditableResultSet::State::Edit);
    EXPECT_FALSE(form().SelDataBtn()->isEnabled());
    EXPECT_FALSE(form().CaptionDBNavi2()->isEnabled());
    press(Btn::nbPost);
    EXPECT_TRUE(form().SelDataBtn()->isEnabled());
    EXPECT_TRUE(form().CaptionDBNavi2()->isEnabled());
}

TEST_F(SlipLife, EnterAndArrowsFollowTheTabOrder)
{
    const struct
    {
        SlipType type;
        const char *lastAmount;
        const char *quantityTotal;
    } cases[] = {
        {SlipType::Type22, "BIKOU_9", "GOUKEI_KAZU9_1"},
        {SlipType::Type11, "BIKOU_6", "GOUKEI_KAZU6_1"},
        {SlipType::TypeT12, "BIKOU_6", "GOUKEI_KAZU6_1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(slipTypeInfo(c.type).program);
        open(c.type);
        edit(QStringLiteral("BINN"))->setFocus();
        key(Qt::Key_Return);
        EXPECT_EQ(focused(), edit(QStringLiteral("HINMEI_11")));
        key(Qt::Key_Up);
        EXPECT_EQ(focused(), edit(QStringLiteral("BINN")));
        key(Qt::Key_Down);
        EXPECT_EQ(focused(), edit(QStringLiteral("HINMEI_11")));
        edit(QLatin1String(c.lastAmount))->setFocus();
        key(Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(focused(), edit(QLatin1String(c.quantityTotal)));
    }
}

TEST_F(SlipLife, PageKeysMoveOnlyWhileBrowsing)
{
    for (int i = 1; i <= 3; ++i)
        insertSlip(QStringLiteral("社%1").arg(i), 1, QStringLiteral("00000%1").arg(i));
    open(SlipType::Type22);
    edit(QStringLiteral("CONA"))->setFocus();
    const QString first = edit(QStringLiteral("CONA"))->text();
    key(Qt::Key_PageDown);
    EXPECT_EQ(query().currentRow(), 1);
    EXPECT_NE(edit(QStringLiteral("CONA"))->text(), first);
    key(Qt::Key_PageUp);
    EXPECT_EQ(query().currentRow(), 0);
    key(Qt::Key_PageDown);

    type(QStringLiteral("TENP"), QStringLiteral("支店"));
    ASSERT_EQ(query().state(), EditableResultSet::State::Edit);
    key(Qt::Key_PageDown);
    key(Qt::Key_PageUp);
    EXPECT_EQ(query().currentRow(), 1);
    EXPECT_EQ(query().state(), EditableResultSet::State::Edit);
}

TEST_F(SlipLife, PostAndAppendKeysPerType)
{
    for (SlipType t : kAllSlipTypes) {
        const bool offered = !slipTypeInfo(t).typewriter;
        SCOPED_TRACE(slipTypeInfo(t).program);
        insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
        open(t);
        const int rows = query().rowCount();
        edit(QStringLiteral("CONA"))->setFocus();
        key(Qt::Key_Insert, Qt::ControlModifier);
        EXPECT_EQ(query().state() == EditableResultSet::State::Insert, offered);
        EXPECT_EQ(query().rowCount(), rows + (offered ? 1 : 0));
        type(QStringLiteral("CONA"), QStringLiteral("乙"));
        key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(query().state() == EditableResultSet::State::Browse, offered);
        if (!offered) {
            EXPECT_EQ(query().state(), EditableResultSet::State::Edit);
            press(Btn::nbCancel);
        }
    }
}

TEST_F(SlipLife, ClosingAsksAndCancelKeepsTheWindowOpen)
{
    const int id = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type21);
    type(QStringLiteral("CONA"), QStringLiteral("乙"));
    m_messages.answer(MsgResult::Cancel);
    EXPECT_FALSE(form().close());
    EXPECT_TRUE(form().isVisible());
    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().at(0).type, MsgType::Confirmation);
    EXPECT_EQ(m_messages.shown().at(0).buttons, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    EXPECT_EQ(query().state(), EditableResultSet::State::Edit);
    EXPECT_EQ(committed(id, QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));

    m_messages.answer(MsgResult::Yes);
    EXPECT_TRUE(form().close());
    EXPECT_EQ(committed(id, QStringLiteral("CONAME")).toString(), QStringLiteral("甲乙"));
}

TEST_F(SlipLife, FieldActionSeamsReportLeavingAndDoubleClicking)
{
    insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    edit(QStringLiteral("KAZU_11"))->setFocus();
    QStringList seen;
    QObject::connect(
        &form(), &TambrelForm::fieldExited, &form(), [&](DBEdit *e, SlipFieldExit action) {
            // The typed text is in its column when the hook runs.
            seen << e->objectName() + QLatin1Char('=') + text(query().value(e->dataField())) +
                        QLatin1Char('/') + QString::number(int(action));
        });
    type(QStringLiteral("KAZU_11"), QStringLiteral("3"));
    key(Qt::Key_Return);
    EXPECT_EQ(seen, QStringList{QStringLiteral("KAZU_11=3/%1").arg(int(SlipFieldExit::Quantity))});

    QList<QPair<QString, SlipFieldClick>> clicks;
    QObject::connect(&form(), &TambrelForm::fieldDoubleClicked, &form(),
                     [&](DBEdit *e, SlipFieldClick action) {
                         clicks.append({e->objectName(), action});
                     });
    // The partner list the double-click opens is closed again at once.
    OnModal<TSelCompanyForm>([](TSelCompanyForm *list) { list->reject(); });
    QTest::mouseDClick(edit(QStringLiteral("TNAM")), Qt::LeftButton);
    QTest::mouseDClick(edit(QStringLiteral("GKEI_1")), Qt::LeftButton);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks.at(0).first, QStringLiteral("TNAM"));
    EXPECT_EQ(clicks.at(0).second, SlipFieldClick::Partner);
}

TEST_F(SlipLife, SaveThatFailsAtCloseIsReportedBeforeTheProgramEnds)
{
    const int id = insertSlip(QStringLiteral("甲"), 1, QStringLiteral("000001"));
    open(SlipType::Type22);
    type(QStringLiteral("TENP"), QStringLiteral("本店"));
    // Longer than the column holds, as a picker could write it.
    query().setValue(QStringLiteral("CONAME"), QString(70, QChar(u'長')));
    m_messages.answer(MsgResult::Yes);
    EXPECT_TRUE(form().close());
    ASSERT_EQ(m_messages.shown().size(), 2);
    EXPECT_EQ(m_messages.shown().at(1).type, MsgType::Error);
    EXPECT_EQ(m_messages.shown().at(1).text,
              QString::fromUtf8("データ更新中にエラーが発生しました。"));
    EXPECT_EQ(committed(id, QStringLiteral("CONAME")).toString(), QStringLiteral("甲"));
}
