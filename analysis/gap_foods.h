#pragma once
// Foods that close each shortfall: for every nutrient whose intake is below 90 % of its reference, up
// to three everyday foods, each with the grams a day that alone would make up the difference
// ("钙：每天再加 酸奶 130 g 或 豆腐干 60 g"). The analysis report prints them after the evaluation texts.
// The foods are the ones she and the saved recipes already use, in amounts a normal day can hold.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace nc::analysis {

// A normal day's amount of one food category (Foodnurti.foodkind, the codes of foodkind), in grams of
// the edible part, from the daily amounts of the Chinese Dietary Guidelines 2022 (中国居民膳食指南,
// 平衡膳食宝塔, with its pagodas for pregnant and lactating women, taking the upper figure). A suggested
// amount is the whole day's portion of that kind at most; a category without a row (21 其他: medicinal
// animal products such as 阿胶, 燕窝, 龟甲, and rarities) is never suggested.
struct PortionCap {
    const char* kind;
    const char* name; // UTF-8, as foodkind names it
    int grams;
};

// clang-format off
inline constexpr std::array<PortionCap, 13> kPortionCaps{{
    {"01", "谷类及制品",   300}, // cereals 200–300 g (raw weight, as the table lists them)
    {"02", "薯类淀粉及制品", 100}, // tubers 50–100 g
    {"03", "干豆类及制品",  100}, // soy and other bean foods: a block of tofu
    {"04", "蔬菜类及制品",  500}, // vegetables 300–500 g
    {"05", "菌藻类",       100}, // mushrooms and seaweed, fresh or soaked: one dish, within the vegetables
    {"06", "水果类及制品",  350}, // fruit 200–350 g
    {"07", "坚果种子类",    25}, // nuts and seeds, 25–35 g together with soybeans
    {"08", "畜肉类及制品",  100}, // meat: fish, poultry, eggs and meat 150–250 g in pregnancy and lactation
    {"09", "禽肉类及制品",  100}, // poultry
    {"10", "乳类及制品",   500}, // milk and dairy 300–500 g
    {"11", "蛋类及制品",    60}, // eggs 50 g, a large egg
    {"12", "鱼虾蟹贝类",   100}, // fish and shellfish
    {"19", "油脂类",        30}, // cooking oil 25–30 g, so vitamin E never comes as a cup of oil
}};
// clang-format on

// Foods with a smaller daily portion than their category, by a word in the name: liver is advised once
// or twice a week, 20–50 g at a time (中国居民膳食指南 2022, pregnant women), so about 10 g a day on
// average; daily amounts of it would bring more vitamin A than a pregnancy should have.
struct NamePortionCap {
    const char* word; // UTF-8
    int grams;
};
inline constexpr std::array<NamePortionCap, 1> kNamePortionCaps{{{"肝", 10}}};

// The cap for one food: the smaller of its category's (caps, 0 for none) and a name cap that applies.
int portionCapFor(const QString& name, const QString& kind, const QHash<QString, int>& caps);

// The caps by category code, as suggestGapFoods takes them.
QHash<QString, int> defaultPortionCaps();

// The food categories that make up energy: staple foods, cereals and tubers. An energy shortfall is
// closed with these, never with oil, nuts or sweets.
inline constexpr std::array<const char*, 2> kStapleKinds{{"01", "02"}};

// Words in a food's name that mark a medicinal or dried-herb item, never suggested as food: tonics a
// doctor, not a diet, should decide on. Bare "药" and "参" are not on the list, since 山药 is a
// vegetable and 海参 a seafood; 人参果 (a fruit) goes with 人参. A word followed by 叶, 菜, 尖 or 苗 names
// the plant's leaves or shoots, eaten as a vegetable (枸杞叶, 三七尖), and does not count.
// clang-format off
inline constexpr std::array<const char*, 20> kHerbWords{{
    "枸杞", "黄芪", "当归", "人参", "党参", "西洋参", "太子参", "阿胶", "燕窝", "鹿茸",
    "虫草", "灵芝", "三七", "茯苓", "川芎", "熟地", "药材", "中药", "药膳", "胎盘",
}};
// clang-format on

// Condiments, eaten in pinches, never in the grams that would close a shortfall: the whole name, or
// the name before its bracket, is one of these (so 醋栗, 盐水鸭 and 碱蓬 are foods).
// clang-format off
inline constexpr std::array<const char*, 16> kCondimentNames{{
    "盐", "食盐", "精盐", "碘盐", "味精", "鸡精", "碱", "食用碱", "纯碱", "小苏打", "苏打粉", "泡打粉",
    "发酵粉", "酱油", "醋", "食醋",
}};
// clang-format on

// Words in a food's name that mark a supplement, taken as tablets or scoops, not as food.
inline constexpr std::array<const char*, 7> kSupplementWords{
    {"钙片", "铁剂", "胶囊", "维生素", "叶酸", "补充剂", "蛋白粉"}};

// Categories whose portion is of the fresh food: vegetables, mushrooms and seaweed, fruit. Their
// dried forms (the tables mark them "（干）", "（半干）") are eaten a few grams at a time, soaked or
// stewed (紫菜, 木耳, 红枣, 桂圆 …), so a fresh portion of them would be many times a real one; they are
// not suggested. Dried beans, nuts and 豆腐干 are eaten as they are and stay.
inline constexpr std::array<const char*, 3> kFreshKinds{{"04", "05", "06"}};

// At most this much sodium in one suggested amount (mg; about 1 g of salt, a fifth of the day's 5 g),
// so a salted food such as 虾皮 is never the answer to a calcium shortfall.
inline constexpr double kSodiumPerSuggestionMg = 400;

// False for a food never suggested by its name or form: a herb word, a condiment's name, a dried
// food of a fresh category (the rules above); a supplement word. The category's cap is checked apart.
bool isEverydayFood(const QString& name, const QString& kind);

// A nutrient short of its reference: the lsyysfx row id (1 to 14, the order of data::kNutrients), the
// average daily intake and the reference intake, in the row's unit.
struct Shortfall {
    int nutrient = 0;
    double intake = 0;
    double reference = 0;
};

// A food that may be suggested: its name and category as the food table holds them, its values per
// 100 g in the order of data::kNutrients (0 where the table has none), and its sodium per 100 g.
struct CandidateFood {
    QString name;
    QString kind;
    std::array<double, 14> per100g{};
    double sodium = 0;
};

struct GapFood {
    QString name; // as the food table names it
    int grams = 0;
};

// The suggestions for one shortfall, best first; none when no everyday food closes it in a normal
// portion.
struct GapSuggestion {
    int nutrient = 0;
    QList<GapFood> foods;
};

// The grams to suggest for an exact amount, rounded up to a step a kitchen can weigh: 5 g below 50 g,
// 10 g from 50 g below 200 g, 25 g from 200 g. Rounding up keeps the amount enough to close the gap.
// Amounts within a millionth of a step are not pushed up by the last digit of a double. 0 for 0 or less;
// an amount above kFriendlyGramsMost counts as that much.
inline constexpr double kFriendlyGramsMost = 1e6;
int friendlyGrams(double exactGrams);

// For each shortfall with a gap (reference − intake) above 0, in the given order: the foods whose
// friendly amount (gap ÷ value per 100 g × 100, rounded up) closes the gap within the cap of their
// category, everyday foods only, with at most kSodiumPerSuggestionMg of sodium in that amount; for
// energy only staple foods. Ranked by amount relative to the cap, smallest first, then by name; one
// food per category and per name, at most three. Foods without a value for the nutrient are left out.
QList<GapSuggestion> suggestGapFoods(const QList<Shortfall>& shortfalls, const QList<CandidateFood>& foods,
                                     const QHash<QString, int>& caps = defaultPortionCaps());

// A food's name as the report prints it: the tables' other names in ［］ and the notes 代表值 and
// "fat 9g" left out ("纯牛奶（代表值，全脂）" → "纯牛奶（全脂）", "菠菜（鲜）［赤根菜］" → "菠菜（鲜）",
// "牛肉（代表值，fat 9g）" → "牛肉").
QString printedFoodName(const QString& name);

// The report's text for one suggestion, after the nutrient's name and "：": "每天再加 酸奶 130 g 或
// 豆腐干 60 g"; without foods, that no single everyday food closes it in a normal portion.
QString gapFoodsText(const GapSuggestion& suggestion);

// The nutrients whose intake is below 90 % of a reference above 0: the same rows that get an
// evaluation text "<90" (lsyysfx.dris < 90), in row order.
inline const QString kShortfallsSql =
    QStringLiteral("select id, srl, ckl from lsyysfx where ckl>0 and dris<90 order by id");
QList<Shortfall> readShortfalls();

// The foods of the saved recipes (sps: the shipped menus and the counsellor's saved days) and of her
// diet record (foodcheck) that the food table holds, by name, each food row once.
QList<CandidateFood> readCandidateFoods();

// The report's rows: nutrient ("钙"), foods (gapFoodsText) and line ("钙：每天再加 …"), in row order;
// the nutrients no food closes share one last row ("钙、铁：没有一种日常食物…"), so they take one line.
struct GapFoodLine {
    QString nutrient;
    QString foods;
    QString line;
};
QList<GapFoodLine> gapFoodLines(const QList<GapSuggestion>& suggestions);

} // namespace nc::analysis
