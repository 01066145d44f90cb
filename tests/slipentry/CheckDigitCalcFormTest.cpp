#include "CheckDigitCalcForm.h"
#include "ModalDriver.h"
#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "app/Messages.h"
#include "serial/SerialTexts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CheckDigitDialog : public ::testing::Test
{
protected:
    TambrelSettings settingsWith(int denKetaCD)
    {
        TambrelSettings s;
        s.SettingsFilePath = m_dir.filePath(QStringLiteral("TAMBREL.ini"));
        s.DenKetaCD = denKetaCD;
        return s;
    }

    // Opens the dialog on the number, lets the clerk act, and returns what
    // the slip gets: (number, check digit).
    std::pair<QString, QString> run(const QString &number,
                                    std::function<void(TCheckDigitCalcForm *)> clerk)
    {
        QString n = number, cd = QStringLiteral("unchanged");
        OnModal<TCheckDigitCalcForm>(clerk);
        CalcCheckDigit(n, cd);
        return {n, cd};
    }

    static void type(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
};

const QString kMessage7DR =
    Messages::twoPart(QString::fromUtf8(kDigitCountError), QString::fromUtf8(kDigitCount7DR));

TEST_F(CheckDigitDialog, OpensByTheNumbersLengthAndComputesAtOnce)
{
    struct Case
    {
        QString given;
        QString edit1, edit2, edit3, edit4; // what the dialog shows
        QString number, checkDigit;         // what OK hands back
    };
    const Case cases[] = {
        // Full-width digits open as half-width, 7DR computed.
        {QStringLiteral("１２３４５６"), "123456", "4", "", "", "123456", "4"},
        {QStringLiteral("987654"), "987654", QString::number(987654 % 7), "", "", "987654",
         QString::number(987654 % 7)},
        // Ten digits: modulus 11 at once (sum 180, remainder 4).
        {QStringLiteral("1234567890"), "", "", "1234567890", "7", "1234567890", "7"},
        // Any other length: the samples, nothing computed; OK changes nothing.
        {QStringLiteral("12345678"), "123456", "", "1234567890", "", "12345678", ""},
        {QString(), "123456", "", "1234567890", "", "", ""},
    };
    ScopedSettings settings(settingsWith(0));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.given.toStdString());
        QStringList shown;
        const auto [number, cd] = run(c.given, [&](TCheckDigitCalcForm *f) {
            shown = {f->Edit1()->text(), f->Edit2()->text(), f->Edit3()->text(),
                     f->Edit4()->text()};
            f->BitBtn1()->click();
        });
        EXPECT_EQ(shown, (QStringList{c.edit1, c.edit2, c.edit3, c.edit4}));
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(cd, c.checkDigit);
    }
    EXPECT_TRUE(m_messages.shown().isEmpty());
}

TEST_F(CheckDigitDialog, NoMissingNumbersTickedOnlyForSetting4)
{
    for (int denKetaCD : {0, 2, 3, 4}) {
        ScopedSettings settings(settingsWith(denKetaCD));
        TCheckDigitCalcForm form(QStringLiteral("1"));
        EXPECT_EQ(form.CheckBox1()->isChecked(), denKetaCD == 4) << denKetaCD;
    }
}

TEST_F(CheckDigitDialog, MissingNumberCheckFollowsTheBox)
{
    // Nine zeros and 6: remainder 1, a missing number.
    ScopedSettings settings(settingsWith(3));
    TCheckDigitCalcForm form(QStringLiteral("0000000006"));
    EXPECT_EQ(form.Edit4()->text(), QString());
    ASSERT_EQ(m_messages.texts(),
              QStringList{QStringLiteral("0000000006") + QString::fromUtf8(kMissingNumber)});
    form.CheckBox1()->setChecked(true);
    form.SpeedButton2Click();
    EXPECT_EQ(form.Edit4()->text(), QStringLiteral("0"));
    EXPECT_EQ(form.resultCheckDigit(), QStringLiteral("0"));
    EXPECT_EQ(m_messages.shown().size(), 1);
}

TEST_F(CheckDigitDialog, EnterInANumberEditComputesWithoutClosing)
{
    ScopedSettings settings(settingsWith(0));
    bool stillOpen = false;
    const auto [number, cd] = run(QStringLiteral("12345678"), [&](TCheckDigitCalcForm *f) {
        // Six digits typed with a hyphen among them.
        type(f->Edit1(), QStringLiteral("12-3456"));
        QTest::keyClick(f->Edit1(), Qt::Key_Return);
        stillOpen = f->isVisible();
        EXPECT_EQ(f->Edit1()->text(), QStringLiteral("123456"));
        EXPECT_EQ(f->Edit2()->text(), QStringLiteral("4"));
        f->BitBtn1()->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(number, QStringLiteral("123456"));
    EXPECT_EQ(cd, QStringLiteral("4"));
}

TEST_F(CheckDigitDialog, TheLastComputationDecidesWhatOkReturns)
{
    ScopedSettings settings(settingsWith(0));
    const auto [number, cd] = run(QStringLiteral("123456"), [&](TCheckDigitCalcForm *f) {
        type(f->Edit3(), QStringLiteral("0000000005"));
        QTest::keyClick(f->Edit3(), Qt::Key_Enter);
        EXPECT_EQ(f->Edit4()->text(), QStringLiteral("1"));
        f->BitBtn1()->click();
    });
    EXPECT_EQ(number, QStringLiteral("0000000005"));
    EXPECT_EQ(cd, QStringLiteral("1"));
}

TEST_F(CheckDigitDialog, AFailedComputationKeepsTheLastGoodPair)
{
    ScopedSettings settings(settingsWith(0));
    const auto [number, cd] = run(QStringLiteral("123456"), [&](TCheckDigitCalcForm *f) {
        // Five digits: the 7DR message, the previous result stays.
        type(f->Edit1(), QStringLiteral("65432"));
        f->SpeedButton1()->click();
        EXPECT_EQ(f->Edit2()->text(), QStringLiteral("4"));
        // Nine digits for modulus 11: its message, nothing computed.
        type(f->Edit3(), QStringLiteral("987654321"));
        QTest::keyClick(f->Edit3(), Qt::Key_Return);
        EXPECT_EQ(f->Edit4()->text(), QString());
        f->BitBtn1()->click();
    });
    // Never a number with another number's check digit.
    EXPECT_EQ(number, QStringLiteral("123456"));
    EXPECT_EQ(cd, QStringLiteral("4"));
    ASSERT_EQ(m_messages.shown().size(), 2);
    EXPECT_EQ(m_messages.shown().at(0).text, kMessage7DR);
    EXPECT_EQ(m_messages.shown().at(0).type, MsgType::Error);
    EXPECT_EQ(m_messages.shown().at(1).text,
              Messages::twoPart(QString::fromUtf8(kDigitCountError),
                                QString::fromUtf8(kDigitCountModulus11)));
}

TEST_F(CheckDigitDialog, CancelEmptiesTheCheckDigit)
{
    ScopedSettings settings(settingsWith(0));
    const auto [number, cd] = run(QStringLiteral("12-3456"), [](TCheckDigitCalcForm *f) {
        EXPECT_EQ(f->Edit2()->text(), QStringLiteral("4"));
        f->BitBtn2()->click();
    });
    EXPECT_EQ(number, QStringLiteral("123456"));
    EXPECT_EQ(cd, QString());
}

TEST_F(CheckDigitDialog, NumberEditsHoldTheirDigitCount)
{
    ScopedSettings settings(settingsWith(0));
    TCheckDigitCalcForm form(QString{});
    type(form.Edit1(), QStringLiteral("1234567"));
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("123456"));
    type(form.Edit3(), QStringLiteral("123-456-78901"));
    EXPECT_EQ(form.Edit3()->text(), QStringLiteral("123-456-7890"));
}

} // namespace
