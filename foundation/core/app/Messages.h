#pragma once

#include <QFlags>
#include <QString>

class QWidget;

// Every message dialog and input box of the suite goes through here, so the
// texts live in one path and tests can answer them by script. This is only
// the service; the message boxes themselves are the GUI layer's handler.
enum class MsgType
{
    Warning,
    Error,
    Information,
    Confirmation,
};

enum class MsgButton
{
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8,
};
Q_DECLARE_FLAGS(MsgButtons, MsgButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MsgButtons)

enum class MsgResult
{
    None,
    Ok,
    Cancel,
    Yes,
    No,
};

struct MessageRequest
{
    MsgType type = MsgType::Information;
    QString text;
    MsgButtons buttons = MsgButton::Ok;
    int helpContext = 0;
};

struct InputRequest
{
    QString caption;
    QString prompt;
    QString value; // the text the box starts with
};

class MessageHandler
{
public:
    virtual ~MessageHandler() = default;
    virtual MsgResult showMessage(const MessageRequest &request) = 0;
    // Returns false when the user cancelled; value is then left unchanged.
    virtual bool inputQuery(const InputRequest &request, QString &value) = 0;
};

namespace Messages {

MsgResult show(MsgType type, const QString &text, MsgButtons buttons = MsgButton::Ok,
               int helpContext = 0);
void error(const QString &text, int helpContext = 0);
void information(const QString &text, int helpContext = 0);
// The two parts of a two-part message, separated by two carriage returns.
QString twoPart(const QString &first, const QString &second);

// The input box: false when cancelled.
bool inputQuery(const QString &caption, const QString &prompt, QString &value);
// The input box returning the default when cancelled.
QString inputBox(const QString &caption, const QString &prompt, const QString &defaultValue);

// The handler in use; passing nullptr restores the default. The caller keeps
// ownership. Tests install a scripted one here.
void setHandler(MessageHandler *handler);
// The default: message boxes in a program with windows (installed by the GUI
// layer), stderr otherwise. nullptr restores stderr.
void setDefaultHandler(MessageHandler *handler);
MessageHandler *handler();

// The title of the message boxes (the application's title).
void setTitle(const QString &title);
QString title();

} // namespace Messages
