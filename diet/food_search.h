#pragma once
// Finding a food by what the counsellor types: part of its Chinese name or the pinyin initials of the
// food table's dm column ("MT" for 馒头), ranked so the food she means comes first, with the foods
// used lately offered before others.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace nc::diet {

// How well a food matches the typed text, best first.
enum class MatchTier {
    Exact,    // the whole name, or the pinyin initials, equal the text
    BaseName, // the name before its first bracket equals the text: 鸡蛋（白皮） for 鸡蛋
    Prefix,   // the name or the initials start with the text
    Contains, // the name or the initials contain it
    None,
};

// The tier of one food for a text. Blanks around the text are ignored; Latin letters match regardless
// of case. The initials are only compared for a text of Latin letters and digits. An empty text
// matches nothing.
MatchTier matchTier(const QString& name, const QString& initials, const QString& text);

// The name before its first bracket of any kind: "番茄[西红柿]" → "番茄", "鸡蛋（白皮）" → "鸡蛋".
QString baseName(const QString& name);

// The foods used lately, most recent first: the diet record's entries (this client's) newest first,
// then the saved recipes' lines (everyone's) newest first, each name once.
class RecentFoods {
public:
    RecentFoods() = default;
    explicit RecentFoods(const QStringList& mostRecentFirst);
    // Read from the database: foodcheck by entry number, then sps by time saved.
    static RecentFoods load(int limit = 60);

    // 0 for the most recent; -1 when the food was not used lately.
    int rank(const QString& name) const;
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
    QHash<QString, int> rank_; // by case-folded name
};

struct FoodEntry {
    QString name;
    QString initials;           // dm
    double ediblePercent = 100; // foodish; 100 when the table has none
    QString id{};               // foodid
};

// The food table's names held in memory for the type-ahead, in table order.
class FoodIndex {
public:
    FoodIndex() = default;
    explicit FoodIndex(QList<FoodEntry> foods);
    // Reads foodname, dm and foodish of every food, in table order.
    static FoodIndex load();

    int size() const { return int(foods_.size()); }
    // The food of that name (compared as the database compares names), or nullptr.
    const FoodEntry* find(const QString& name) const;

    // The foods matching the text, best first, at most `limit`: by tier, then recently used first,
    // then a food's representative value (代表值) before its varieties, then shorter names first,
    // then table order. An empty text offers the recently used foods that are in the table.
    QStringList match(const QString& text, const RecentFoods& recent, int limit = 50) const;
    // The same matches as the foods' numbers (foodid), so foods sharing a name stay apart.
    QStringList matchIds(const QString& text, const RecentFoods& recent, int limit = 50) const;

private:
    QList<int> matchRows(const QString& text, const RecentFoods& recent, int limit) const;

    QList<FoodEntry> foods_;
    QHash<QString, int> byName_; // case-folded name → first row
};

// Orders a list of names without a text (a category's foods): recently used first, then the
// representative value, then shorter names, then the list's own order.
QStringList rankNames(const QStringList& names, const RecentFoods& recent);
// The same order as the places of the names in the list: names[rankOrder(names)[0]] comes first.
QList<int> rankOrder(const QStringList& names, const RecentFoods& recent);

} // namespace nc::diet
