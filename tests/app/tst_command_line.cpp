// The command line: --help and --version print and end, --reset-database and --prepare-only are
// taken in any order, and anything unknown is refused with a pointer to --help.

#include "app/command_line.h"

#include <QTest>

using nc::app::CommandLine;
using nc::app::parseCommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QString>("textHas");
        const int run = int(CommandLine::Action::Run), prepare = int(CommandLine::Action::Prepare),
                  print = int(CommandLine::Action::Print), refuse = int(CommandLine::Action::Refuse);
        QTest::newRow("nothing") << QStringList{} << run << false << "";
        QTest::newRow("--help") << QStringList{"--help"} << print << false << "--reset-database";
        QTest::newRow("-h") << QStringList{"-h"} << print << false << "--prepare-only";
        QTest::newRow("--version") << QStringList{"--version"} << print << false
                                   << "nutricounsel " NC_VERSION "\n";
        QTest::newRow("-v") << QStringList{"-v"} << print << false << "nutricounsel " NC_VERSION;
        QTest::newRow("help wins over the rest")
            << QStringList{"--reset-database", "--help"} << print << false << "用法";
        QTest::newRow("reset") << QStringList{"--reset-database"} << run << true << "";
        QTest::newRow("prepare") << QStringList{"--prepare-only"} << prepare << false << "";
        QTest::newRow("prepare and reset")
            << QStringList{"--prepare-only", "--reset-database"} << prepare << true << "";
        QTest::newRow("Qt's own options pass")
            << QStringList{"-platform", "offscreen", "-reverse", "--reset-database"} << run << true << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << refuse << false << "--help";
        QTest::newRow("stray argument") << QStringList{"yfdb.dbz"} << refuse << false << "yfdb.dbz";
        QTest::newRow("misspelt reset") << QStringList{"--reset-databse"} << refuse << false << "--help";
    }
    void parses() {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(bool, reset);
        QFETCH(QString, textHas);
        args.prepend(QStringLiteral("nutricounsel"));
        const CommandLine cl = parseCommandLine(args);
        QCOMPARE(int(cl.action), action);
        QCOMPARE(cl.resetDatabase, reset);
        QVERIFY2(cl.text.contains(textHas), qPrintable(cl.text));
        if (cl.action == CommandLine::Action::Run || cl.action == CommandLine::Action::Prepare)
            QVERIFY(cl.text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
