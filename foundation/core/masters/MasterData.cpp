#include "MasterData.h"

#include "app/AppError.h"
#include "app/ConnectDatabase.h"
#include "app/Messages.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/EditableResultSet.h"
#include "db/OneShotWaitCursor.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "settings/Settings.h"
#include "text/KivFunc.h"
#include "text/ShiftJis.h"
#include "totals/ResultSetSlipRecord.h"
#include "totals/SlipRecord.h"

#include <QHash>

namespace {

// Empty text is bound as empty text, never as null, so the equality tests
// of the duplicate checks match what the registrations stored.
QString text(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

QString textOf(const QVariant &v)
{
    return text(v.toString());
}

int integerOf(const QVariant &v)
{
    bool ok = false;
    const int i = v.toString().trimmed().toInt(&ok);
    return ok ? i : 0;
}

bool companyScoped(const QString &companyCode)
{
    return settings().UseTanka && !TrimWide(companyCode).isEmpty();
}

// A connection and transaction of one operation's own, with the wait cursor.
struct OwnConnection
{
    OneShotWaitCursor cursor;
    Database db;
    Transaction tr;
    OwnConnection() { ConnectDatabase(db, tr); }
    void rollbackQuietly()
    {
        try {
            tr.rollback();
        } catch (const DbError &) {
            // The connection goes away with this object.
        }
    }
};

// Runs work on a connection of its own; a database failure (or text the
// database cannot hold) rolls back and raises the operation's message.
template <typename Fn> auto runOwn(const char *failure, Fn &&work)
{
    OwnConnection c;
    try {
        c.tr.ensureStarted();
        return work(c);
    } catch (const DbError &e) {
        c.rollbackQuietly();
        throw AppError(QString::fromUtf8(failure), e.text());
    } catch (const ShiftJisError &e) {
        c.rollbackQuietly();
        throw AppError(QString::fromUtf8(failure), e.userMessage());
    }
}

void bindItem(Query &q, const ItemValues &item, const QStringList &names)
{
    const QVariant values[] = {
        text(item.itemNameUpper),
        text(item.itemNameLower),
        text(item.itemCodeUpper),
        text(item.itemCodeLower),
        text(item.color),
        text(item.piecesPerCase),
        text(item.size),
        text(item.cases),
        text(item.unit),
        item.costPrice,
        text(item.costPriceDecimals),
        item.sellingPrice,
    };
    for (int i = 0; i < 12; ++i)
        q.setParam(names.at(i), values[i]);
}

} // namespace

QStringList LineFields::all() const
{
    return {itemNameUpper,
            itemNameLower,
            itemCodeUpper,
            itemCodeLower,
            color,
            piecesPerCase,
            size,
            cases,
            unit,
            quantity,
            quantityDecimal,
            costPrice,
            costPriceDecimals,
            sellingPrice};
}

LineFields LineFieldNames(int tag)
{
    const QString t = QString::number(tag);
    const QString lower = QString::number(tag + 1);
    const QString d = QString::number(tag / 10);
    LineFields f;
    f.itemNameUpper = QStringLiteral("HINMEI_") + t;
    f.itemNameLower = QStringLiteral("HINMEI_") + lower;
    f.itemCodeUpper = QStringLiteral("CODE_") + t;
    f.itemCodeLower = QStringLiteral("CODE_") + lower;
    f.color = QStringLiteral("COLOR_") + d;
    f.piecesPerCase = QStringLiteral("IRIKAZU_") + d;
    f.size = QStringLiteral("SIZE_") + d;
    f.cases = QStringLiteral("CASEE_") + d;
    f.unit = QStringLiteral("TANI_") + d;
    f.quantity = QStringLiteral("KAZU_") + t;
    f.quantityDecimal = QStringLiteral("KAZU_") + lower;
    f.costPrice = QStringLiteral("GENKA_") + t;
    f.costPriceDecimals = QStringLiteral("GENKA_") + lower;
    f.sellingPrice = QStringLiteral("URITANKA_") + d;
    return f;
}

void LookupItemByCode(Database &mainConnection, ItemCodeField &field, SlipRecord &record)
{
    const QString typed = TrimWide(field.text());
    const int tag = field.tag();
    if (tag < 11 || tag > 91 || !field.changed() || typed.isEmpty())
        return;
    const int wanted = settings().ItemCodeLen;
    if (wanted > 0 && ShiftJis::byteLength(typed) != wanted) {
        Messages::show(MsgType::Error,
                       Messages::twoPart(QString::fromUtf8(kItemCodeLengthError),
                                         QString::fromUtf8(kItemCodeLengthIs) +
                                             QString::number(wanted) +
                                             QString::fromUtf8(kItemCodeLengthUnit)),
                       MsgButton::Ok);
        field.setFocusBack();
        return;
    }

    const LineFields names = LineFieldNames(tag);
    if (record.editing()) {
        try {
            const QString code = TrimWide(record.value(names.itemCodeUpper).toString());
            const QString company = TrimWide(record.value(QStringLiteral("COCODE")).toString());
            QStringList sql{QStringLiteral("SELECT Hinmei1,Hinmei2,Code1,Code2,Iro,IriKazu,Sizee,"
                                           "Casee,Tani,Kazu1,Kazu2,Genka1,Genka2,UriTanka"),
                            QStringLiteral("FROM CSITEM"), QStringLiteral("WHERE (CODE1=:P0)")};
            const bool scoped = companyScoped(company);
            if (scoped)
                sql.last() += QStringLiteral(" AND (COCODE=:P1)");

            // The first row's non-empty columns, by upper-case name.
            QHash<QString, QString> found;
            {
                if (!mainConnection.connected())
                    mainConnection.connect();
                OneShotWaitCursor cursor;
                Transaction tr(&mainConnection);
                Query q(mainConnection, tr);
                q.setSql(sql);
                q.setParam(QStringLiteral("P0"), text(code));
                if (scoped)
                    q.setParam(QStringLiteral("P1"), company);
                if (q.openFirst()) {
                    for (int i = 0; i < q.columnCount(); ++i) {
                        const QString v = q.value(i).toString();
                        if (!v.isEmpty())
                            found.insert(q.column(i).name.toUpper(), v);
                    }
                }
                tr.commit();
            }

            if (found.contains(QStringLiteral("CODE1"))) {
                auto master = [&](const char *column) {
                    return found.value(QString::fromLatin1(column));
                };
                record.setValue(names.itemNameUpper, master("HINMEI1"));
                record.setValue(names.itemNameLower, master("HINMEI2"));
                record.setValue(names.itemCodeUpper, master("CODE1"));
                record.setValue(names.itemCodeLower, master("CODE2"));
                record.setValue(names.color, master("IRO"));
                record.setValue(names.piecesPerCase, master("IRIKAZU"));
                record.setValue(names.size, master("SIZEE"));
                record.setValue(names.cases, master("CASEE"));
                record.setValue(names.unit, master("TANI"));
                // A quantity the clerk entered stays; an empty line gets the
                // item's default quantity.
                if (!master("KAZU1").isEmpty() && record.value(names.quantity).isNull()) {
                    record.setValue(names.quantity, integerOf(master("KAZU1")));
                    record.setValue(names.quantityDecimal, master("KAZU2"));
                }
                record.setValue(names.costPrice, integerOf(master("GENKA1")));
                record.setValue(names.costPriceDecimals, master("GENKA2"));
                record.setValue(names.sellingPrice, integerOf(master("URITANKA")));
            }
        } catch (const DbError &e) {
            throw AppError(QString::fromUtf8(kItemLookupError), e.text());
        } catch (const ShiftJisError &e) {
            throw AppError(QString::fromUtf8(kItemLookupError), e.userMessage());
        }
    }
    field.setChanged(false);
}

bool ItemExists(const QString &itemNameUpper, const QString &itemNameLower,
                const QString &itemCodeUpper, const QString &companyCode,
                const QString &itemCodeLower)
{
    return runOwn(kRecordCountError, [&](OwnConnection &c) {
        QStringList sql{QStringLiteral("SELECT COUNT(*) FROM CSITEM"),
                        QStringLiteral("WHERE (HINMEI1 = :P0) AND (HINMEI2 = :P1) AND"),
                        QStringLiteral("      (CODE1   = :P2) AND (CODE2   = :P3)")};
        const bool scoped = companyScoped(companyCode);
        if (scoped)
            sql << QStringLiteral("AND (COCODE = :P4)");
        Query q(c.db, c.tr);
        q.setSql(sql);
        q.setParam(QStringLiteral("P0"), text(itemNameUpper));
        q.setParam(QStringLiteral("P1"), text(itemNameLower));
        q.setParam(QStringLiteral("P2"), text(itemCodeUpper));
        q.setParam(QStringLiteral("P3"), text(itemCodeLower));
        if (scoped)
            q.setParam(QStringLiteral("P4"), companyCode);
        const bool exists = q.openFirst() && q.value(0).toLongLong() > 0;
        c.tr.commit();
        return exists;
    });
}

bool UpdateItem(const ItemValues &item, const QString &companyCode)
{
    runOwn(kUpdateError, [&](OwnConnection &c) {
        const bool scoped = companyScoped(companyCode);
        QStringList sql{
            QStringLiteral("UPDATE CSITEM SET"),
            QStringLiteral("HINMEI1 = :P00,HINMEI2 = :P01,CODE1  = :P02,CODE2    = :P03,"),
            QStringLiteral("IRO     = :P04,IRIKAZU = :P05,SIZEE  = :P06,CASEE    = :P07,"),
            QStringLiteral("TANI    = :P08,GENKA1  = :P09,GENKA2 = :P10,URITANKA = :P11")};
        if (scoped)
            sql << QStringLiteral(",COCODE = :P16");
        sql << QStringLiteral("WHERE")
            << QStringLiteral("(HINMEI1 = :P12) AND (HINMEI2 = :P13) AND")
            << QStringLiteral("(CODE1   = :P14) AND (CODE2   = :P15)")
            << (scoped ? QStringLiteral("AND (COCODE = :P16)") : QString());
        Query q(c.db, c.tr);
        q.setSql(sql);
        bindItem(q, item,
                 {QStringLiteral("P00"), QStringLiteral("P01"), QStringLiteral("P02"),
                  QStringLiteral("P03"), QStringLiteral("P04"), QStringLiteral("P05"),
                  QStringLiteral("P06"), QStringLiteral("P07"), QStringLiteral("P08"),
                  QStringLiteral("P09"), QStringLiteral("P10"), QStringLiteral("P11")});
        q.setParam(QStringLiteral("P12"), text(item.itemNameUpper));
        q.setParam(QStringLiteral("P13"), text(item.itemNameLower));
        q.setParam(QStringLiteral("P14"), text(item.itemCodeUpper));
        q.setParam(QStringLiteral("P15"), text(item.itemCodeLower));
        if (scoped)
            q.setParam(QStringLiteral("P16"), companyCode);
        q.execute();
        c.tr.commit();
        return true;
    });
    Messages::show(MsgType::Confirmation, QString::fromUtf8(kDataUpdated), MsgButton::Ok);
    return true;
}

bool InsertItem(const ItemValues &item, const QString &companyCode)
{
    runOwn(kUpdateError, [&](OwnConnection &c) {
        const bool scoped = companyScoped(companyCode);
        QStringList sql{QStringLiteral("INSERT INTO CSITEM"),
                        QStringLiteral("(HINMEI1,HINMEI2,CODE1,CODE2,IRO,IRIKAZU,"),
                        QStringLiteral("SIZEE,CASEE,TANI,GENKA1,GENKA2,URITANKA")};
        if (scoped)
            sql << QStringLiteral(",COCODE");
        sql << QStringLiteral(")")
            << QStringLiteral("VALUES (:P0,:P1,:P2,:P3,:P4,:P5,:P6,:P7,:P8,:P9,:P10,:P11");
        if (scoped)
            sql << QStringLiteral(",:P12");
        sql << QStringLiteral(")");
        Query q(c.db, c.tr);
        q.setSql(sql);
        bindItem(q, item,
                 {QStringLiteral("P0"), QStringLiteral("P1"), QStringLiteral("P2"),
                  QStringLiteral("P3"), QStringLiteral("P4"), QStringLiteral("P5"),
                  QStringLiteral("P6"), QStringLiteral("P7"), QStringLiteral("P8"),
                  QStringLiteral("P9"), QStringLiteral("P10"), QStringLiteral("P11")});
        if (scoped)
            q.setParam(QStringLiteral("P12"), companyCode);
        q.execute();
        c.tr.commit();
        return true;
    });
    Messages::show(MsgType::Confirmation, QString::fromUtf8(kNewlyRegistered), MsgButton::Ok);
    return true;
}

void RegisterItemFromLine(const SlipRecord &record, int tag)
{
    const LineFields names = LineFieldNames(tag);
    const bool oneLine = settings().OneLineMode;
    ItemValues item;
    item.itemNameUpper = textOf(record.value(names.itemNameUpper));
    item.itemNameLower = oneLine ? QStringLiteral("") : textOf(record.value(names.itemNameLower));
    item.itemCodeUpper = textOf(record.value(names.itemCodeUpper));
    item.itemCodeLower = oneLine ? QStringLiteral("") : textOf(record.value(names.itemCodeLower));
    item.color = textOf(record.value(names.color));
    item.piecesPerCase = textOf(record.value(names.piecesPerCase));
    item.size = textOf(record.value(names.size));
    item.cases = textOf(record.value(names.cases));
    item.unit = textOf(record.value(names.unit));
    item.costPrice = integerOf(record.value(names.costPrice));
    item.costPriceDecimals = textOf(record.value(names.costPriceDecimals));
    item.sellingPrice = integerOf(record.value(names.sellingPrice));
    const QString company = textOf(record.value(QStringLiteral("COCODE")));
    if (ItemExists(item.itemNameUpper, item.itemNameLower, item.itemCodeUpper, company,
                   item.itemCodeLower))
        UpdateItem(item, company);
    else
        InsertItem(item, company);
}

bool CompanyExists(const QString &name1, const QString &name2, const QString &code1, int kind,
                   const QString &code2)
{
    const bool exists = runOwn(kRecordCountError, [&](OwnConnection &c) {
        QStringList sql{QStringLiteral("SELECT COUNT(*) FROM COMPANY"),
                        QStringLiteral("WHERE (CONAME1 = :P0) AND (CONAME2 = :P1) AND"),
                        QStringLiteral("(CODE1 = :P2) AND (KUBUN = :P3)")};
        const bool withCode2 = !TrimWide(code2).isEmpty();
        if (withCode2)
            sql << QStringLiteral("AND (CODE2 = :P4)");
        Query q(c.db, c.tr);
        q.setSql(sql);
        q.setParam(QStringLiteral("P0"), text(name1));
        q.setParam(QStringLiteral("P1"), text(name2));
        q.setParam(QStringLiteral("P2"), text(code1));
        q.setParam(QStringLiteral("P3"), kind);
        if (withCode2)
            q.setParam(QStringLiteral("P4"), code2);
        const bool found = q.openFirst() && q.value(0).toLongLong() > 0;
        c.tr.commit();
        return found;
    });
    if (exists)
        Messages::show(MsgType::Confirmation, QString::fromUtf8(kAlreadyRegistered), MsgButton::Ok);
    return exists;
}

bool InsertCompany(const QString &name1, const QString &name2, const QString &code1, int kind,
                   const QString &code2)
{
    runOwn(kInsertError, [&](OwnConnection &c) {
        Query q(c.db, c.tr);
        q.setSql(QStringList{QStringLiteral("INSERT INTO COMPANY"),
                             QStringLiteral("(CONAME1,CONAME2,CODE1,CODE2,KUBUN)"),
                             QStringLiteral("VALUES (:P0,:P1,:P2,:P3,:P4)")});
        q.setParam(QStringLiteral("P0"), text(name1));
        q.setParam(QStringLiteral("P1"), text(name2));
        q.setParam(QStringLiteral("P2"), text(code1));
        q.setParam(QStringLiteral("P3"), text(code2));
        q.setParam(QStringLiteral("P4"), kind);
        q.execute();
        c.tr.commit();
        return true;
    });
    Messages::show(MsgType::Confirmation, QString::fromUtf8(kNewlyRegistered), MsgButton::Ok);
    return true;
}

void RegisterCompanyFromSlip(const SlipRecord &record, int kind)
{
    auto column = [&](const char *name) { return textOf(record.value(QString::fromLatin1(name))); };
    QString name1, name2, code1, code2;
    if (kind == kTradingPartnerKind) {
        name1 = column("TORIHIKINAME_1");
        name2 = column("TORIHIKINAME_2");
        code1 = column("TORIHIKICODE_1");
        code2 = column("TORIHIKICODE_2");
    } else {
        name1 = column("CONAME");
        name2 = column("TENPONAME");
        code1 = column("COCODE");
        code2 = QStringLiteral("");
    }
    if (!CompanyExists(name1, name2, code1, kind, code2))
        InsertCompany(name1, name2, code1, kind, code2);
}

CompanyNames GetCompanyNames(const QString &code)
{
    CompanyNames names;
    OwnConnection c;
    try {
        c.tr.ensureStarted();
        Query q(c.db, c.tr);
        q.setSql(QStringList{QStringLiteral("SELECT CONAME1,CONAME2 FROM COMPANY"),
                             QStringLiteral("WHERE (KUBUN = 0) AND (CODE1 = :P0)")});
        q.setParam(QStringLiteral("P0"), text(code));
        if (q.openFirst()) {
            names.companyName = q.value(QStringLiteral("CONAME1")).toString();
            names.storeName = q.value(QStringLiteral("CONAME2")).toString();
        }
        c.tr.commit();
    } catch (const DbError &) {
        c.rollbackQuietly();
        return {};
    } catch (const ShiftJisError &) {
        c.rollbackQuietly();
        return {};
    }
    names.found = !TrimWide(names.companyName).isEmpty() || !TrimWide(names.storeName).isEmpty();
    return names;
}
