#include "ScriptedMessages.h"

ScriptedMessages::ScriptedMessages() : m_previous(Messages::handler())
{
    Messages::setHandler(this);
}

ScriptedMessages::~ScriptedMessages()
{
    Messages::setHandler(m_previous);
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const MessageRequest &r : m_shown)
        out << r.text;
    return out;
}

void ScriptedMessages::clear()
{
    m_shown.clear();
    m_inputsShown.clear();
}

MsgResult ScriptedMessages::showMessage(const MessageRequest &request)
{
    m_shown.append(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (request.buttons & MsgButton::Yes)
        return MsgResult::Yes;
    return MsgResult::Ok;
}

bool ScriptedMessages::inputQuery(const InputRequest &request, QString &value)
{
    m_inputsShown.append(request);
    if (m_inputs.isEmpty())
        return false;
    const Input in = m_inputs.takeFirst();
    if (in.ok)
        value = in.value;
    return in.ok;
}
