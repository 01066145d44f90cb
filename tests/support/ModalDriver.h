#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

// Acts on the next modal window of type T once it is shown, as a user at the
// screen would, while the code under test waits in its exec(). A window
// that does not come within the timeout fails the test; one left open by the
// action is closed so the test cannot hang.
template <typename T> void OnModal(std::function<void(T *)> action, int timeoutMs = 10000)
{
    auto *timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action, timeoutMs] {
        *waited += timer->interval();
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(window);
            return;
        }
        if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected window did not open";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
        }
    });
    timer->start();
}
