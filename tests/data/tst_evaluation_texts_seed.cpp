// The evaluation texts shipped in data/seed/app_pj.csv: a general text for each nutrient and range,
// texts of their own for 育龄, 孕妇 and 乳母 where the advice differs, and texts for an intake at or
// above the tolerable upper level. Read as the seed file, so the checks hold whatever database the
// file goes into.

#include "data/csv.h"
#include "support/fixture_db.h"

#include <QHash>
#include <QSet>
#include <QTest>

#include <algorithm>

using namespace nc::data;

namespace {

struct EvaluationText {
    QString zId;
    QString range;
    QString content;
    QString rgName;
    QString appraise;
    QString grp;

    QString key() const { return zId + QLatin1Char(' ') + range; }
};

QList<EvaluationText> readTexts(const QString& path) {
    const CsvTable t = readCsvFile(path);
    const auto col = [&](const char* name) {
        const qsizetype i = t.header.indexOf(QLatin1String(name));
        if (i < 0)
            qFatal("%s has no column %s", qPrintable(path), name);
        return i;
    };
    const qsizetype z = col("z_id"), range = col("range"), content = col("content"), rgName = col("rg_name"),
                    appraise = col("appraise");
    const qsizetype grp = t.header.indexOf(QLatin1String("grp")); // absent in older files
    QList<EvaluationText> out;
    for (const QStringList& r : t.rows)
        out.append({r[z], r[range], r[content], r[rgName], r[appraise], grp < 0 ? QString() : r[grp]});
    return out;
}

QList<EvaluationText> shippedTexts() {
    return readTexts(nc::test::sourceDir() + QStringLiteral("/data/seed/app_pj.csv"));
}

const QStringList kGroups{QStringLiteral("育龄"), QStringLiteral("孕妇"), QStringLiteral("乳母")};

// The text a woman of the group is shown for a nutrient and range: her group's row when there is
// one, else the general row.
QString textFor(const QList<EvaluationText>& texts, const QString& key, const QString& group) {
    QString general;
    for (const EvaluationText& t : texts) {
        if (t.key() != key)
            continue;
        if (t.grp == group)
            return t.appraise;
        if (t.grp.isEmpty())
            general = t.appraise;
    }
    return general;
}

} // namespace

class TestEvaluationTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The header names the five columns of the first releases and the group last; every row names
    // a known range and group, once per nutrient, range and group, with a general row beside any
    // group row saying the same nutrient and judgement; every text is one paragraph in full-width
    // punctuation.
    void everyRowIsWellFormed() {
        const CsvTable table = readCsvFile(nc::test::sourceDir() + QStringLiteral("/data/seed/app_pj.csv"));
        QCOMPARE(table.header,
                 QStringList({QStringLiteral("z_id"), QStringLiteral("range"), QStringLiteral("content"),
                              QStringLiteral("rg_name"), QStringLiteral("appraise"), QStringLiteral("grp")}));
        const QList<EvaluationText> texts = shippedTexts();
        const QStringList ranges{QStringLiteral("<90"), QStringLiteral(">110"), QStringLiteral(">=UL")};
        QHash<QString, EvaluationText> general;
        QSet<QString> seen;
        for (const EvaluationText& t : texts) {
            const QString where = t.key() + QLatin1Char(' ') + t.grp;
            QVERIFY2(ranges.contains(t.range), qPrintable(where));
            QVERIFY2(t.grp.isEmpty() || kGroups.contains(t.grp), qPrintable(where));
            QVERIFY2(!seen.contains(where), qPrintable(QStringLiteral("twice: ") + where));
            seen.insert(where);
            QVERIFY2(!t.content.isEmpty() && !t.rgName.isEmpty() && !t.appraise.isEmpty(), qPrintable(where));
            for (const QString& cell : {t.content, t.rgName, t.appraise, t.grp})
                QVERIFY2(!cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')),
                         qPrintable(where));
            for (const char c : {',', ';', ':', '(', ')', '?', '!'})
                QVERIFY2(!t.appraise.contains(QLatin1Char(c)),
                         qPrintable(where + QLatin1Char(' ') + QLatin1Char(c)));
            if (t.grp.isEmpty())
                general.insert(t.key(), t);
        }
        for (const EvaluationText& t : texts) {
            if (t.grp.isEmpty())
                continue;
            const QString where = t.key() + QLatin1Char(' ') + t.grp;
            QVERIFY2(general.contains(t.key()), qPrintable(QStringLiteral("no general row: ") + where));
            QCOMPARE(t.content, general.value(t.key()).content);
            QCOMPARE(t.rgName, general.value(t.key()).rgName);
        }
    }

    // Texts at or above the upper level exist for exactly the nutrients with one (vitamins A, E, C,
    // B1, niacin, calcium, iron, zinc, selenium), say so in their judgement, and leave the figure to
    // the sentence the report prints before them.
    void upperLevelTextsForTheNutrientsWithALevel() {
        QSet<QString> nutrients;
        for (const EvaluationText& t : shippedTexts()) {
            if (t.range != QLatin1String(">=UL"))
                continue;
            nutrients.insert(t.zId);
            const QString where = t.key() + QLatin1Char(' ') + t.grp;
            QCOMPARE(t.rgName, QStringLiteral("超过可耐受最高摄入量"));
            for (const QString& unit : {QStringLiteral("毫克"), QStringLiteral("微克"), QStringLiteral("mg"),
                                        QStringLiteral("μg"), QStringLiteral("可耐受最高摄入量为")})
                QVERIFY2(!t.appraise.contains(unit), qPrintable(where + QLatin1Char(' ') + unit));
        }
        const QStringList expected{QStringLiteral("5"),  QStringLiteral("6"),  QStringLiteral("7"),
                                   QStringLiteral("8"),  QStringLiteral("10"), QStringLiteral("11"),
                                   QStringLiteral("12"), QStringLiteral("13"), QStringLiteral("14")};
        QCOMPARE(nutrients, QSet<QString>(expected.begin(), expected.end()));
    }

    // For every nutrient and range, the text each group is shown (her group's row, else the general
    // one) never speaks of another group's situation; a group's own row speaks of hers.
    void eachGroupReadsTextsThatFitHer_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("forbiddenWords"); // words, separated by blanks
        QTest::addColumn<QString>("allowed");        // a word of hers holding a forbidden one
        QTest::addColumn<QString>("ownWords");       // words of which her own rows hold at least one
        // clang-format off
        QTest::newRow("育龄") << "育龄" << "胎儿 孕 妊娠 哺乳 乳汁 母乳 婴儿 巨大儿 乳母 产后" << "备孕" << "";
        QTest::newRow("孕妇") << "孕妇" << "哺乳 乳汁 母乳 乳母"                               << ""     << "孕 胎儿";
        QTest::newRow("乳母") << "乳母" << "胎儿 妊娠 巨大儿"                                  << ""     << "哺乳 乳汁 母乳 乳母 产后";
        // clang-format on
    }
    void eachGroupReadsTextsThatFitHer() {
        QFETCH(QString, group);
        QFETCH(QString, allowed);
        QFETCH(QString, forbiddenWords);
        QFETCH(QString, ownWords);
        const QStringList forbidden = forbiddenWords.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList own = ownWords.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QList<EvaluationText> texts = shippedTexts();
        QSet<QString> keys;
        for (const EvaluationText& t : texts)
            keys.insert(t.key());
        for (const QString& key : keys) {
            QString text = textFor(texts, key, group);
            QVERIFY2(!text.isEmpty(), qPrintable(key));
            if (!allowed.isEmpty())
                text.remove(allowed);
            for (const QString& word : forbidden)
                QVERIFY2(!text.contains(word), qPrintable(key + QLatin1Char(' ') + word));
        }
        for (const EvaluationText& t : texts) {
            if (t.grp != group || own.isEmpty())
                continue;
            const bool speaksOfHer =
                std::any_of(own.begin(), own.end(), [&](const QString& w) { return t.appraise.contains(w); });
            QVERIFY2(speaksOfHer, qPrintable(t.key()));
        }
    }

    // The general rows below 90 % and above 110 % stay, in order and cell for cell, as the earlier
    // releases shipped them: the update of an existing database relies on them to tell an unedited
    // text from a counsellor's.
    void generalTextsAsShippedBefore() {
        const QList<EvaluationText> before = readTexts(
            nc::test::sourceDir() + QStringLiteral("/tests/support/second_release_database/app_pj.csv"));
        QList<EvaluationText> general;
        for (const EvaluationText& t : shippedTexts()) {
            if (t.grp.isEmpty() && t.range != QLatin1String(">=UL"))
                general.append(t);
        }
        QCOMPARE(general.size(), before.size());
        for (qsizetype i = 0; i < general.size(); ++i) {
            QCOMPARE(general[i].key(), before[i].key());
            QCOMPARE(general[i].content, before[i].content);
            QCOMPARE(general[i].rgName, before[i].rgName);
            QCOMPARE(general[i].appraise, before[i].appraise);
        }
    }
};

QTEST_GUILESS_MAIN(TestEvaluationTexts)
#include "tst_evaluation_texts_seed.moc"
