#include "failure_sweep.h"

#include "data/errors.h"
#include "data/query.h"

#include <QTest>

namespace nc::test {

bool FailureSweep::fail(const QString& text, const std::source_location& where) {
    connection_.failStatementAfter(0);
    if (report)
        report(text);
    else
        QTest::qFail(qPrintable(text), where.file_name(), int(where.line()));
    return false;
}

int FailureSweep::pendingCountdown(int n) {
    // A statement run now fails exactly when the countdown had not yet reached its statement; at most
    // n of them find out how far it still had to go.
    for (int i = 1; i <= n; ++i) {
        try {
            connection_.exec(QStringLiteral("select 1"));
        } catch (const data::DbError&) {
            return i;
        }
    }
    return 0;
}

namespace {

// The first line where two snapshots differ, for the failure message.
QString firstDifference(const QString& before, const QString& after) {
    const QStringList a = before.split(QLatin1Char('\n')), b = after.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = a.value(i), y = b.value(i);
        if (x != y)
            return QStringLiteral("line %1: before \"%2\", after \"%3\"").arg(i + 1).arg(x, y);
    }
    return {};
}

} // namespace

bool FailureSweep::run(const std::function<RunOutcome()>& operation, std::source_location where) {
    broken_ = 0;
    statements_ = 0;
    QString lastError;
    connection_.failStatementAfter(0);
    QString before = snapshot ? snapshot() : QString();
    for (int n = 1; n < limit; n += std::max(1, every)) {
        RunOutcome outcome = RunOutcome::Failed;
        connection_.failStatementAfter(n);
        try {
            outcome = operation();
        } catch (const data::Error& e) {
            outcome = RunOutcome::Failed;
            lastError = e.text();
        }
        if (QTest::currentTestFailed())
            return fail(QStringLiteral("(while statement %1 failed)").arg(n), where);

        if (outcome == RunOutcome::Completed) {
            const int pending = pendingCountdown(n);
            if (pending == 0)
                return fail(QStringLiteral("statement %1 failed, yet the operation reported success").arg(n),
                            where);
            statements_ = n - pending;
            return true;
        }
        connection_.failStatementAfter(0);
        ++broken_;
        if (outcome == RunOutcome::Failed && snapshot) {
            const QString after = snapshot();
            if (after != before)
                return fail(QStringLiteral("statement %1 failed and the database changed: %2")
                                .arg(n)
                                .arg(firstDifference(before, after)),
                            where);
        }
        if (afterRun) {
            afterRun(n, outcome);
            if (QTest::currentTestFailed())
                return fail(QStringLiteral("(after statement %1 failed)").arg(n), where);
        }
        if (outcome == RunOutcome::Recovered && snapshot)
            before = snapshot(); // what the operation kept is the next run's starting point
    }
    return fail(QStringLiteral("the operation still fails at statement %1 (%2)").arg(limit).arg(lastError),
                where);
}

QString databaseContents(data::Connection& c, const QStringList& tables) {
    data::Query version(&c);
    version.setSql(QStringLiteral("pragma user_version"));
    version.open();
    QString out = QStringLiteral("version %1\n").arg(version.field(0).toText());
    QStringList names = tables;
    if (names.isEmpty()) {
        // The shared file's tables, then those of the client's file when one is attached.
        data::Query attached(&c);
        attached.setSql(QStringLiteral("pragma database_list"));
        attached.open();
        QStringList schemas = {QStringLiteral("main")};
        for (; !attached.eof(); attached.next())
            if (attached.field(QStringLiteral("name")).toText() == QLatin1String("client"))
                schemas << QStringLiteral("client");
        for (const QString& db : schemas) {
            data::Query schema(&c);
            schema.setSql(
                QStringLiteral("select type, name, sql from %1.sqlite_master where name not like 'sqlite_%' "
                               "order by type, name")
                    .arg(db));
            schema.open();
            for (; !schema.eof(); schema.next()) {
                // The shared file's names as they are; the client's with her schema before them.
                const QString prefix = db == QLatin1String("main") ? QString() : db + QLatin1Char('.');
                out += QStringLiteral("%1 %2%3: %4\n")
                           .arg(schema.field(0).toText(), prefix, schema.field(1).toText(),
                                schema.field(2).toText());
                if (schema.field(0).toText() == QLatin1String("table"))
                    names << prefix + QLatin1Char('"') + schema.field(1).toText() + QLatin1Char('"');
            }
        }
    }
    for (const QString& table : std::as_const(names)) {
        out += QStringLiteral("[%1]\n").arg(QString(table).remove(QLatin1Char('"')));
        data::Query rows(&c);
        // A table name cannot be a bound value; these come from the test or from sqlite_master.
        rows.setSql(
            QStringLiteral("select * from %1 order by rowid")
                .arg(table.contains(QLatin1Char('"')) ? table : QLatin1Char('"') + table + QLatin1Char('"')));
        rows.open();
        for (const QList<data::Value>& row : rows.rows()) {
            QStringList cells;
            for (const data::Value& v : row)
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toText());
            out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace nc::test
