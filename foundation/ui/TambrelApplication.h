#pragma once

#include <QApplication>

// The application object of every program: shows an error raised in an event
// handler as an error box, after which the window stays open. While it
// exists, messages are message boxes and database work shows the wait cursor.
class TambrelApplication : public QApplication
{
    Q_OBJECT
public:
    TambrelApplication(int &argc, char **argv);
    ~TambrelApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the error currently being handled (call inside a catch block).
    static void showCurrentException();
};
