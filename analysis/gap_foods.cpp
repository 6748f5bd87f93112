#include "gap_foods.h"

#include "data/errors.h"
#include "data/query.h"
#include "data/values.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace nc::analysis {

namespace {

// The name before its first bracket (full-width or not): "豆腐干（酱油干）" → "豆腐干".
QString nameBeforeBracket(const QString& name) {
    static const QRegularExpression bracket(QStringLiteral("[（(［\\[]"));
    const qsizetype at = name.indexOf(bracket);
    return (at < 0 ? name : name.left(at)).trimmed();
}

// Judged on the name without its other names in ［］: 枸杞菜（鲜）［枸杞，地骨］ is a vegetable.
bool isHerb(const QString& fullName) {
    static const QRegularExpression otherNames(QStringLiteral("［[^］]*］"));
    static const QString leavesAndShoots = QStringLiteral("叶菜尖苗");
    QString name = fullName;
    name.remove(otherNames);
    for (const char* word : kHerbWords) {
        const QString w = QString::fromUtf8(word);
        for (qsizetype at = name.indexOf(w); at >= 0; at = name.indexOf(w, at + 1)) {
            const qsizetype after = at + w.size();
            if (after >= name.size() || !leavesAndShoots.contains(name.at(after)))
                return true;
        }
    }
    return false;
}

bool isDried(const QString& name) {
    return name.contains(QStringLiteral("（干")) || name.contains(QStringLiteral("干）")) ||
           name.contains(QStringLiteral("，干，"));
}

template <std::size_t N> bool isOneOf(const QString& kind, const std::array<const char*, N>& kinds) {
    return std::any_of(kinds.begin(), kinds.end(), [&](const char* k) { return kind == QLatin1String(k); });
}

// A food value as a number; one that is not a number counts as none, so an odd cell in the food
// table leaves that food out of the suggestions instead of stopping the report.
double valueOrNone(const data::Value& v) {
    try {
        return v.toReal();
    } catch (const data::ConversionError&) {
        return 0;
    }
}

struct Ranked {
    const CandidateFood* food;
    int grams;
    double share; // of the category's cap
};

} // namespace

QHash<QString, int> defaultPortionCaps() {
    QHash<QString, int> caps;
    for (const PortionCap& cap : kPortionCaps)
        caps.insert(QLatin1String(cap.kind), cap.grams);
    return caps;
}

int portionCapFor(const QString& name, const QString& kind, const QHash<QString, int>& caps) {
    int cap = caps.value(kind.trimmed(), 0);
    for (const NamePortionCap& n : kNamePortionCaps)
        if (name.contains(QString::fromUtf8(n.word)))
            cap = std::min(cap, n.grams);
    return cap;
}

bool isEverydayFood(const QString& name, const QString& kind) {
    if (isHerb(name))
        return false;
    const QString base = nameBeforeBracket(name);
    for (const char* condiment : kCondimentNames)
        if (name.trimmed() == QString::fromUtf8(condiment) || base == QString::fromUtf8(condiment))
            return false;
    for (const char* word : kSupplementWords)
        if (name.contains(QString::fromUtf8(word)))
            return false;
    if (isOneOf(kind.trimmed(), kFreshKinds) && isDried(name))
        return false;
    return true;
}

int friendlyGrams(double exactGrams) {
    if (!(exactGrams > 0))
        return 0;
    // A tonne or more is far beyond any portion; the figure only has to stay one.
    exactGrams = std::min(exactGrams, kFriendlyGramsMost);
    const int step = exactGrams < 50 ? 5 : exactGrams < 200 ? 10 : 25;
    // 1e-6 of a step: 140.0000000001 g from a division is 140 g, not 150 g.
    return int(std::ceil(exactGrams / step - 1e-6)) * step;
}

QList<GapSuggestion> suggestGapFoods(const QList<Shortfall>& shortfalls, const QList<CandidateFood>& foods,
                                     const QHash<QString, int>& caps) {
    QList<GapSuggestion> out;
    for (const Shortfall& s : shortfalls) {
        if (s.nutrient < 1 || s.nutrient > int(data::kNutrients.size()))
            continue;
        const double gap = s.reference - s.intake;
        if (!(gap > 0))
            continue;
        const bool energy = s.nutrient == data::kNutrients[0].id;
        QList<Ranked> ranked;
        for (const CandidateFood& f : foods) {
            const QString kind = f.kind.trimmed();
            const int cap = portionCapFor(f.name, kind, caps);
            const double value = f.per100g[std::size_t(s.nutrient - 1)];
            if (cap <= 0 || !(value > 0) || !isEverydayFood(f.name, kind))
                continue;
            if (energy && !isOneOf(kind, kStapleKinds))
                continue;
            const double exact = gap / value * 100;
            if (exact > cap)
                continue;
            const int grams = friendlyGrams(exact);
            if (grams > cap || f.sodium * grams / 100 > kSodiumPerSuggestionMg)
                continue;
            ranked.append({&f, grams, double(grams) / cap});
        }
        std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
            if (a.share != b.share)
                return a.share < b.share;
            return a.food->name < b.food->name;
        });
        GapSuggestion suggestion{s.nutrient, {}};
        QStringList kindsTaken;
        QStringList namesTaken;
        for (const Ranked& r : ranked) {
            const QString kind = r.food->kind.trimmed();
            if (kindsTaken.contains(kind) || namesTaken.contains(r.food->name))
                continue;
            kindsTaken << kind;
            namesTaken << r.food->name;
            suggestion.foods.append({r.food->name, r.grams});
            if (suggestion.foods.size() == 3)
                break;
        }
        out.append(suggestion);
    }
    return out;
}

QString printedFoodName(const QString& name) {
    static const QRegularExpression otherNames(QStringLiteral("［[^］]*］"));
    static const QRegularExpression note(QStringLiteral("（([^（）]*)）"));
    static const QRegularExpression fatNote(QStringLiteral("^fat\\s*[0-9.]+\\s*g$"));
    QString printed = name;
    printed.remove(otherNames);
    // Within each bracketed note keep the parts a reader needs (瘦, 全脂, 鲜), not 代表值 or the
    // tables' "fat 9g".
    QString out;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = note.globalMatch(printed); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += printed.mid(from, m.capturedStart() - from);
        QStringList kept;
        for (const QString& part : m.captured(1).split(QStringLiteral("，"))) {
            const QString p = part.trimmed();
            if (!p.isEmpty() && p != QStringLiteral("代表值") && !fatNote.match(p).hasMatch())
                kept << p;
        }
        if (!kept.isEmpty())
            out += QStringLiteral("（") + kept.join(QStringLiteral("，")) + QStringLiteral("）");
        from = m.capturedEnd();
    }
    out += printed.mid(from);
    return out.trimmed();
}

QString gapFoodsText(const GapSuggestion& suggestion) {
    if (suggestion.foods.isEmpty())
        return QStringLiteral("没有一种日常食物能在平常的份量内补足，请按上面的膳食评价调整饮食。");
    QStringList parts;
    for (const GapFood& f : suggestion.foods)
        parts << QStringLiteral("%1 %2 g").arg(printedFoodName(f.name)).arg(f.grams);
    return QStringLiteral("每天再加 ") + parts.join(QStringLiteral(" 或 "));
}

QList<GapFoodLine> gapFoodLines(const QList<GapSuggestion>& suggestions) {
    QList<GapFoodLine> lines;
    QStringList unclosed;
    for (const GapSuggestion& s : suggestions) {
        if (s.nutrient < 1 || s.nutrient > int(data::kNutrients.size()))
            continue;
        const QString nutrient = QString::fromUtf8(data::kNutrients[std::size_t(s.nutrient - 1)].name);
        if (s.foods.isEmpty()) {
            unclosed << nutrient;
            continue;
        }
        const QString foods = gapFoodsText(s);
        lines.append({nutrient, foods, nutrient + QStringLiteral("：") + foods});
    }
    if (!unclosed.isEmpty()) {
        const QString nutrients = unclosed.join(QStringLiteral("、"));
        const QString foods = gapFoodsText({});
        lines.append({nutrients, foods, nutrients + QStringLiteral("：") + foods});
    }
    return lines;
}

QList<Shortfall> readShortfalls() {
    data::Query q;
    q.setSql(kShortfallsSql);
    q.open();
    QList<Shortfall> out;
    const int id = q.fieldIndex(QStringLiteral("id"));
    const int srl = q.fieldIndex(QStringLiteral("srl"));
    const int ckl = q.fieldIndex(QStringLiteral("ckl"));
    for (const QList<data::Value>& row : q.rows())
        out.append({int(row.at(id).toInteger()), row.at(srl).toReal(), row.at(ckl).toReal()});
    return out;
}

QList<CandidateFood> readCandidateFoods() {
    QStringList columns;
    for (const data::Nutrient& n : data::kNutrients)
        columns << QLatin1String(n.column);
    data::Query q;
    q.setSql(QStringLiteral("select foodname, foodkind, %1, na from Foodnurti where foodname in "
                            "(select swname from sps union select swname from foodcheck) "
                            "order by foodname, foodid")
                 .arg(columns.join(QStringLiteral(", "))));
    q.open();
    const int name = q.fieldIndex(QStringLiteral("foodname"));
    const int kind = q.fieldIndex(QStringLiteral("foodkind"));
    const int na = q.fieldIndex(QStringLiteral("na"));
    QList<int> nutrientColumns;
    for (const QString& c : columns)
        nutrientColumns << q.fieldIndex(c);
    QList<CandidateFood> out;
    for (const QList<data::Value>& row : q.rows()) {
        CandidateFood f;
        f.name = row.at(name).isNull() ? QString() : row.at(name).toText();
        f.kind = row.at(kind).isNull() ? QString() : row.at(kind).toText().trimmed();
        for (std::size_t i = 0; i < f.per100g.size(); ++i)
            f.per100g[i] = valueOrNone(row.at(nutrientColumns.at(qsizetype(i))));
        f.sodium = valueOrNone(row.at(na));
        out.append(f);
    }
    return out;
}

} // namespace nc::analysis
