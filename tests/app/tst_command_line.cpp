// The command line: --help and --version print and end, --reset-database and --prepare-only are
// taken in any order, and anything unknown is refused with a pointer to --help.

#include "app/command_line.h"

#include <QTest>

using nc::app::CommandLine;
using nc::app::parseCommandLine;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void parses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QString>("textHas");
        const int run = int(CommandLine::Action::Run), prepare = int(CommandLine::Action::Prepare),
                  print = int(CommandLine::Action::Print), refuse = int(CommandLine::Action::Refuse);
        QTest::newRow("nothing") << QStringList{} << run << false << "";
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << print << false
                                << QStringLiteral("--reset-database");
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << print << false
                            << QStringLiteral("--prepare-only");
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << print << false
                                   << QStringLiteral("nutricounsel " NC_VERSION "\n");
        QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << print << false
                            << QStringLiteral("nutricounsel " NC_VERSION);
        QTest::newRow("help wins over the rest")
            << QStringList{QStringLiteral("--reset-database"), QStringLiteral("--help")} << print << false
            << QStringLiteral("用法");
        QTest::newRow("reset") << QStringList{QStringLiteral("--reset-database")} << run << true << QString();
        QTest::newRow("prepare") << QStringList{QStringLiteral("--prepare-only")} << prepare << false << QString();
        QTest::newRow("prepare and reset")
            << QStringList{QStringLiteral("--prepare-only"), QStringLiteral("--reset-database")} << prepare
            << true << QString();
        QTest::newRow("Qt's own options pass")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                           QStringLiteral("-reverse"), QStringLiteral("--reset-database")}
            << run << true << QString();
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--frobnicate")} << refuse << false << QStringLiteral("--help");
        QTest::newRow("stray argument")
            << QStringList{QStringLiteral("yfdb.dbz")} << refuse << false << QStringLiteral("yfdb.dbz");
        QTest::newRow("misspelt reset")
            << QStringList{QStringLiteral("--reset-databse")} << refuse << false << QStringLiteral("--help");
    }
    // clang-format on
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
