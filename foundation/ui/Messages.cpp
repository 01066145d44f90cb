#include "Messages.h"

#include "Help.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString g_title;

class DialogHandler : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(Messages::title());
        // Two carriage returns separate the two parts: a blank line on screen.
        QString shown = request.text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setText(shown);
        switch (request.type) {
        case MsgType::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgType::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgType::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgType::Confirmation:
            box.setIcon(QMessageBox::Question);
            break;
        }
        QMessageBox::StandardButtons buttons;
        if (request.buttons & MsgButton::Yes)
            buttons |= QMessageBox::Yes;
        if (request.buttons & MsgButton::No)
            buttons |= QMessageBox::No;
        if (request.buttons & MsgButton::Ok)
            buttons |= QMessageBox::Ok;
        if (request.buttons & MsgButton::Cancel)
            buttons |= QMessageBox::Cancel;
        if (request.helpContext != 0)
            buttons |= QMessageBox::Help;
        box.setStandardButtons(buttons);
        if (request.helpContext != 0) {
            // Help shows the page without closing the box.
            QAbstractButton *help = box.button(QMessageBox::Help);
            help->disconnect();
            QObject::connect(help, &QAbstractButton::clicked, &box,
                             [ctx = request.helpContext] { Help::showContext(ctx); });
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Ok:
            return MsgResult::Ok;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        default:
            return MsgResult::Cancel;
        }
    }

    bool inputQuery(const InputRequest &request, QString &value) override
    {
        bool ok = false;
        const QString text =
            QInputDialog::getText(QApplication::activeWindow(), request.caption, request.prompt,
                                  QLineEdit::Normal, request.value, &ok);
        if (ok)
            value = text;
        return ok;
    }
};

DialogHandler g_dialogs;
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

void setHandler(MessageHandler *h)
{
    g_handler = h;
}

MessageHandler *handler()
{
    return g_handler ? g_handler : &g_dialogs;
}

void setTitle(const QString &t)
{
    g_title = t;
}

QString title()
{
    if (!g_title.isEmpty())
        return g_title;
    return QApplication::applicationName();
}

} // namespace Messages
