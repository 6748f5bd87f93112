#pragma once
// Breaking an operation at every statement it runs: the first run fails its 1st statement, the next
// its 2nd, and so on until a run gets through. After every failed run the database must hold exactly
// what it held before (all or nothing), whatever statements are later added to the operation.

#include "data/connection.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <source_location>

namespace nc::test {

// What one run of the operation made of its failing statement.
enum class RunOutcome {
    Completed, // it finished and reported success
    Failed,    // it threw a data::Error or reported the failure
    Recovered, // it met the failure, dealt with it itself and went on: the sweep neither requires the
               // database unchanged nor stops; `afterRun` checks what it kept
};

class FailureSweep {
public:
    explicit FailureSweep(data::Connection& connection) : connection_(connection) {}

    // The content a failed run must leave as it was (e.g. databaseContents of the tables concerned).
    std::function<QString()> snapshot;
    // Further checks after each run that did not complete, told the failing statement's number; a
    // failed QCOMPARE/QVERIFY in it ends the sweep. Also the place to reset a window between runs, or
    // to set up again what a recovered run changed (the next run starts from what it leaves).
    std::function<void(int failing, RunOutcome outcome)> afterRun;
    // Only every n-th statement fails (1, 1 + n, 1 + 2n, …), for operations of thousands of statements.
    int every = 1;
    // A run still failing at this statement fails the test: the operation never gets through.
    int limit = 5000;
    // Where a fault is told; by default it fails the running test at the caller of run().
    std::function<void(const QString& fault)> report;

    // Runs the sweep. False, with the test failed naming the statement, when a failed run changed
    // the snapshot, when a run reported success although its failing statement was reached and
    // `Recovered` was not claimed, or when no run completes below the limit (an operation failing for
    // a reason of its own ends there, with that reason). The last run is the completed one: its
    // changes stay.
    bool run(const std::function<RunOutcome()>& operation,
             std::source_location where = std::source_location::current());

    // After run(): the runs broken half-way, and the statements the completed run executed.
    int brokenRuns() const { return broken_; }
    int statements() const { return statements_; }

private:
    bool fail(const QString& text, const std::source_location& where);
    // Whether the injected failure is still waiting to happen; switches it off either way.
    int pendingCountdown(int n);

    data::Connection& connection_;
    int broken_ = 0;
    int statements_ = 0;
};

// Every row of the given tables (all tables and the schema when none are given), ordered by rowid,
// and the file's recorded version: equal texts, equal contents.
QString databaseContents(data::Connection& c, const QStringList& tables = {});
// The same for tables written as plain names: databaseContents(conn, {"ts", "foodcheck"}).
inline QString databaseContents(data::Connection& c, std::initializer_list<const char*> tables) {
    QStringList names;
    for (const char* t : tables)
        names << QString::fromLatin1(t);
    return databaseContents(c, names);
}

} // namespace nc::test
