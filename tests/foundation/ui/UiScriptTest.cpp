#include "ui/UiScript.h"
#include "app/Messages.h"

#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A small window: an edit, a button asking a question, a grid.
struct Window
{
    QWidget w;
    QLineEdit *edit = new QLineEdit(&w);
    QPushButton *button = new QPushButton(QStringLiteral("実行"), &w);
    QLabel *label = new QLabel(&w);
    QTableView *grid = new QTableView(&w);
    QStandardItemModel model{3, 2};

    Window()
    {
        edit->setObjectName(QStringLiteral("Edit1"));
        button->setObjectName(QStringLiteral("Button1"));
        label->setObjectName(QStringLiteral("Label1"));
        grid->setObjectName(QStringLiteral("Grid1"));
        auto *layout = new QVBoxLayout(&w);
        layout->addWidget(edit);
        layout->addWidget(button);
        layout->addWidget(label);
        layout->addWidget(grid);
        model.setHorizontalHeaderLabels({QStringLiteral("CODE"), QStringLiteral("NAME")});
        for (int r = 0; r < 3; ++r) {
            model.setItem(r, 0, new QStandardItem(QString::number(r + 1)));
            model.setItem(r, 1, new QStandardItem(QStringLiteral("品%1").arg(r + 1)));
        }
        grid->setModel(&model);
        QObject::connect(button, &QPushButton::clicked, &w, [this] {
            const MsgResult r =
                Messages::show(MsgType::Confirmation, QStringLiteral("続けますか？"),
                               MsgButton::Yes | MsgButton::No);
            label->setText(edit->text() +
                           (r == MsgResult::Yes ? QStringLiteral(":yes") : QStringLiteral(":no")));
        });
        QObject::connect(grid, &QTableView::doubleClicked, &w, [this](const QModelIndex &i) {
            label->setText(model.item(i.row(), 1)->text());
        });
        w.resize(400, 400);
        w.show();
    }
};

struct Outcome
{
    int exitCode = 0;
    QString log;
};

Outcome runScript(const QString &script)
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("log.txt"));
    QEventLoop loop;
    auto *driver = new UiScript(script.split(QLatin1Char('\n')), logPath);
    QObject::connect(driver, &UiScript::failed, &loop, [&] { loop.exit(3); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        QFile f(logPath);
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains("done"))
            loop.exit(0);
    });
    poll.start(20);
    QTimer::singleShot(20000, &loop, [&] { loop.exit(99); });
    Outcome out;
    out.exitCode = loop.exec();
    delete driver;
    QFile f(logPath);
    if (f.open(QIODevice::ReadOnly))
        out.log = QString::fromUtf8(f.readAll());
    return out;
}

} // namespace

TEST(UiScript, TypesClicksAnswersAndChecksLikeAClerk)
{
    Window window;
    const Outcome out = runScript(QStringLiteral("step type and confirm\n"
                                                 "type Edit1 伝票Ａ1\n"
                                                 "answer Yes\n"
                                                 "click Button1\n"
                                                 "message 続けますか？\n"
                                                 "check Label1 伝票Ａ1:yes\n"
                                                 "# a comment\n"
                                                 "step pick a row\n"
                                                 "dblclick Grid1 2\n"
                                                 "check Label1 品3\n"
                                                 "cell Grid1 1 NAME 品2\n"));
    EXPECT_EQ(out.exitCode, 0) << out.log.toStdString();
    EXPECT_TRUE(out.log.contains(QStringLiteral("message: 続けますか？ -> ")))
        << out.log.toStdString();
    EXPECT_EQ(window.label->text(), QStringLiteral("品3"));
    EXPECT_EQ(window.edit->text(), QStringLiteral("伝票Ａ1"));
}

TEST(UiScript, AFailedCheckNamesItsStepAndEndsWithCodeThree)
{
    Window window;
    const Outcome cases[] = {
        runScript(QStringLiteral("step the wrong answer\nanswer No\nclick Button1\n"
                                 "check Label1 :yes\n")),
        runScript(QStringLiteral("step a cell\ncell Grid1 0 NAME 品9\n")),
    };
    for (const Outcome &out : cases) {
        EXPECT_EQ(out.exitCode, 3) << out.log.toStdString();
        EXPECT_TRUE(
            out.log.contains(QStringLiteral("FAIL the wrong answer: Label1 shows \":no\"")) ||
            out.log.contains(QStringLiteral("FAIL a cell: Grid1 row 0 NAME is \"品1\"")))
            << out.log.toStdString();
    }
}
