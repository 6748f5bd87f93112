// Every window of the program's list opens on a database with the shipped contents without an
// error, and the windows the other windows open by name are all in the list.

#include "app/working_windows.h"
#include "support/fixture_db.h"
#include "support/messages_recorder.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

using nc::test::FixtureDb;
using nc::test::MessagesRecorder;

class TestWorkingWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWindowIsListed() {
        nc::ui::WindowRegistry registry;
        nc::app::registerWorkingWindows(registry);
        // The main window's five and its settings, the personal record's activity table, and the diet
        // record's four.
        for (const char* name : {"TForm3", "TForm8", "TForm7", "TForm6", "TForm9", "TFormSettings", "TForm2",
                                 "TForm11", "TForm15", "TForm13", "TForm14"})
            QVERIFY2(registry.contains(QString::fromLatin1(name)), name);
    }

    void everyWindowOpensCleanly_data() {
        QTest::addColumn<QString>("className");
        nc::ui::WindowRegistry registry;
        nc::app::registerWorkingWindows(registry);
        for (const QString& name : registry.classNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyWindowOpensCleanly() {
        QFETCH(QString, className);
        FixtureDb db(FixtureDb::Content::ShippedSeeds);
        MessagesRecorder messages;
        nc::ui::WindowRegistry registry;
        nc::app::registerWorkingWindows(registry);
        std::unique_ptr<QDialog> window = registry.create(className, nullptr);
        QVERIFY(window);
        QCOMPARE(window->objectName(), className);
        window->show();
        QCoreApplication::processEvents();
        // The recipe sheets lie beside the program, not beside this test: that one error is expected.
        QStringList errors = messages.texts();
        if (className == QLatin1String("TForm6"))
            errors = errors.filter(QStringLiteral("/sp/")).size() == errors.size() ? QStringList() : errors;
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        QVERIFY(window->isVisible());
        window->close();
    }
};

QTEST_MAIN(TestWorkingWindows)
#include "tst_working_windows.moc"
