#pragma once

#include "db/Database.h"
#include "db/Transaction.h"

#include <QMainWindow>

// The main window of a program: owns the program's connection and its
// transaction for its whole life and connects when it is created.
class ConnectedMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // designedCaption follows the suite's caption prefix.
    explicit ConnectedMainWindow(const QString &designedCaption, QWidget *parent = nullptr);
    ~ConnectedMainWindow() override;

    Database &IBDatabase1() { return m_database; }
    Transaction &IBTransaction1() { return m_transaction; }
    bool databaseConnected() const { return m_database.connected(); }

    static QString captionPrefix();

    // The program is told to end (SIGTERM, SIGINT, a logout): write what the
    // clerk posted, drop an unposted edit and release its number, save the
    // placement and close, without a question. Message boxes shown meanwhile
    // are answered without being shown (see TerminationSignals), so the
    // default, a plain close() through the window's own close handling,
    // does this for a window whose close asks whether to save. A window
    // whose close needs more overrides it.
    virtual void terminate();

private:
    Database m_database;
    Transaction m_transaction;
};
