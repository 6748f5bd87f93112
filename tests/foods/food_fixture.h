#pragma once
// A small food table for the food windows' tests: two categories' worth of foods, a food without
// calcium, foods with zero and nearly zero energy, and two foods sharing a name.

#include "support/fixture_db.h"
#include "support/messages_recorder.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QTest>
#include <QWidget>

#include <memory>

namespace nc::test {

inline QList<data::SeedTable> smallFoodTable() {
    const QStringList header = {QStringLiteral("foodid"),   QStringLiteral("foodname"), QStringLiteral("dm"),
                                QStringLiteral("foodkind"), QStringLiteral("energy"),   QStringLiteral("ca"),
                                QStringLiteral("vitc")};
    return {seed(QStringLiteral("Foodnurti"), header,
                 {{"01001", "稻米", "DM", "01", "346", "13", ""},
                  {"01002", "小麦粉", "XMF", "01", "350", "", ""},
                  {"02001", "藕粉", "OF", "02", "0", "300", "0.05"},
                  {"10001", "牛奶", "NN", "10", "54", "104", "1"},
                  {"10002", "奶片", "NP", "10", "0.4", "269", "5"},
                  {"10003", "牛奶", "NN", "10", "65", "120", "2"}})};
}

inline int foodCount(FixtureDb& db) {
    return db.count(QStringLiteral("Foodnurti"));
}

template <class T = QWidget> T* child(QWidget& window, const QString& name) {
    T* w = window.findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

inline void clickImage(QWidget& window, const QString& name) {
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

// Shows the window and makes it active, so focus can be asserted.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Runs the model of the window's grid DBGrid1 under the model tester for the tester's life.
inline std::unique_ptr<QAbstractItemModelTester> testGridModel(QWidget& window) {
    return std::make_unique<QAbstractItemModelTester>(
        child<QAbstractItemView>(window, QStringLiteral("DBGrid1"))->model(),
        QAbstractItemModelTester::FailureReportingMode::QtTest);
}

} // namespace nc::test
