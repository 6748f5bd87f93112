#include "food_search.h"

#include "data/query.h"
#include "data/value.h"

#include <algorithm>
#include <limits>

namespace nc::diet {

using namespace nc::data;

namespace {

bool isAsciiWord(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
}

MatchTier tierOf(const QString& candidate, const QString& text) {
    if (candidate.isEmpty())
        return MatchTier::None;
    if (candidate.compare(text, Qt::CaseInsensitive) == 0)
        return MatchTier::Exact;
    if (candidate.startsWith(text, Qt::CaseInsensitive))
        return MatchTier::Prefix;
    if (candidate.contains(text, Qt::CaseInsensitive))
        return MatchTier::Contains;
    return MatchTier::None;
}

bool isRepresentative(const QString& name) {
    return name.contains(QStringLiteral("代表值"));
}

// The order of two candidates of the same tier.
struct RankKey {
    int tier;
    int recent; // lower is more recent; max for never
    int representative;
    int length;
    int order;
    auto operator<=>(const RankKey&) const = default;
};

RankKey keyOf(MatchTier tier, const QString& name, int order, const RecentFoods& recent) {
    const int r = recent.rank(name);
    return {int(tier), r < 0 ? std::numeric_limits<int>::max() : r, isRepresentative(name) ? 0 : 1,
            int(name.size()), order};
}

} // namespace

QString baseName(const QString& name) {
    static const QString brackets = QStringLiteral("（([［【");
    for (int i = 0; i < name.size(); ++i)
        if (brackets.contains(name.at(i)))
            return name.left(i);
    return name;
}

MatchTier matchTier(const QString& name, const QString& initials, const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return MatchTier::None;
    MatchTier tier = tierOf(name, text);
    if (tier > MatchTier::BaseName && baseName(name) != name &&
        baseName(name).compare(text, Qt::CaseInsensitive) == 0)
        tier = MatchTier::BaseName;
    if (isAsciiWord(text))
        tier = std::min(tier, tierOf(initials.trimmed(), text));
    return tier;
}

RecentFoods::RecentFoods(const QStringList& mostRecentFirst) {
    for (const QString& n : mostRecentFirst) {
        const QString key = n.trimmed().toCaseFolded();
        if (key.isEmpty() || rank_.contains(key))
            continue;
        rank_.insert(key, int(names_.size()));
        names_ << n.trimmed();
    }
}

RecentFoods RecentFoods::load(int limit) {
    QStringList names;
    Query entries;
    entries.setSql(QStringLiteral("select swname, max(foodid) as last from foodcheck group by swname "
                                  "order by last desc limit :n"));
    entries.setParam(QStringLiteral("n"), limit);
    entries.open();
    for (entries.first(); !entries.eof(); entries.next())
        names << entries.field(QStringLiteral("swname")).toText();
    Query recipes;
    recipes.setSql(QStringLiteral("select swname, max(sptime) as last from sps group by swname "
                                  "order by last desc limit :n"));
    recipes.setParam(QStringLiteral("n"), limit);
    recipes.open();
    for (recipes.first(); !recipes.eof(); recipes.next())
        names << recipes.field(QStringLiteral("swname")).toText();
    return RecentFoods(names);
}

int RecentFoods::rank(const QString& name) const {
    return rank_.value(name.trimmed().toCaseFolded(), -1);
}

FoodIndex::FoodIndex(QList<FoodEntry> foods) : foods_(std::move(foods)) {
    for (int i = 0; i < foods_.size(); ++i) {
        const QString key = foods_[i].name.toCaseFolded();
        if (!byName_.contains(key))
            byName_.insert(key, i);
    }
}

FoodIndex FoodIndex::load() {
    Query q;
    q.setSql(QStringLiteral("select foodname, dm, foodish, foodid from Foodnurti"));
    q.open();
    QList<FoodEntry> foods;
    foods.reserve(q.recordCount());
    for (q.first(); !q.eof(); q.next()) {
        const Value share = q.field(QStringLiteral("foodish"));
        foods.append({q.field(QStringLiteral("foodname")).toText(), q.field(QStringLiteral("dm")).toText(),
                      share.isNull() || share.toReal() <= 0 ? 100.0 : share.toReal(),
                      q.field(QStringLiteral("foodid")).toText()});
    }
    return FoodIndex(std::move(foods));
}

const FoodEntry* FoodIndex::find(const QString& name) const {
    const auto it = byName_.constFind(name.trimmed().toCaseFolded());
    return it == byName_.constEnd() ? nullptr : &foods_[*it];
}

QList<int> FoodIndex::matchRows(const QString& text, const RecentFoods& recent, int limit) const {
    QList<int> out;
    if (text.trimmed().isEmpty()) {
        for (const QString& n : recent.names()) {
            if (out.size() >= limit)
                break;
            const auto it = byName_.constFind(n.toCaseFolded());
            if (it != byName_.constEnd())
                out << *it;
        }
        return out;
    }
    QList<std::pair<RankKey, int>> hits;
    for (int i = 0; i < foods_.size(); ++i) {
        const MatchTier tier = matchTier(foods_[i].name, foods_[i].initials, text);
        if (tier != MatchTier::None)
            hits.append({keyOf(tier, foods_[i].name, i, recent), i});
    }
    const auto cut = hits.begin() + std::min<qsizetype>(limit, hits.size());
    std::partial_sort(hits.begin(), cut, hits.end());
    for (auto it = hits.begin(); it != cut; ++it)
        out << it->second;
    return out;
}

QStringList FoodIndex::match(const QString& text, const RecentFoods& recent, int limit) const {
    QStringList out;
    for (int row : matchRows(text, recent, limit))
        out << foods_[row].name;
    return out;
}

QStringList FoodIndex::matchIds(const QString& text, const RecentFoods& recent, int limit) const {
    QStringList out;
    for (int row : matchRows(text, recent, limit))
        out << foods_[row].id;
    return out;
}

QList<int> rankOrder(const QStringList& names, const RecentFoods& recent) {
    QList<std::pair<RankKey, int>> keyed;
    keyed.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        keyed.append({keyOf(MatchTier::Exact, names[i], i, recent), i});
    std::sort(keyed.begin(), keyed.end());
    QList<int> out;
    out.reserve(names.size());
    for (const auto& k : keyed)
        out << k.second;
    return out;
}

QStringList rankNames(const QStringList& names, const RecentFoods& recent) {
    QStringList out;
    out.reserve(names.size());
    for (int i : rankOrder(names, recent))
        out << names[i];
    return out;
}

} // namespace nc::diet
