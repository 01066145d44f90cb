#include "MessageBoxes.h"

#include "Help.h"
#include "app/Messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

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

} // namespace

namespace MessageBoxes {

void install()
{
    Messages::setDefaultHandler(&g_dialogs);
}

} // namespace MessageBoxes
