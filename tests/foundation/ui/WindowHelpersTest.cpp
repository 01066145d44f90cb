#include "ui/WindowHelpers.h"
#include "text/KivFunc.h"
#include "text/ShiftJis.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

TEST(RunProgramAndWait, WindowDisabledWhileTheChildRunsAndRestored)
{
    QWidget window;
    window.show();
    // The child checks nothing; the window state is sampled by a timer
    // while the loop waits.
    bool sawDisabled = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { sawDisabled |= !window.isEnabled(); });
    probe.start(5);
    RunProgramAndWait(&window, QStringLiteral("sleep"), QStringLiteral("0.3"), 1, Qt::WindowNoState,
                      true, QString());
    EXPECT_TRUE(sawDisabled);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(window.isVisible());
    // A program that cannot start still restores the window.
    RunProgramAndWait(&window, QStringLiteral("TambrelNoSuchProgram.exe"), QStringLiteral("x"), 1,
                      Qt::WindowNoState, true, QString());
    EXPECT_TRUE(window.isEnabled());
}

TEST(PressKey, TabMovesTheFocus)
{
    QWidget window;
    auto *first = new QLineEdit(&window);
    auto *second = new QLineEdit(&window);
    first->move(0, 0);
    second->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    first->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), first);
    PressKey(9, 1);
    EXPECT_EQ(QApplication::focusWidget(), second);
}
