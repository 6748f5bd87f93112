#include "sheet_source.h"

#include "data/database_builder.h"
#include "data/errors.h"
#include "data/values.h"

#include <QDir>
#include <QHash>

namespace nc::sheets {

namespace {

const QString kColon = QStringLiteral("：");

[[noreturn]] void fail(const QString& source, int line, const QString& what) {
    throw data::Error(QStringLiteral("%1 第 %2 行：%3").arg(source).arg(line).arg(what));
}

// The printed name of a food: its name before the first bracket ("鸡蛋（代表值）" → "鸡蛋").
QString shortName(const QString& food) {
    int cut = int(food.size());
    for (const QChar c : {QChar(0xFF08), QChar(0xFF3B), QChar(u'['), QChar(u'(')}) {
        const int at = int(food.indexOf(c));
        if (at > 0)
            cut = std::min(cut, at);
    }
    return food.left(cut);
}

Ingredient parseIngredient(const QString& text, const QString& source, int line) {
    const int blank = int(text.lastIndexOf(QLatin1Char(' ')));
    if (blank <= 0)
        fail(source, line, QStringLiteral("食物行应为“食物名 克数”：%1").arg(text));
    bool ok = false;
    const double grams = text.mid(blank + 1).toDouble(&ok);
    if (!ok || grams <= 0)
        fail(source, line, QStringLiteral("克数不是正数：%1").arg(text));
    Ingredient in;
    in.grams = grams;
    const QString name = text.left(blank).trimmed();
    const int eq = int(name.indexOf(QLatin1Char('=')));
    in.food = (eq >= 0 ? name.mid(eq + 1) : name).trimmed();
    in.label = eq >= 0 ? name.left(eq).trimmed() : shortName(in.food);
    if (in.food.isEmpty() || in.label.isEmpty())
        fail(source, line, QStringLiteral("食物名为空：%1").arg(text));
    return in;
}

Layout layoutOf(const QString& name, const QString& source, int line) {
    static const QHash<QString, Layout> layouts = {{QStringLiteral("食谱"), Layout::Menu},
                                                   {QStringLiteral("药膳"), Layout::Therapy},
                                                   {QStringLiteral("表格"), Layout::Table},
                                                   {QStringLiteral("说明"), Layout::Notes}};
    if (!layouts.contains(name))
        fail(source, line, QStringLiteral("未知版式：%1").arg(name));
    return layouts.value(name);
}

} // namespace

QList<Ingredient> Sheet::foodLines() const {
    QList<Ingredient> lines;
    for (const Section& s : sections)
        for (const Dish& d : s.dishes)
            lines += d.ingredients;
    return lines;
}

Sheet parseSheet(const QString& text, const QString& sourceName) {
    Sheet sheet;
    sheet.source = sourceName;
    bool haveLayout = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString line = raw.trimmed();
        if (line.isEmpty() || (line.startsWith(QLatin1Char('#')) && !line.startsWith(QStringLiteral("##"))))
            continue;
        if (line.startsWith(QStringLiteral("## "))) {
            sheet.sections.append({line.mid(3).trimmed(), {}, {}});
            continue;
        }
        if (sheet.sections.isEmpty()) {
            const int colon = int(line.indexOf(kColon));
            if (colon <= 0)
                fail(sourceName, lineNo, QStringLiteral("表头行应为“键：值”：%1").arg(line));
            const QString key = line.left(colon);
            const QString value = line.mid(colon + 1).trimmed();
            if (key == QStringLiteral("标题"))
                sheet.title = value;
            else if (key == QStringLiteral("副题"))
                sheet.subtitle = value;
            else if (key == QStringLiteral("提要"))
                sheet.intro = value;
            else if (key == QStringLiteral("尾注"))
                sheet.footnotes << value;
            else if (key == QStringLiteral("版式")) {
                sheet.layout = layoutOf(value, sourceName, lineNo);
                haveLayout = true;
            } else if (key == QStringLiteral("类别")) {
                if (!data::categories().contains(value))
                    fail(sourceName, lineNo, QStringLiteral("未知类别：%1").arg(value));
                sheet.category = value;
            } else if (key == QStringLiteral("孕天")) {
                bool ok = false;
                sheet.dayCount = value.toInt(&ok);
                if (!ok || sheet.dayCount <= 0)
                    fail(sourceName, lineNo, QStringLiteral("孕天应为正整数：%1").arg(value));
            } else {
                fail(sourceName, lineNo, QStringLiteral("未知表头：%1").arg(key));
            }
            continue;
        }
        Section& section = sheet.sections.last();
        if (sheet.isMenu()) {
            if (raw.startsWith(QStringLiteral("  "))) {
                if (section.dishes.isEmpty())
                    fail(sourceName, lineNo, QStringLiteral("食物行前没有菜名"));
                section.dishes.last().ingredients.append(parseIngredient(line, sourceName, lineNo));
            } else {
                section.dishes.append({line, {}});
            }
        } else {
            section.lines << line;
        }
    }
    if (sheet.title.isEmpty())
        fail(sourceName, 1, QStringLiteral("缺少标题"));
    if (!haveLayout)
        fail(sourceName, 1, QStringLiteral("缺少版式"));
    if (sheet.isMenu()) {
        if (sheet.category.isEmpty())
            fail(sourceName, 1, QStringLiteral("食谱缺少类别"));
        if (sheet.category == data::kCategoryPregnant && sheet.dayCount <= 0)
            fail(sourceName, 1, QStringLiteral("孕妇食谱缺少孕天"));
        for (const Section& s : sheet.sections)
            for (const Dish& d : s.dishes)
                if (d.ingredients.isEmpty())
                    fail(sourceName, 1, QStringLiteral("菜“%1”没有食物").arg(d.name));
    }
    return sheet;
}

QList<Sheet> readSheetFolder(const QString& folder) {
    QList<Sheet> sheets;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        sheets.append(parseSheet(data::readTextFile(dir.filePath(f)), f));
    return sheets;
}

} // namespace nc::sheets
