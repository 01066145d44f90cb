#include "SlipFormFixture.h"

#include "app/ConnectDatabase.h"
#include "db/Query.h"
#include "ui/DBEdit.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QTimer>
#include <QtTest/QTest>

SlipFormFixture::SlipFormFixture()
{
    m_settings.F_DbPath = m_file.path();
    m_settings.ProgramFolder = m_file.folder() + QLatin1Char('/');
    m_settings.SettingsFilePath = QDir(m_file.folder()).filePath(QStringLiteral("TAMBREL.ini"));
    m_settings.ComputerName = QStringLiteral("TESTPC");
    ConnectDatabaseTo(m_db, m_tr, m_file.path());
}

SlipFormFixture::~SlipFormFixture()
{
    m_form.reset();
    m_db.disconnect();
}

TambrelForm &SlipFormFixture::open(SlipType slipType, const QString &picture)
{
    m_form.reset();
    m_scoped.reset();
    m_scoped.emplace(m_settings);
    m_form = std::make_unique<TambrelForm>(slipType, picture);
    m_form->show();
    m_form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    return *m_form;
}

void SlipFormFixture::closeForm()
{
    if (m_form)
        m_form->close();
}

DBEdit *SlipFormFixture::edit(const QString &name)
{
    DBEdit *e = m_form->slipEdit(name);
    EXPECT_NE(e, nullptr) << qPrintable(name);
    return e;
}

void SlipFormFixture::execute(const QString &sql)
{
    Transaction tr(&m_db);
    m_db.executeImmediate(tr, sql);
    tr.commit();
}

int SlipFormFixture::insertSlip(const QString &company, int printout, const QString &denno)
{
    Transaction tr(&m_db);
    Query q(m_db, tr);
    q.setSql(QStringLiteral("INSERT INTO TAMBREL (ID, CONAME, PRINTOUT, DENNO_1, DENNO_2) "
                            "VALUES (0, :C, :P, :D, '0') RETURNING ID"));
    q.setParam(QStringLiteral("C"), company);
    q.setParam(QStringLiteral("P"), printout);
    q.setParam(QStringLiteral("D"), denno);
    q.execute();
    const int id = q.value(0).toInt();
    tr.commit();
    return id;
}

QVariant SlipFormFixture::committed(int id, const QString &column)
{
    Transaction tr(&m_db);
    Query q(m_db, tr);
    q.setSql(QStringLiteral("SELECT %1 FROM TAMBREL WHERE ID = :ID").arg(column));
    q.setParam(QStringLiteral("ID"), id);
    const QVariant v = q.openFirst() ? q.value(0) : QVariant(QStringLiteral("<no row>"));
    tr.commit();
    return v;
}

qint64 SlipFormFixture::countRows(const QString &condition)
{
    Transaction tr(&m_db);
    Query q(m_db, tr);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM TAMBREL ") + condition);
    const qint64 n = q.openFirst() ? q.value(0).toLongLong() : -1;
    tr.commit();
    return n;
}

QPair<qint64, qint64> SlipFormFixture::counter()
{
    Transaction tr(&m_db);
    Query q(m_db, tr);
    q.setSql(QStringLiteral("SELECT RENBAN, SCOUNT FROM RENBAN WHERE KUBUN = 1"));
    QPair<qint64, qint64> out{-1, -1};
    if (q.openFirst())
        out = {q.value(0).toLongLong(), q.value(1).toLongLong()};
    tr.commit();
    return out;
}

void SlipFormFixture::setCounter(qint64 renban, qint64 scount)
{
    execute(QStringLiteral("DELETE FROM RENBAN WHERE KUBUN = 1"));
    execute(QStringLiteral("INSERT INTO RENBAN (KUBUN, RENBAN, SCOUNT) VALUES (1, %1, %2)")
                .arg(renban)
                .arg(scount));
}

void SlipFormFixture::type(const QString &editName, const QString &text)
{
    DBEdit *e = edit(editName);
    ASSERT_NE(e, nullptr);
    e->setFocus(Qt::MouseFocusReason);
    // Latin keys as key presses; Japanese text as the input method commits it.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(e, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(e, &commit);
        }
    }
}

QWidget *SlipFormFixture::focused() const
{
    return QApplication::focusWidget();
}

void SlipFormFixture::key(int k, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = m_form.get();
    QTest::keyClick(target, static_cast<Qt::Key>(k), modifiers);
}

void SlipFormFixture::press(TCaptionDBNavi::NavigateBtn button)
{
    TCaptionDBNavi *navi = button == TCaptionDBNavi::nbPrior || button == TCaptionDBNavi::nbNext
                               ? m_form->CaptionDBNavi2()
                               : m_form->CaptionDBNavi1();
    QTest::mouseClick(navi->button(button), Qt::LeftButton);
}

void SlipFormFixture::whenListOpens(std::function<void(TSelDataForm &)> fn)
{
    auto *timer = new QTimer(&m_watchers);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, fn] {
        auto *list = qobject_cast<TSelDataForm *>(QApplication::activeModalWidget());
        if (!list)
            return;
        timer->stop();
        timer->deleteLater();
        // A failed check inside fn must not leave the modal list open.
        try {
            fn(*list);
        } catch (...) {
            ADD_FAILURE() << "error escaped from the list";
        }
        if (list->isVisible())
            list->reject();
    });
    timer->start();
}

int SlipFormFixture::rowOfId(int id)
{
    query().fetchAll();
    for (int r = 0; r < query().rowCount(); ++r) {
        if (query().valueAt(r, QStringLiteral("ID")).toInt() == id)
            return r;
    }
    return -1;
}

void SlipFormFixture::reactivate()
{
    m_form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
}

void SlipFormFixture::choose(TSelDataForm &list, int id)
{
    const int row = rowOfId(id);
    ASSERT_GE(row, 0);
    DBGrid *grid = list.DBGrid1();
    grid->setCurrentIndex(grid->model()->index(row, 3));
}
