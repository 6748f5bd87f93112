// render_sheets: turns the recipe sheet sources into the JPEG pictures of the recommended recipes
// window and the menus into the saved-recipe seed of a fresh database. Run offscreen by the build.
//   render_sheets <sheet folder> <schema.sql> <seed folder> <picture folder> <recipe seed csv>
// Each menu's energy and protein come from the program's own intake analysis on a scratch database
// made from the shipped food table; a menu food the table does not hold stops the build.

#include "menu_figures.h"
#include "recipe_seed.h"
#include "sheet_painter.h"
#include "sheet_source.h"

#include "data/client_file.h"
#include "data/connection.h"
#include "data/database_builder.h"
#include "data/errors.h"
#include "info/sheet_list.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace nc;

void checkTitles(const QList<sheets::Sheet>& sheets) {
    QSet<QString> seen;
    for (const sheets::Sheet& s : sheets) {
        if (!info::sheetItems().contains(s.title))
            throw data::Error(QStringLiteral("%1：标题“%2”不是推荐食谱列表中的项目").arg(s.source, s.title));
        if (seen.contains(s.title))
            throw data::Error(QStringLiteral("%1：标题“%2”重复").arg(s.source, s.title));
        seen.insert(s.title);
    }
    for (const QString& item : info::sheetItems())
        if (!seen.contains(item))
            throw data::Error(QStringLiteral("缺少“%1”的文字稿").arg(item));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw data::Error(QStringLiteral("无法写入“%1”：%2").arg(path, f.errorString()));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(
            stderr,
            "usage: render_sheets <sheet folder> <schema.sql> <seed folder> <picture folder> <recipe csv>\n");
        return 2;
    }
    try {
        const QList<sheets::Sheet> all = sheets::readSheetFolder(args[1]);
        checkTitles(all);

        QTemporaryDir scratch;
        const QString password =
            data::ConnectionString::parse(data::connectionStringForFolder(scratch.path())).password;
        const QString client = data::createDatabaseWithClient(
            scratch.path(), password, data::readTextFile(args[2]), data::readSeedFolder(args[3]));
        data::Connection connection(data::connectionStringForFolder(scratch.path()));
        data::attachClientFile(connection, client, 1);
        data::Connection::setCurrent(&connection);

        const QDir out(args[4]);
        if (!QDir().mkpath(out.path()))
            throw data::Error(QStringLiteral("无法建立文件夹“%1”").arg(out.path()));
        for (const sheets::Sheet& s : all) {
            QStringList figures;
            if (s.isMenu()) {
                const QStringList unknown = sheets::unknownFoods(s);
                if (!unknown.isEmpty())
                    throw data::Error(QStringLiteral("%1：食物成分表中没有 %2")
                                          .arg(s.source, unknown.join(QStringLiteral("、"))));
                const sheets::MenuFigures f = sheets::menuFigures(s);
                figures << sheets::figuresLine(f) << sheets::referenceBasisLine(s, f);
            }
            // The picture, and the same sheet with twice the pixels for screens scaled to 150-200 %.
            for (const int scale : {1, 2}) {
                const QImage image = sheets::paintSheet(s, figures, scale);
                QSaveFile file(out.filePath(info::sheetFileName(s.title, scale)));
                if (!file.open(QIODevice::WriteOnly))
                    throw data::Error(
                        QStringLiteral("无法写入“%1”：%2").arg(file.fileName(), file.errorString()));
                QImageWriter writer(&file, "jpeg");
                writer.setQuality(92);
                if (!writer.write(image) || !file.commit())
                    throw data::Error(
                        QStringLiteral("无法写入“%1”：%2").arg(file.fileName(), writer.errorString()));
            }
        }
        writeFile(args[5], sheets::toCsv(sheets::recipeSeed(all)).toUtf8());
        data::Connection::setCurrent(nullptr);
        std::printf("%d sheets in %s\n", int(all.size()), qPrintable(QDir::toNativeSeparators(out.path())));
        return 0;
    } catch (const data::Error& e) {
        std::fprintf(stderr, "render_sheets: %s\n", qPrintable(e.text()));
        return 1;
    }
}
