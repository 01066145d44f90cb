#pragma once

#include "app/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>

// Answers the suite's message boxes and input boxes from a script and keeps
// what was shown. Installed for its lifetime.
class ScriptedMessages : public MessageHandler
{
    struct Input
    {
        bool ok;
        QString value;
    };

public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    // Answers used in order; when they run out a box is answered with its
    // first button's natural answer (Ok, Yes).
    void answer(MsgResult result) { m_answers.append(result); }
    // Input box answers: a value, or cancel.
    void input(const QString &value) { m_inputs.append(Input{true, value}); }
    void cancelInput() { m_inputs.append(Input{false, {}}); }

    const QList<MessageRequest> &shown() const { return m_shown; }
    QStringList texts() const;
    QList<InputRequest> inputsShown() const { return m_inputsShown; }
    void clear();

    MsgResult showMessage(const MessageRequest &request) override;
    bool inputQuery(const InputRequest &request, QString &value) override;

private:
    QList<MsgResult> m_answers;
    QList<Input> m_inputs;
    QList<MessageRequest> m_shown;
    QList<InputRequest> m_inputsShown;
    MessageHandler *m_previous;
};
