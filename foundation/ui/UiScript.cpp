#include "UiScript.h"

#include "app/Messages.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTableView>
#include <QTimer>

#include <deque>

// What Qt's own test library uses to let shortcuts see a synthesised key.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString &text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace {

constexpr int kStepPauseMs = 40;
constexpr qint64 kWaitLimitMs = 60000;

// The visible, enabled widget of that name: in the modal dialog first, then
// in the active window, then anywhere.
QWidget *findWidget(const QString &path)
{
    // "Parent/Child": a widget inside a named one (a navigator's button).
    const QString name = path.section(QLatin1Char('/'), -1);
    const QString parentName =
        path.contains(QLatin1Char('/')) ? path.section(QLatin1Char('/'), 0, 0) : QString();
    QList<QWidget *> roots;
    if (QWidget *modal = QApplication::activeModalWidget())
        roots << modal;
    if (QWidget *active = QApplication::activeWindow())
        roots << active;
    roots << QApplication::topLevelWidgets();
    for (QWidget *root : std::as_const(roots)) {
        if (!root->isVisible())
            continue;
        QList<QWidget *> candidates;
        if (root->objectName() == name)
            candidates << root;
        candidates << root->findChildren<QWidget *>(name);
        for (QWidget *w : std::as_const(candidates)) {
            if (!parentName.isEmpty()) {
                QWidget *p = w->parentWidget();
                while (p && p->objectName() != parentName)
                    p = p->parentWidget();
                if (!p)
                    continue;
            }
            // While a modal dialog is up, only it can be used.
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && w->window() != modal)
                continue;
            if (w->isVisible() && w->isEnabled())
                return w;
        }
    }
    return nullptr;
}

QAction *findAction(const QString &name)
{
    for (QWidget *root : QApplication::topLevelWidgets()) {
        for (QAction *a : root->findChildren<QAction *>(name))
            return a;
    }
    return nullptr;
}

QString widgetText(QWidget *w)
{
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    return w->property("text").toString();
}

void sendKey(QWidget *w, int key, Qt::KeyboardModifiers mods, const QString &text)
{
    if (qt_sendShortcutOverrideEvent(w, 0, key, mods, text))
        return;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QWidget *now = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(now, &release);
}

void clickAt(QWidget *w, QPoint pos, bool twice)
{
    auto send = [&](QEvent::Type type) {
        QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    if (twice) {
        send(QEvent::MouseButtonDblClick);
        send(QEvent::MouseButtonRelease);
    }
}

void focus(QWidget *w)
{
    w->window()->activateWindow();
    w->setFocus(Qt::OtherFocusReason);
}

int columnByTitle(QAbstractItemView *view, const QString &title)
{
    QAbstractItemModel *m = view->model();
    for (int c = 0; c < m->columnCount(); ++c) {
        if (m->headerData(c, Qt::Horizontal).toString() == title)
            return c;
    }
    bool ok = false;
    const int c = title.toInt(&ok);
    return ok ? c : -1;
}

MsgResult resultFromText(const QString &text)
{
    const QString t = text.toLower();
    if (t == QLatin1String("yes"))
        return MsgResult::Yes;
    if (t == QLatin1String("no"))
        return MsgResult::No;
    if (t == QLatin1String("cancel"))
        return MsgResult::Cancel;
    return MsgResult::Ok;
}

} // namespace

// Answers the message boxes from the script's queue and remembers the text.
class UiScript::Answers : public MessageHandler
{
public:
    explicit Answers(UiScript &script) : m_script(script) { Messages::setHandler(this); }
    ~Answers() override { Messages::setHandler(nullptr); }

    MsgResult showMessage(const MessageRequest &request) override
    {
        QString text = request.text;
        text.replace(QLatin1String("\r\r"), QLatin1String(" / "));
        m_last = text;
        MsgResult answer = MsgResult::Ok;
        if (!m_queue.empty()) {
            answer = m_queue.front();
            m_queue.pop_front();
        } else if (request.buttons != MsgButtons(MsgButton::Ok)) {
            answer = MsgResult::Cancel; // a question nobody expected
        }
        m_script.log(QStringLiteral("message: %1 -> %2").arg(text).arg(int(answer)));
        return answer;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }

    void push(MsgResult answer) { m_queue.push_back(answer); }
    const QString &last() const { return m_last; }

private:
    UiScript &m_script;
    std::deque<MsgResult> m_queue;
    QString m_last;
};

void UiScript::startFromEnvironment(const QString &programName)
{
    QByteArray path = qgetenv(("TAMBREL_UI_SCRIPT_" + programName).toLocal8Bit().constData());
    if (path.isEmpty())
        path = qgetenv("TAMBREL_UI_SCRIPT");
    if (path.isEmpty())
        return;
    QFile file(QString::fromLocal8Bit(path));
    const QString logPath = QString::fromLocal8Bit(qgetenv("TAMBREL_UI_LOG"));
    if (!file.open(QIODevice::ReadOnly)) {
        QFile log(logPath);
        if (log.open(QIODevice::Append))
            log.write("FAIL start: cannot read the script " + path + "\n");
        QTimer::singleShot(0, qApp, [] { QApplication::exit(3); });
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    auto *script = new UiScript(lines, logPath, qApp);
    QObject::connect(script, &UiScript::failed, qApp, [] { QApplication::exit(3); });
}

UiScript::UiScript(QStringList lines, QString logPath, QObject *parent)
    : QObject(parent), m_lines(std::move(lines)), m_logPath(std::move(logPath)),
      m_answers(std::make_unique<Answers>(*this))
{
    log(QStringLiteral("start %1").arg(QCoreApplication::applicationName()));
    QTimer::singleShot(kStepPauseMs * 5, this, &UiScript::next);
}

UiScript::~UiScript() = default;

void UiScript::log(const QString &line) const
{
    QFile file(m_logPath);
    if (m_logPath.isEmpty() || !file.open(QIODevice::Append | QIODevice::Text))
        return;
    file.write((QCoreApplication::applicationName() + QLatin1String(": ") + line + u'\n').toUtf8());
}

void UiScript::fail(const QString &reason)
{
    log(QStringLiteral("FAIL %1: %2").arg(m_step, reason));
    emit failed();
}

void UiScript::next()
{
    while (m_pos < m_lines.size()) {
        const QString line = m_lines.at(m_pos).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            ++m_pos;
            continue;
        }
        QString error;
        if (m_waitingSince < 0)
            m_waitingSince = QDateTime::currentMSecsSinceEpoch();
        if (!runLine(line, error)) {
            if (!error.isEmpty()) {
                fail(error);
                return;
            }
            // Not ready yet: try again shortly, up to the limit.
            if (QDateTime::currentMSecsSinceEpoch() - m_waitingSince > kWaitLimitMs) {
                fail(QStringLiteral("gave up waiting: %1").arg(line));
                return;
            }
            QTimer::singleShot(kStepPauseMs * 2, this, &UiScript::next);
            return;
        }
        m_waitingSince = -1;
        ++m_pos;
        // The last command may end the program (a window closed).
        bool more = false;
        for (qsizetype i = m_pos; i < m_lines.size() && !more; ++i) {
            const QString rest = m_lines.at(i).trimmed();
            more = !rest.isEmpty() && !rest.startsWith(QLatin1Char('#'));
        }
        if (!more) {
            m_pos = m_lines.size();
            log(QStringLiteral("done"));
            return;
        }
        // Let the program react before the next command.
        QTimer::singleShot(kStepPauseMs, this, &UiScript::next);
        return;
    }
    log(QStringLiteral("done"));
}

// An action that may open a modal dialog runs from the event loop, so the
// script goes on inside the dialog's own loop.
void UiScript::defer(std::function<void()> action)
{
    QTimer::singleShot(0, this, std::move(action));
}

// False with an empty error: not ready yet (widget missing or disabled).
bool UiScript::runLine(const QString &line, QString &error)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString rest = line.section(QLatin1Char(' '), 1);
    const QString name = rest.section(QLatin1Char(' '), 0, 0);
    const QString arg = rest.section(QLatin1Char(' '), 1);

    if (command == QLatin1String("step")) {
        m_step = rest;
        log(QStringLiteral("step %1").arg(rest));
        return true;
    }
    if (command == QLatin1String("answer")) {
        m_answers->push(resultFromText(rest));
        return true;
    }
    if (command == QLatin1String("message")) {
        if (m_answers->last() != rest)
            error =
                QStringLiteral("last message was \"%1\", not \"%2\"").arg(m_answers->last(), rest);
        return error.isEmpty();
    }
    if (command == QLatin1String("touch")) {
        QFile f(rest);
        if (!f.open(QIODevice::WriteOnly)) {
            error = QStringLiteral("cannot write %1").arg(rest);
            return false;
        }
        return true;
    }
    if (command == QLatin1String("waitfile"))
        return QFile::exists(rest);
    if (command == QLatin1String("wait")) {
        const qint64 waited = QDateTime::currentMSecsSinceEpoch() - m_waitingSince;
        return waited >= rest.toLongLong();
    }

    QWidget *w = findWidget(name);
    if (command == QLatin1String("click") && !w) {
        if (QAction *a = findAction(name)) {
            if (!a->isEnabled())
                return false;
            log(QStringLiteral("trigger %1").arg(name));
            defer([a = QPointer<QAction>(a)] {
                if (a)
                    a->trigger();
            });
            return true;
        }
    }
    if (!w)
        return false;

    if (command == QLatin1String("click")) {
        log(QStringLiteral("click %1").arg(name));
        defer([w = QPointer<QWidget>(w)] {
            if (w)
                clickAt(w, w->rect().center(), false);
        });
        return true;
    }
    if (command == QLatin1String("type")) {
        focus(w);
        for (QChar c : arg)
            sendKey(w, 0, Qt::NoModifier, QString(c));
        return true;
    }
    if (command == QLatin1String("set")) {
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (!edit) {
            error = QStringLiteral("%1 is not an edit").arg(name);
            return false;
        }
        focus(w);
        edit->selectAll();
        edit->insert(arg);
        return true;
    }
    if (command == QLatin1String("key")) {
        const QKeySequence seq = QKeySequence::fromString(arg);
        if (seq.isEmpty()) {
            error = QStringLiteral("unknown key %1").arg(arg);
            return false;
        }
        focus(w);
        const QKeyCombination k = seq[0];
        defer([w = QPointer<QWidget>(w), k] {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w.data();
            if (target)
                sendKey(target, int(k.key()), k.keyboardModifiers(), QString());
        });
        return true;
    }
    if (command == QLatin1String("check")) {
        if (widgetText(w) == arg)
            return true;
        // A value may still be on its way (a recomputation, a reload).
        if (QDateTime::currentMSecsSinceEpoch() - m_waitingSince < 3000)
            return false;
        error = QStringLiteral("%1 shows \"%2\", not \"%3\"").arg(name, widgetText(w), arg);
        return false;
    }
    if (command == QLatin1String("dblclick") && !qobject_cast<QAbstractItemView *>(w)) {
        log(QStringLiteral("dblclick %1").arg(name));
        focus(w);
        defer([w = QPointer<QWidget>(w)] {
            if (w)
                clickAt(w, w->rect().center(), true);
        });
        return true;
    }
    if (command == QLatin1String("pick")) {
        auto *view = qobject_cast<QAbstractItemView *>(w);
        if (!view || !view->model()) {
            error = QStringLiteral("%1 is not a grid").arg(name);
            return false;
        }
        const QString column = arg.section(QLatin1Char(' '), 0, 0);
        const QString want = arg.section(QLatin1Char(' '), 1);
        const int c = columnByTitle(view, column);
        if (c < 0) {
            error = QStringLiteral("%1 has no column %2").arg(name, column);
            return false;
        }
        QAbstractItemModel *m = view->model();
        while (m->canFetchMore(QModelIndex()))
            m->fetchMore(QModelIndex());
        for (int r = 0; r < m->rowCount(); ++r) {
            const QModelIndex index = m->index(r, c);
            if (index.data().toString() != want)
                continue;
            log(QStringLiteral("pick %1 row %2").arg(name).arg(r));
            view->scrollTo(index);
            view->setCurrentIndex(index);
            focus(view);
            const QPoint at = view->visualRect(index).center();
            defer([v = QPointer<QWidget>(view->viewport()), at] {
                if (v)
                    clickAt(v, at, true);
            });
            return true;
        }
        return false; // the row may come with a reload
    }
    if (command == QLatin1String("row") || command == QLatin1String("dblclick") ||
        command == QLatin1String("cell")) {
        auto *view = qobject_cast<QAbstractItemView *>(w);
        if (!view || !view->model()) {
            error = QStringLiteral("%1 is not a grid").arg(name);
            return false;
        }
        const int row = arg.section(QLatin1Char(' '), 0, 0).toInt();
        if (row >= view->model()->rowCount())
            return false;
        if (command == QLatin1String("cell")) {
            const QString column = arg.section(QLatin1Char(' '), 1, 1);
            const QString want = arg.section(QLatin1Char(' '), 2);
            const int c = columnByTitle(view, column);
            if (c < 0) {
                error = QStringLiteral("%1 has no column %2").arg(name, column);
                return false;
            }
            const QString got = view->model()->index(row, c).data().toString();
            if (got != want) {
                error = QStringLiteral("%1 row %2 %3 is \"%4\", not \"%5\"")
                            .arg(name)
                            .arg(row)
                            .arg(column, got, want);
                return false;
            }
            return true;
        }
        // The first column the grid shows.
        int column = 0;
        if (auto *table = qobject_cast<QTableView *>(view)) {
            while (column < view->model()->columnCount() - 1 && table->isColumnHidden(column))
                ++column;
        }
        const QModelIndex index = view->model()->index(row, column);
        view->scrollTo(index);
        if (command == QLatin1String("row")) {
            view->setCurrentIndex(index);
            return true;
        }
        focus(view);
        const QPoint at = view->visualRect(index).center();
        defer([v = QPointer<QWidget>(view->viewport()), at] {
            if (v)
                clickAt(v, at, true);
        });
        return true;
    }
    if (command == QLatin1String("choose")) {
        auto *combo = qobject_cast<QComboBox *>(w);
        if (!combo) {
            error = QStringLiteral("%1 is not a list").arg(name);
            return false;
        }
        const int index = combo->findText(arg);
        if (index < 0)
            return false; // the item may come with a refresh
        focus(w);
        defer([combo = QPointer<QComboBox>(combo), index] {
            if (!combo)
                return;
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        });
        return true;
    }
    if (command == QLatin1String("close")) {
        defer([w = QPointer<QWidget>(w->window())] {
            if (w)
                w->close();
        });
        return true;
    }
    error = QStringLiteral("unknown command %1").arg(command);
    return false;
}
