#include "Messages.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

QString g_title;

// Without a window system (command-line tools) a message goes to stderr
// and every question counts as unanswered.
class StderrHandler : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        QString shown = request.text;
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QString program = QCoreApplication::applicationName();
        if (!program.isEmpty())
            shown.prepend(program + QLatin1String(": "));
        std::fprintf(stderr, "%s\n", shown.toLocal8Bit().constData());
        return request.buttons == MsgButtons(MsgButton::Ok) ? MsgResult::Ok : MsgResult::None;
    }

    bool inputQuery(const InputRequest &, QString &) override { return false; }
};

StderrHandler g_stderr;
MessageHandler *g_default = &g_stderr;
MessageHandler *g_handler = nullptr;

} // namespace

namespace Messages {

MsgResult show(MsgType type, const QString &text, MsgButtons buttons, int helpContext)
{
    MessageRequest request;
    request.type = type;
    request.text = text;
    request.buttons = buttons;
    request.helpContext = helpContext;
    return handler()->showMessage(request);
}

void error(const QString &text, int helpContext)
{
    show(MsgType::Error, text, MsgButton::Ok, helpContext);
}

void information(const QString &text, int helpContext)
{
    show(MsgType::Information, text, MsgButton::Ok, helpContext);
}

QString twoPart(const QString &first, const QString &second)
{
    return first + QLatin1String("\r\r") + second;
}

bool inputQuery(const QString &caption, const QString &prompt, QString &value)
{
    InputRequest request{caption, prompt, value};
    return handler()->inputQuery(request, value);
}

QString inputBox(const QString &caption, const QString &prompt, const QString &defaultValue)
{
    QString value = defaultValue;
    if (!inputQuery(caption, prompt, value))
        return defaultValue;
    return value;
}

void setDefaultHandler(MessageHandler *h)
{
    g_default = h ? h : &g_stderr;
}

void setHandler(MessageHandler *h)
{
    g_handler = h;
}

MessageHandler *handler()
{
    return g_handler ? g_handler : g_default;
}

void setTitle(const QString &t)
{
    g_title = t;
}

QString title()
{
    if (!g_title.isEmpty())
        return g_title;
    return QCoreApplication::applicationName();
}

} // namespace Messages
