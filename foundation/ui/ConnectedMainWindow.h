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

private:
    Database m_database;
    Transaction m_transaction;
};
