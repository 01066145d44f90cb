#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

// Drives a running program from a script, the way a clerk would: key presses
// and clicks sent to the named widgets, message boxes answered, texts
// checked. It is how the whole road of a slip is tested through the real
// programs as separate processes (TambrelOut started by a slip entry
// program included).
//
// A program runs a script when TAMBREL_UI_SCRIPT_<program name> (or, for
// any program, TAMBREL_UI_SCRIPT) names a script file; what happened is
// appended to the file named by TAMBREL_UI_LOG. A step that cannot be done
// or a check that fails ends the program with exit code 3 after a line
// "FAIL <step>: <reason>" in the log. One command a line ("#" starts a
// comment); names are widget or action object names, "Parent/Child" for a
// widget inside a named one (CaptionDBNavi1/nbInsert):
//
//   step TEXT                 names the following commands in the log
//   click NAME                clicks a button (or triggers an action)
//   type NAME TEXT            focuses the widget and types the text
//   key NAME KEYS             focuses the widget and presses e.g. Return,
//                             Tab, PageDown, Ctrl+S
//   set NAME TEXT             replaces the text of an edit as a paste would
//   choose NAME TEXT          picks the item of that text in a list
//   check NAME TEXT           checks the text (or check state 0/1) of a widget
//   row NAME N                makes row N (from 0) of a grid current
//   dblclick NAME [N]         double-clicks a widget, or row N of a grid
//   pick NAME COLUMN TEXT     double-clicks the grid row whose cell in the
//                             column (by header text) is TEXT
//   cell NAME N COLUMN TEXT   checks a grid cell (column by header text)
//   answer RESULT             answers the next message box: Ok, Cancel,
//                             Yes, No
//   message TEXT              checks that the last message box said TEXT
//   wait MS                   waits
//   touch PATH                creates a file (to meet another program)
//   waitfile PATH             waits for a file to exist
//   close NAME                closes the window of the widget
//
// A command waits (up to 60 s) for its widget to exist, be visible and
// enabled, and for a modal dialog to close unless the widget is in it: a
// window disabled while another program runs is waited for.
class UiScript : public QObject
{
    Q_OBJECT
public:
    // Starts the script of this program, if the environment names one.
    static void startFromEnvironment(const QString &programName);

    UiScript(QStringList lines, QString logPath, QObject *parent = nullptr);
    ~UiScript() override;

signals:
    // A step could not be done; the program's own script then exits with 3.
    void failed();

private:
    void next();
    bool runLine(const QString &line, QString &error);
    void log(const QString &line) const;
    void fail(const QString &reason);
    void defer(std::function<void()> action);

    QStringList m_lines;
    qsizetype m_pos = 0;
    QString m_logPath;
    QString m_step;
    qint64 m_waitingSince = -1;
    class Answers;
    std::unique_ptr<Answers> m_answers;
};
