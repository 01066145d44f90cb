#include "app/Messages.h"
#include "ScriptedMessages.h"
#include "app/AppError.h"
#include "text/ShiftJis.h"
#include "ui/TambrelApplication.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

TEST(Messages, RequestsReachTheInstalledHandler)
{
    ScriptedMessages scripted;
    scripted.answer(MsgResult::Cancel);
    const QString text = Messages::twoPart(QStringLiteral("未登録のデータがあります。"),
                                           QStringLiteral("登録しますか？"));
    EXPECT_EQ(text, QStringLiteral("未登録のデータがあります。\r\r登録しますか？"));
    EXPECT_EQ(Messages::show(MsgType::Confirmation, text,
                             MsgButton::Yes | MsgButton::No | MsgButton::Cancel, 11),
              MsgResult::Cancel);
    Messages::error(QStringLiteral("Update Error"));
    ASSERT_EQ(scripted.shown().size(), 2);
    EXPECT_EQ(scripted.shown().at(0).type, MsgType::Confirmation);
    EXPECT_EQ(scripted.shown().at(0).helpContext, 11);
    EXPECT_EQ(scripted.shown().at(0).buttons, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    EXPECT_EQ(scripted.texts().at(1), QStringLiteral("Update Error"));
    EXPECT_EQ(scripted.shown().at(1).type, MsgType::Error);
}

TEST(Messages, InputBoxKeepsTheDefaultWhenCancelled)
{
    ScriptedMessages scripted;
    scripted.cancelInput();
    scripted.input(QStringLiteral("25"));
    EXPECT_EQ(Messages::inputBox(QStringLiteral("ページ"), QStringLiteral("ページ番号"),
                                 QStringLiteral("1")),
              QStringLiteral("1"));
    EXPECT_EQ(Messages::inputBox(QStringLiteral("ページ"), QStringLiteral("ページ番号"),
                                 QStringLiteral("1")),
              QStringLiteral("25"));
    ASSERT_EQ(scripted.inputsShown().size(), 2);
    EXPECT_EQ(scripted.inputsShown().at(0).prompt, QStringLiteral("ページ番号"));
}

namespace {

class Thrower : public QObject
{
public:
    int kind = 0;
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (kind == 0)
            throw AppError(QStringLiteral("Table Open Error"), QStringLiteral("detail"));
        ShiftJis::encode(QStringLiteral("\U0001F600"), QStringLiteral("社名"));
        return true;
    }
};

} // namespace

TEST(TambrelApplication, ErrorsRaisedInHandlersBecomeErrorBoxes)
{
    ASSERT_NE(dynamic_cast<TambrelApplication *>(QCoreApplication::instance()), nullptr);
    ScriptedMessages scripted;
    Thrower t;
    QEvent e(QEvent::User);
    QCoreApplication::sendEvent(&t, &e);
    t.kind = 1;
    QCoreApplication::sendEvent(&t, &e);
    ASSERT_EQ(scripted.shown().size(), 2);
    EXPECT_EQ(scripted.texts().at(0), QStringLiteral("Table Open Error"));
    EXPECT_EQ(scripted.shown().at(0).type, MsgType::Error);
    EXPECT_TRUE(scripted.texts().at(1).startsWith(QStringLiteral("社名")));
}
