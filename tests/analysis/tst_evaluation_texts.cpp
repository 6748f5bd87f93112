// The evaluation lines chosen for the analysis report: below 90 %, above 110 %, at the upper level,
// by the person's category with the general texts as fallback, the shortfalls in order with the key
// three first, and no excess advice while energy is far below its reference.

#include "analysis/evaluation_texts.h"
#include "data/upper_levels.h"
#include "data/values.h"

#include <QTest>

using namespace nc::analysis;

namespace {

// Fourteen rows at exactly their reference (100 of 100), fat and carbohydrate without a reference,
// no upper levels; then the changes of a case, each "id dris [intake [ul]]", "-" for none:
// "11 50" puts calcium at 50 %, "12 300 60 50" iron at 300 % with 60 against an upper level of 50.
QList<NutrientRow> rowsWith(const QStringList& changes) {
    QList<NutrientRow> rows;
    for (const nc::data::Nutrient& n : nc::data::kNutrients) {
        NutrientRow r;
        r.id = n.id;
        r.name = QString::fromUtf8(n.name);
        r.unit = QString::fromUtf8(n.unit);
        const bool referenced = n.id != 3 && n.id != 4;
        r.intake = 100;
        r.reference = referenced ? 100 : 0;
        if (referenced)
            r.dris = 100;
        rows << r;
    }
    for (const QString& change : changes) {
        const QStringList f = change.split(QLatin1Char(' '));
        NutrientRow& r = rows[f.at(0).toInt() - 1];
        auto value = [&](int i) {
            return f.at(i) == QLatin1String("-") ? std::nullopt : std::optional(f.at(i).toDouble());
        };
        r.dris = value(1);
        if (f.size() > 2)
            r.intake = f.at(2).toDouble();
        if (f.size() > 3)
            r.ul = value(3);
    }
    return rows;
}

EvaluationText text(int nutrient, const char* range, const char* appraise, const char* group = "",
                    const char* rgName = nullptr) {
    const QString r = QString::fromUtf8(range);
    const char* judgement = rgName                       ? rgName
                            : r == QLatin1String("<90")  ? "不足"
                            : r == QLatin1String(">110") ? "偏多"
                                                         : "超UL";
    return {nutrient,
            r,
            QStringLiteral("名%1").arg(nutrient),
            QString::fromUtf8(judgement),
            QString::fromUtf8(appraise),
            QString::fromUtf8(group)};
}

// Texts for energy (1), protein (2), vitamin C (7), niacin (10, none at all), calcium (11), iron (12,
// no ">=UL" text) and selenium (14), with some written for one category.
QList<EvaluationText> texts() {
    return {
        text(1, "<90", "能少"),
        text(1, ">110", "能多"),
        text(2, "<90", "蛋白少"),
        text(2, ">110", "蛋白多"),
        text(2, ">110", "乳蛋白多", "乳母"),
        text(7, "<90", "C少"),
        text(7, ">110", "C多"),
        text(11, "<90", "育钙少", "育龄"),
        text(11, "<90", "钙少"),
        text(11, ">110", "钙多"),
        text(11, "<90", "孕钙少1", "孕妇"),
        text(11, ">=UL", "钙超"),
        text(11, "<90", "孕钙少2", "孕妇"),
        text(12, "<90", "铁少"),
        text(12, ">110", "铁多"),
        text(14, "<90", "硒少"),
        text(14, ">110", "硒多"),
        text(99, "<90", "无此营养素"),
    };
}

// A line as "[*][^]rg_name:appraise": * a key shortfall, ^ with the upper-level sentence; a line of
// no single nutrient (energy far below) as "rg_name:content".
QStringList shown(const QList<EvaluationLine>& lines) {
    QStringList out;
    for (const EvaluationLine& l : lines) {
        QString s = l.key ? QStringLiteral("*") : QString();
        if (!l.sentence.isEmpty())
            s += QLatin1Char('^');
        out << s + l.rgName + QLatin1Char(':') + (l.nutrient == 0 ? l.content : l.appraise);
    }
    return out;
}

QStringList list(std::initializer_list<const char*> utf8) {
    QStringList out;
    for (const char* s : utf8)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

class TestEvaluationTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // clang-format off
    void lines_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("shortfalls");
        QTest::addColumn<QStringList>("excess");
        QTest::addColumn<QString>("headline");

        QTest::newRow("all at the reference") << "育龄" << QStringList()
            << QStringList() << QStringList() << QString();
        QTest::newRow("exactly 90 and 110: nothing") << "育龄" << list({"11 90", "12 110"})
            << QStringList() << QStringList() << QString();
        QTest::newRow("just below 90, just above 110") << "育龄" << list({"11 89.99", "12 110.01"})
            << list({"*不足:育钙少"}) << list({"偏多:铁多"}) << "最需要改善：钙";
        QTest::newRow("her category's texts, both, in table order") << "孕妇" << list({"11 50"})
            << list({"*不足:孕钙少1", "*不足:孕钙少2"}) << QStringList() << "最需要改善：钙";
        QTest::newRow("another category's texts are not hers") << "乳母" << list({"11 50"})
            << list({"*不足:钙少"}) << QStringList() << "最需要改善：钙";
        QTest::newRow("unknown category: general texts") << "" << list({"11 50"})
            << list({"*不足:钙少"}) << QStringList() << "最需要改善：钙";
        QTest::newRow("her category's text above 110") << "乳母" << list({"2 120"})
            << QStringList() << list({"偏多:乳蛋白多"}) << QString();
        QTest::newRow("general text above 110") << "育龄" << list({"2 120"})
            << QStringList() << list({"偏多:蛋白多"}) << QString();
        QTest::newRow("exactly the upper level") << "育龄" << list({"11 250 2000 2000"})
            << QStringList() << list({"^超UL:钙超"}) << QString();
        QTest::newRow("just below the upper level") << "育龄" << list({"11 249.99 1999.99 2000"})
            << QStringList() << list({"偏多:钙多"}) << QString();
        QTest::newRow("upper level without its own text: the 110 text") << "育龄" << list({"12 300 60 50"})
            << QStringList() << list({"^超过可耐受最高摄入量:铁多"}) << QString();
        QTest::newRow("upper level without any text: the sentence alone") << "育龄" << list({"10 300 40 35"})
            << QStringList() << list({"^超过可耐受最高摄入量:"}) << QString();
        QTest::newRow("upper level without a reference") << "育龄" << list({"14 - 500 400"})
            << QStringList() << list({"^超过可耐受最高摄入量:硒多"}) << QString();
        QTest::newRow("no upper level: the 110 text however high") << "育龄" << list({"7 500 500 -"})
            << QStringList() << list({"偏多:C多"}) << QString();
        QTest::newRow("upper level before the 110 texts") << "育龄" << list({"7 200", "12 300 60 50"})
            << QStringList() << list({"^超过可耐受最高摄入量:铁多", "偏多:C多"}) << QString();
        QTest::newRow("energy far below: one line instead of the 110 texts, the level still warned")
            << "育龄" << list({"1 74", "2 115", "7 200", "11 300 2500 2000"})
            << list({"*不足:能少"})
            << list({"^超UL:钙超", "占推荐量的比例偏高:蛋白质、维生素C"}) << "最需要改善：能量";
        QTest::newRow("energy at 80 is not far below") << "育龄" << list({"1 80", "2 115"})
            << list({"*不足:能少"}) << list({"偏多:蛋白多"}) << "最需要改善：能量";
        // Scores (育龄 doubles iron, calcium, protein): C 60, iron 2 x 30 = 60, selenium 55,
        // calcium 2 x 25 = 50, protein 2 x 12 = 24, energy 15. Equal scores keep the row order.
        QTest::newRow("key three first, then the largest shortfall") << "育龄"
            << list({"1 85", "2 88", "7 40", "11 75", "12 70", "14 45"})
            << list({"*不足:C少", "*不足:铁少", "*不足:硒少", "不足:育钙少", "不足:能少", "不足:蛋白少"})
            << QStringList() << "最需要改善：维生素C、铁、硒";
        // 孕妇 doubles energy, protein, iron, calcium, zinc: C 60, calcium 60, iron 60, selenium 55,
        // energy 30, protein 24.
        QTest::newRow("key three of a pregnant woman") << "孕妇"
            << list({"1 85", "2 88", "7 40", "11 70", "12 70", "14 45"})
            << list({"*不足:C少", "*不足:孕钙少1", "*不足:孕钙少2", "*不足:铁少", "不足:硒少", "不足:能少",
                     "不足:蛋白少"})
            << QStringList() << "最需要改善：维生素C、钙、铁";
        // Without a category nothing is doubled: C 60, selenium 55, iron 30, calcium 25.
        QTest::newRow("unknown category doubles nothing") << ""
            << list({"7 40", "11 75", "12 70", "14 45"})
            << list({"*不足:C少", "*不足:硒少", "*不足:铁少", "不足:钙少"})
            << QStringList() << "最需要改善：维生素C、硒、铁";
        // 乳母 doubles calcium: 2 x 30 = 60 before iron's 50.
        QTest::newRow("two shortfalls are both key") << "乳母" << list({"12 50", "11 70"})
            << list({"*不足:钙少", "*不足:铁少"}) << QStringList() << "最需要改善：钙、铁";
        // Zinc has no text: it is named in the headline, but prints no line.
        QTest::newRow("a shortfall without a text") << "育龄" << list({"13 20", "11 85"})
            << list({"*不足:育钙少"}) << QStringList() << "最需要改善：锌、钙";
        QTest::newRow("no stored percentage: nothing") << "育龄" << list({"11 -"})
            << QStringList() << QStringList() << QString();
    }
    // clang-format on
    void lines() {
        QFETCH(QString, category);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, shortfalls);
        QFETCH(QStringList, excess);
        QFETCH(QString, headline);
        const Evaluation e = evaluateIntakes(rowsWith(changes), category, texts());
        QCOMPARE(shown(e.shortfalls), shortfalls);
        QCOMPARE(shown(e.excess), excess);
        QCOMPARE(e.headline, headline);
    }

    // The sentence names intake and level in the row's unit, in words; it opens only the first line.
    void upperLevelSentence() {
        QCOMPARE(nc::analysis::upperLevelSentence(2500, 2000, QStringLiteral("mg")),
                 QStringLiteral("每日平均摄入 2500 毫克，已达到或超过可耐受最高摄入量（2000 毫克）。"));
        QCOMPARE(nc::analysis::upperLevelSentence(3120.55, 3000, QStringLiteral("μgRE")),
                 QStringLiteral("每日平均摄入 3120.55 微克视黄醇当量，已达到或超过可耐受最高摄入量（3000 "
                                "微克视黄醇当量）。"));
        QList<EvaluationText> two = texts();
        two << text(11, ">=UL", "钙超2");
        const Evaluation e =
            evaluateIntakes(rowsWith({QStringLiteral("11 250 2500 2000")}), QStringLiteral("育龄"), two);
        QCOMPARE(shown(e.excess), list({"^超UL:钙超", "超UL:钙超2"}));
        QCOMPARE(e.excess.first().sentence,
                 QStringLiteral("每日平均摄入 2500 毫克，已达到或超过可耐受最高摄入量（2000 毫克）。"));
        // The line for energy far below states the energy's percentage.
        const Evaluation far = evaluateIntakes(rowsWith({QStringLiteral("1 74.5"), QStringLiteral("2 115")}),
                                               QString(), texts());
        QVERIFY2(far.excess.first().appraise.startsWith(QStringLiteral("能量只达到推荐量的 74.5%")),
                 qPrintable(far.excess.first().appraise));
    }

    // The upper levels by category: a figure not entered for a category is none, an unknown category
    // has the adult women's.
    void upperLevels_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("category");
        QTest::addColumn<double>("level"); // -1: none
        QTest::newRow("vitamin A, 育龄") << 5 << "育龄" << 3000.0;
        QTest::newRow("vitamin A, 孕妇") << 5 << "孕妇" << -1.0;
        QTest::newRow("vitamin A, 乳母") << 5 << "乳母" << -1.0;
        QTest::newRow("vitamin A, no category") << 5 << "" << 3000.0;
        QTest::newRow("calcium, 孕妇") << 11 << "孕妇" << 2000.0;
        QTest::newRow("selenium, 乳母") << 14 << "乳母" << 400.0;
        QTest::newRow("niacin, unknown") << 10 << "其他" << 35.0;
        QTest::newRow("energy") << 1 << "育龄" << -1.0;
        QTest::newRow("vitamin B2") << 9 << "孕妇" << -1.0;
        QTest::newRow("no such row") << 15 << "育龄" << -1.0;
    }
    void upperLevels() {
        QFETCH(int, row);
        QFETCH(QString, category);
        QFETCH(double, level);
        const std::optional<double> ul = nc::data::upperLevel(row, category);
        QCOMPARE(ul.has_value(), level >= 0);
        if (ul)
            QCOMPARE(*ul, level);
    }
};

QTEST_GUILESS_MAIN(TestEvaluationTexts)
#include "tst_evaluation_texts.moc"
