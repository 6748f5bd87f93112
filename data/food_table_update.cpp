#include "food_table_update.h"

#include "connection.h"
#include "errors.h"
#include "query.h"
#include "value.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <cmath>

namespace nc::data {

namespace {

CsvTable readResource(const QString& name) {
    QFile f(QStringLiteral(":/updates/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("程序缺少更新数据“%1”。").arg(name));
    return parseCsv(QString::fromUtf8(f.readAll()), name);
}

// Columns of Foodnurti that hold text; every other column holds a number.
bool isTextColumn(const QString& column) {
    static const QSet<QString> text = {QStringLiteral("foodid"), QStringLiteral("foodname"),
                                       QStringLiteral("dm"), QStringLiteral("foodkind")};
    return text.contains(column.toLower());
}

int columnOf(const CsvTable& t, const char* name) {
    const int i = int(t.header.indexOf(QString::fromLatin1(name)));
    if (i < 0)
        throw Error(QStringLiteral("食物成分表更新数据缺少“%1”一栏。").arg(QString::fromLatin1(name)));
    return i;
}

// Whether a stored cell still holds the value the first table shipped ("" = no value). Numbers are
// compared as numbers, so 6502 stored as a real equals "6502".
bool holds(const Value& stored, const QString& shipped, bool text) {
    if (shipped.isEmpty())
        return stored.isNull() || (stored.type() == Value::Type::Text && stored.toText().isEmpty());
    if (stored.isNull())
        return false;
    if (text)
        return stored.toText() == shipped;
    bool ok = false;
    const double expected = shipped.toDouble(&ok);
    if (!ok)
        return stored.toText() == shipped;
    double actual = 0;
    try {
        actual = stored.toReal();
    } catch (const ConversionError&) {
        return false;
    }
    return std::abs(actual - expected) <= 1e-9 * std::max(1.0, std::abs(expected));
}

// A cell value as the database builder stores it: empty is null, anything else is bound as text and
// the column's type makes a number of it.
Value cell(const QString& text) {
    return text.isEmpty() ? Value() : Value(text);
}

// Records naming a misread food that the counsellor meant as another food: the first table's 12157
// "鲫鱼" is in fact sturgeon, and a record of "鲫鱼" meant crucian carp (12133).
const QHash<QString, QString>& recordsMeant() {
    static const QHash<QString, QString> meant = {{QStringLiteral("12157"), QStringLiteral("12133")}};
    return meant;
}

QString folded(const QString& name) {
    return name.toCaseFolded();
}

void applyCells(Connection& c, const FoodTableCorrection& fix, const QSet<QString>& columns) {
    const CsvTable& t = fix.cells;
    const int id = columnOf(t, "foodid"), col = columnOf(t, "column"), was = columnOf(t, "old_value"),
              now = columnOf(t, "new_value");
    for (const QStringList& row : t.rows) {
        const QString column = row[col];
        if (column == QLatin1String("*") || column == QLatin1String("foodname"))
            continue; // added foods and names are applied on their own
        if (!columns.contains(column))
            throw Error(QStringLiteral("食物成分表更新数据含有未知的栏目“%1”。").arg(column));
        Query read(&c);
        read.setSql(QStringLiteral("select %1 from Foodnurti where foodid=:id").arg(column));
        read.setParam(QStringLiteral("id"), row[id]);
        read.open();
        if (read.eof())
            continue; // the counsellor deleted the food
        if (!holds(read.field(0), row[was], isTextColumn(column)))
            continue; // she changed the cell: hers stays
        Query write(&c);
        write.setSql(QStringLiteral("update Foodnurti set %1=:v where foodid=:id").arg(column));
        write.setParam(QStringLiteral("v"), cell(row[now]));
        write.setParam(QStringLiteral("id"), row[id]);
        write.execute();
    }
}

struct Food {
    QString id;
    QString name;
};

QList<Food> readFoods(Connection& c) {
    Query q(&c);
    q.setSql(QStringLiteral("select foodid, foodname from Foodnurti"));
    q.open();
    QList<Food> foods;
    for (const QList<Value>& row : q.rows())
        foods.append({row[0].toText(), row[1].toText()});
    return foods;
}

void applyNames(Connection& c, const FoodTableCorrection& fix) {
    const CsvTable& t = fix.renamed;
    const int idCol = columnOf(t, "foodid"), oldCol = columnOf(t, "old_name"),
              newCol = columnOf(t, "new_name");

    // The names every food will have: a food still named as first shipped takes the corrected name,
    // unless another food would then share it (a food of hers already named so keeps its name, and so
    // does the shipped one). Dropping one rename can free a name, so repeat until nothing changes.
    QHash<QString, QString> finalName; // foodid -> name after the update
    for (const Food& f : readFoods(c))
        finalName.insert(f.id, f.name);
    QHash<QString, QStringList> renames; // foodid -> {old, new}
    for (const QStringList& row : t.rows) {
        if (finalName.contains(row[idCol]) && finalName.value(row[idCol]) == row[oldCol])
            renames.insert(row[idCol], {row[oldCol], row[newCol]});
    }
    for (bool changed = true; changed;) {
        changed = false;
        QHash<QString, int> uses;
        for (auto it = finalName.cbegin(); it != finalName.cend(); ++it) {
            const auto r = renames.constFind(it.key());
            ++uses[folded(r != renames.cend() ? r->at(1) : it.value())];
        }
        for (auto it = renames.begin(); it != renames.end();) {
            if (uses.value(folded(it->at(1))) > 1) {
                it = renames.erase(it);
                changed = true;
            } else {
                ++it;
            }
        }
    }
    for (auto it = renames.cbegin(); it != renames.cend(); ++it)
        finalName[it.key()] = it->at(1);

    // Which record lines name which renamed food, all read before any is changed, so one food's new
    // name that is another's old name cannot carry that other's lines along.
    struct Move {
        QString table;
        qint64 rowid;
        QString name;
    };
    QList<Move> moves;
    for (auto it = renames.cbegin(); it != renames.cend(); ++it) {
        const QString meantId = recordsMeant().value(it.key(), it.key());
        if (!finalName.contains(meantId))
            continue; // the food meant is gone: the lines keep their name
        for (const char* table : {"foodcheck", "sps"}) {
            Query q(&c);
            q.setSql(QStringLiteral("select rowid from %1 where swname=:n").arg(QString::fromLatin1(table)));
            q.setParam(QStringLiteral("n"), it->at(0));
            q.open();
            for (const QList<Value>& row : q.rows())
                moves.append({QString::fromLatin1(table), row[0].toInteger(), finalName.value(meantId)});
        }
    }
    for (auto it = renames.cbegin(); it != renames.cend(); ++it) {
        Query q(&c);
        q.setSql(QStringLiteral("update Foodnurti set foodname=:n where foodid=:id"));
        q.setParam(QStringLiteral("n"), it->at(1));
        q.setParam(QStringLiteral("id"), it.key());
        q.execute();
    }
    for (const Move& m : moves) {
        Query q(&c);
        q.setSql(QStringLiteral("update %1 set swname=:n where rowid=:r").arg(m.table));
        q.setParam(QStringLiteral("n"), m.name);
        q.setParam(QStringLiteral("r"), m.rowid);
        q.execute();
    }
}

void addFoods(Connection& c, const FoodTableCorrection& fix) {
    const CsvTable& t = fix.added;
    const int idCol = columnOf(t, "foodid"), nameCol = columnOf(t, "foodname");
    QSet<QString> ids, names;
    for (const Food& f : readFoods(c)) {
        ids.insert(f.id);
        names.insert(folded(f.name));
    }
    QStringList marks;
    for (const QString& column : t.header)
        marks << QLatin1Char(':') + column;
    const QString insert = QStringLiteral("insert into Foodnurti (%1) values (%2)")
                               .arg(t.header.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    auto store = [&](const QStringList& row, const QString& id) {
        Query q(&c);
        q.setSql(insert);
        for (int i = 0; i < t.header.size(); ++i)
            q.setParam(t.header[i], i == idCol ? Value(id) : cell(row[i]));
        q.execute();
        ids.insert(id);
        names.insert(folded(row[nameCol]));
    };

    QList<QStringList> displaced;
    for (const QStringList& row : t.rows) {
        if (names.contains(folded(row[nameCol])))
            continue; // she already has a food of that name: two would make the name ambiguous
        if (ids.contains(row[idCol]))
            displaced.append(row);
        else
            store(row, row[idCol]);
    }
    // A number of hers is kept; the shipped food goes after the last number of its category.
    for (const QStringList& row : displaced) {
        const QString category = row[idCol].left(2);
        int last = 0;
        for (const QString& id : std::as_const(ids)) {
            bool ok = false;
            const int n = id.mid(2).toInt(&ok);
            if (id.size() == 5 && id.startsWith(category) && ok)
                last = std::max(last, n);
        }
        if (last >= 999)
            throw Error(
                QStringLiteral("类别 %1 已没有空余的食物编号，无法加入“%2”。").arg(category, row[nameCol]));
        store(row, category + QStringLiteral("%1").arg(last + 1, 3, 10, QLatin1Char('0')));
    }
}

} // namespace

const FoodTableCorrection& shippedFoodTableCorrection() {
    static const FoodTableCorrection shipped = {
        readResource(QStringLiteral("food_table_corrections.csv")),
        readResource(QStringLiteral("food_table_renamed.csv")),
        readResource(QStringLiteral("food_table_added.csv")),
    };
    return shipped;
}

void applyFoodTableCorrection(Connection& c, const FoodTableCorrection& fix) {
    const QSet<QString> columns(fix.added.header.cbegin(), fix.added.header.cend());
    applyCells(c, fix, columns);
    applyNames(c, fix);
    addFoods(c, fix);
}

void applyShippedFoodTableCorrection(Connection& c) {
    applyFoodTableCorrection(c, shippedFoodTableCorrection());
}

} // namespace nc::data
