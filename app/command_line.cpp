#include "command_line.h"

#include "data/places.h"

#include <QCommandLineParser>

namespace nc::app {

namespace {
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kReset = QStringLiteral("reset-database");
const QString kPrepare = QStringLiteral("prepare-only");
} // namespace

QString versionText() {
    return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(data::kProgramName), QStringLiteral(NC_VERSION));
}

QString helpText() {
    return QStringLiteral(
               "用法 · Usage: %1 [选项 · options]\n"
               "\n"
               "女性膳食营养咨询系统：为育龄妇女、孕妇和乳母提供膳食营养咨询。\n"
               "Dietary counselling for women of childbearing age, pregnant women and nursing mothers.\n"
               "\n"
               "选项 · Options:\n"
               "  -h, --help          显示本说明后退出 · show this text and end\n"
               "  -v, --version       显示版本后退出 · show the version and end\n"
               "  --reset-database    把当前数据库加上时间改名保存，用随附的初始数据库重新开始\n"
               "                      move the database aside (name + time) and start from the shipped one\n"
               "  --prepare-only      只准备数据文件夹和数据库，显示其位置后退出（不打开窗口）\n"
               "                      make the data folder and database if missing, print where, and end\n"
               "\n"
               "数据 · Data:\n"
               "  安装后，数据库保存在用户的数据文件夹 ~/.local/share/%1/ 中；卸载程序不会删除它。\n"
               "  从编译目录运行时，数据库 yfdb.dbz 在程序旁边。\n"
               "  Installed, the database lives in ~/.local/share/%1/ and is kept when the program is\n"
               "  removed; run from the build folder, yfdb.dbz lies beside the program.\n")
        .arg(QString::fromLatin1(data::kProgramName));
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelp}));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("v"), kVersion}));
    parser.addOption(QCommandLineOption(kReset));
    parser.addOption(QCommandLineOption(kPrepare));
    // Qt's own options (-platform offscreen, -style fusion, -reverse …) are the application
    // object's business: accepted here and left in the arguments for it.
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style",
                             "stylesheet", "qwindowgeometry", "geometry", "qwindowtitle", "qwindowicon",
                             "display", "name", "title", "session", "visual"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption qtFlag(QString::fromLatin1(name));
        qtFlag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtFlag);
    }

    CommandLine cl;
    const auto refuse = [&cl](const QString& why) {
        cl.action = CommandLine::Action::Refuse;
        cl.text = why + QStringLiteral("\n使用 --help 查看可用的选项 · see --help for the options.\n");
        return cl;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("不认识的参数 · unknown argument: ") +
                      parser.positionalArguments().join(QLatin1Char(' ')));
    if (parser.isSet(kHelp)) {
        cl.action = CommandLine::Action::Print;
        cl.text = helpText();
        return cl;
    }
    if (parser.isSet(kVersion)) {
        cl.action = CommandLine::Action::Print;
        cl.text = versionText();
        return cl;
    }
    cl.resetDatabase = parser.isSet(kReset);
    if (parser.isSet(kPrepare))
        cl.action = CommandLine::Action::Prepare;
    return cl;
}

} // namespace nc::app
