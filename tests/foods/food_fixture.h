#pragma once
// A small food table for the food windows' tests: two categories' worth of foods, a food without
// calcium, foods with zero and nearly zero energy, and two foods sharing a name.

#include "support/fixture_db.h"
#include "support/messages_recorder.h"
#include "support/widgets.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>

#include <memory>

namespace nc::test {

inline QList<data::SeedTable> smallFoodTable() {
    const QStringList header = {QStringLiteral("foodid"),   QStringLiteral("foodname"), QStringLiteral("dm"),
                                QStringLiteral("foodkind"), QStringLiteral("energy"),   QStringLiteral("ca"),
                                QStringLiteral("vitc")};
    return {seed(QStringLiteral("Foodnurti"), header,
                 {{QStringLiteral("01001"), QStringLiteral("稻米"), QStringLiteral("DM"),
                   QStringLiteral("01"), QStringLiteral("346"), QStringLiteral("13"), QString()},
                  {QStringLiteral("01002"), QStringLiteral("小麦粉"), QStringLiteral("XMF"),
                   QStringLiteral("01"), QStringLiteral("350"), QString(), QString()},
                  {QStringLiteral("02001"), QStringLiteral("藕粉"), QStringLiteral("OF"),
                   QStringLiteral("02"), QStringLiteral("0"), QStringLiteral("300"), QStringLiteral("0.05")},
                  {QStringLiteral("10001"), QStringLiteral("牛奶"), QStringLiteral("NN"),
                   QStringLiteral("10"), QStringLiteral("54"), QStringLiteral("104"), QStringLiteral("1")},
                  {QStringLiteral("10002"), QStringLiteral("奶片"), QStringLiteral("NP"),
                   QStringLiteral("10"), QStringLiteral("0.4"), QStringLiteral("269"), QStringLiteral("5")},
                  {QStringLiteral("10003"), QStringLiteral("牛奶"), QStringLiteral("NN"),
                   QStringLiteral("10"), QStringLiteral("65"), QStringLiteral("120"), QStringLiteral("2")}})};
}

inline int foodCount(FixtureDb& db) {
    return db.count(QStringLiteral("Foodnurti"));
}

// Runs the model of the window's grid DBGrid1 under the model tester for the tester's life.
inline std::unique_ptr<QAbstractItemModelTester> testGridModel(QWidget& window) {
    return std::make_unique<QAbstractItemModelTester>(
        child<QAbstractItemView>(window, QStringLiteral("DBGrid1"))->model(),
        QAbstractItemModelTester::FailureReportingMode::QtTest);
}

} // namespace nc::test
