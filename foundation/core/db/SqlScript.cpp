#include "SqlScript.h"

#include "Database.h"
#include "DbError.h"
#include "Transaction.h"

#include <QRegularExpression>

namespace SqlScript {

QStringList split(const QString &script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    static const QRegularExpression setTerm(
        QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*(\\S+)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (current.trimmed().isEmpty()) {
            const QString t = line.trimmed();
            if (t.isEmpty() || t.startsWith(QLatin1String("--")))
                continue;
            const auto m = setTerm.match(t);
            if (m.hasMatch()) {
                // "SET TERM ^ ;" (or "SET TERM ; ^") switches to the first token.
                QString token = m.captured(1);
                if (token.endsWith(terminator) && token.size() > terminator.size())
                    token.chop(terminator.size());
                terminator = token;
                continue;
            }
        }
        current += line + QLatin1Char('\n');
        const QString t = current.trimmed();
        if (t.endsWith(terminator)) {
            statements << t.left(t.size() - terminator.size()).trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void run(Database &database, const QString &script)
{
    for (const QString &statement : split(script)) {
        Transaction transaction(&database);
        try {
            database.executeImmediate(transaction, statement);
            transaction.commit();
        } catch (const DbError &e) {
            throw DbError(e.text() + QStringLiteral("\n-- in statement:\n") + statement.left(400),
                          e.sqlCode(), e.engineCode());
        }
    }
}

} // namespace SqlScript
