#pragma once

#include "ScopedSettings.h"
#include "ScriptedMessages.h"
#include "SelDataForm.h"
#include "TambrelForm.h"
#include "TestDatabase.h"
#include "db/Database.h"
#include "db/Transaction.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include <gtest/gtest.h>

class DBEdit;

// Readable texts in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

// A slip form of one type on a fresh database, shown and active, with the
// settings of the test, scripted message boxes and a second connection of
// its own to look at what was committed.
class SlipFormFixture : public ::testing::Test
{
protected:
    SlipFormFixture();
    ~SlipFormFixture() override;

    // Applies m_settings and opens the form.
    TambrelForm &open(SlipType type, const QString &picture = {});
    void closeForm();
    TambrelForm &form() { return *m_form; }
    EditableResultSet &query() { return m_form->IBQueryTambrel(); }
    DBEdit *edit(const QString &name);

    // Committed rows, read through the fixture's own connection.
    int insertSlip(const QString &company, int printout, const QString &denno);
    QVariant committed(int id, const QString &column);
    qint64 countRows(const QString &condition = {});
    // RENBAN and SCOUNT of the slip number counter (-1 when it has no row).
    QPair<qint64, qint64> counter();
    void setCounter(qint64 renban, qint64 scount);
    void execute(const QString &sql);

    // Types into an edit as a clerk does, and presses keys on the focused
    // control.
    void type(const QString &editName, const QString &text);
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void press(TCaptionDBNavi::NavigateBtn button);
    QWidget *focused() const;
    // The fetched row of a slip in the form's result set, or -1.
    int rowOfId(int id);
    // Gives the form the focus back after a dialog closed.
    void reactivate();
    // Chooses a slip in the list as a click on its row does.
    void choose(TSelDataForm &list, int id);

    // Runs fn on the saved-slip list as soon as it is open (it is modal).
    void whenListOpens(std::function<void(TSelDataForm &)> fn);

    TestDatabase m_file;
    TambrelSettings m_settings;
    ScriptedMessages m_messages;
    QTemporaryDir m_scratch;
    Database m_db;
    Transaction m_tr;
    std::optional<ScopedSettings> m_scoped;
    std::unique_ptr<TambrelForm> m_form;
    // Owns the list watchers, so none outlives its test.
    QObject m_watchers;
};
