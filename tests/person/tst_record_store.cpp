// Saving, clearing and evaluating the person's record against a real database file.

#include "data/errors.h"
#include "person/record_store.h"
#include "support/failure_sweep.h"
#include "support/fixture_db.h"

#include <QTest>

using namespace nc::person;
using nc::test::databaseContents;
using nc::test::FailureSweep;
using nc::test::FixtureDb;
using nc::test::RunOutcome;

namespace {

RecordInput pregnantWoman() {
    RecordInput in;
    in.name = QStringLiteral("  王芳 ");
    in.age = QStringLiteral("28");
    in.height = QStringLiteral("160");
    in.weight1 = QStringLiteral("70");
    in.weight2 = QStringLiteral("74.5");
    in.category = QStringLiteral("孕妇");
    in.activity = QStringLiteral("轻");
    in.lmp = QDate(2026, 9, 1);
    return in;
}

const QDate kToday(2026, 12, 10); // day count 99 from 2026-09-01

void setField(RecordInput& in, const QString& field, const QString& text) {
    if (field == QLatin1String("age"))
        in.age = text;
    else if (field == QLatin1String("height"))
        in.height = text;
    else if (field == QLatin1String("weight1"))
        in.weight1 = text;
    else if (field == QLatin1String("weight2"))
        in.weight2 = text;
    else if (field == QLatin1String("category"))
        in.category = text;
    else if (field == QLatin1String("activity"))
        in.activity = text;
    else if (field == QLatin1String("lmp"))
        in.lmp = QDate::fromString(text, Qt::ISODate);
    else
        qFatal("unknown field %s", qPrintable(field));
}

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savePregnantWoman() {
        FixtureDb db;
        const SaveResult r = saveRecord(pregnantWoman(), kToday);
        QCOMPARE(r.dayCount, 99);
        QCOMPARE(r.weekCount, 15);
        QCOMPARE(r.stage, QStringLiteral("中期"));
        QCOMPARE(r.bmi, 27.34);

        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 15);
        QCOMPARE(db.scalar(QStringLiteral("select yq_jd from personinf")).toText(), QStringLiteral("中期"));
        QCOMPARE(db.scalar(QStringLiteral("select ycq from personinf")).toText(),
                 QStringLiteral("2027-06-08"));
        QCOMPARE(db.scalar(QStringLiteral("select mcyjrq from personinf")).toText(),
                 QStringLiteral("2026-09-01"));
        QCOMPARE(db.scalar(QStringLiteral("select yftz from personinf")).toReal(), 74.5);
        QCOMPARE(db.scalar(QStringLiteral("select rmtz from personinf")).toReal(), 0.0);
        QCOMPARE(db.scalar(QStringLiteral("select hdsp from personinf")).toText(), QStringLiteral("轻"));
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.34);
        QCOMPARE(db.scalar(QStringLiteral("select csdate from lstzpj")).toText(),
                 QStringLiteral("2026-12-10"));
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 2125.0);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=2")).toReal(), 78.8);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=12")).toReal(), 25.0);
        // The upper levels of a pregnant woman beside the references: none for vitamin A or energy.
        QCOMPARE(db.scalar(QStringLiteral("select ul from lsyysfx where id=11")).toReal(), 2000.0);
        QVERIFY(db.scalar(QStringLiteral("select ul from lsyysfx where id=5")).isNull());
        QVERIFY(db.scalar(QStringLiteral("select ul from lsyysfx where id=1")).isNull());
    }

    void otherCategoriesKeepWeekAndStage_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<double>("yftz");
        QTest::addColumn<double>("rmtz");
        QTest::newRow("childbearing age") << "育龄" << 0.0 << 0.0;
        QTest::newRow("nursing mother") << "乳母" << 0.0 << 74.5;
    }
    void otherCategoriesKeepWeekAndStage() {
        QFETCH(QString, category);
        QFETCH(double, yftz);
        QFETCH(double, rmtz);
        FixtureDb db;
        db.exec(QStringLiteral("update personinf set yq_week=12, yq_jd='中期', yftz=66"));
        RecordInput in = pregnantWoman();
        in.category = category;
        saveRecord(in, kToday);
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 12);
        QCOMPARE(db.scalar(QStringLiteral("select yq_jd from personinf")).toText(), QStringLiteral("中期"));
        QCOMPARE(db.scalar(QStringLiteral("select yftz from personinf")).toReal(), yftz);
        QCOMPARE(db.scalar(QStringLiteral("select rmtz from personinf")).toReal(), rmtz);
        QCOMPARE(db.scalar(QStringLiteral("select csjd from personinf")).toText(), category);
        // The hidden period date still gives the due date.
        QCOMPARE(db.scalar(QStringLiteral("select ycq from personinf")).toText(),
                 QStringLiteral("2027-06-08"));
    }

    void splitFromStoredIntakesAndFatCarbohydrateReferencesKept() {
        FixtureDb db;
        db.exec(QStringLiteral("update lsyysfx set srl=60 where id=2"));
        db.exec(QStringLiteral("update lsyysfx set srl=50, ckl=5 where id=3"));
        db.exec(QStringLiteral("update lsyysfx set srl=300, ckl=6 where id=4"));
        db.exec(QStringLiteral("update lsyysfx set cz=1, dris=2"));
        saveRecord(pregnantWoman(), kToday);
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=1")).toReal(), 12.69);
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=2")).toReal(), 23.8);
        QCOMPARE(db.scalar(QStringLiteral("select value1 from sdrn where id=3")).toReal(), 63.49);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=3")).toReal(), 5.0);
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=4")).toReal(), 6.0);
        // A save never touches the analysis columns.
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from lsyysfx where cz=1 and dris=2")).toInteger(),
                 14);
        QCOMPARE(db.scalar(QStringLiteral("select srl from lsyysfx where id=2")).toReal(), 60.0);
    }

    void noAnalysisYetGivesZeroShares() {
        FixtureDb db;
        db.exec(QStringLiteral("update sdrn set value1=33"));
        db.exec(QStringLiteral("update lsyysfx set srl=null"));
        saveRecord(pregnantWoman(), kToday);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from sdrn where value1=0")).toInteger(), 3);
    }

    // A malformed number stops the save before anything is written.
    // clang-format off
    void badNumbersWriteNothing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::newRow("age lone point") << "age" << "." << int(RecordField::Age);
        QTest::newRow("age two points") << "age" << "2.8.1" << int(RecordField::Age);
        QTest::newRow("height zero") << "height" << "0" << int(RecordField::Height);
        QTest::newRow("height two points") << "height" << "16.0.5" << int(RecordField::Height);
        QTest::newRow("first weight lone point") << "weight1" << "." << int(RecordField::Weight1);
        QTest::newRow("second weight malformed") << "weight2" << "7..4" << int(RecordField::Weight2);
        QTest::newRow("second weight blanks") << "weight2" << "  " << int(RecordField::Weight2);
    }
    // clang-format on
    void badNumbersWriteNothing() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, problem);
        FixtureDb db;
        RecordInput in = pregnantWoman();
        setField(in, field, text);
        const auto p = checkNumbers(in);
        QVERIFY(p.has_value());
        QCOMPARE(int(p->field), problem);
        QVERIFY(p->message.contains(text));
        QVERIFY_THROWS_EXCEPTION(nc::data::Error, saveRecord(in, kToday));
        QVERIFY(db.scalar(QStringLiteral("select y from lstzpj")).isNull());
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 0.0);
        QVERIFY(db.scalar(QStringLiteral("select name from personinf")).isNull());
    }

    // Values no woman can have are refused with the field and the range named, and nothing is written;
    // both limits are allowed. A pregnant woman's last period lies between 300 days back and today.
    // clang-format off
    void boundsWriteNothing_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem"); // -1: accepted
        QTest::addColumn<QString>("named");
        const int ok = -1;
        QTest::newRow("age 10")             << "孕妇" << "age" << "10"    << ok << "";
        QTest::newRow("age 9.9")            << "孕妇" << "age" << "9.9"   << int(RecordField::Age) << "年龄“9.9”超出范围，应在 10～70 岁之间";
        QTest::newRow("age 70")             << "孕妇" << "age" << "70"    << ok << "";
        QTest::newRow("age 70.1")           << "孕妇" << "age" << "70.1"  << int(RecordField::Age) << "10～70 岁";
        QTest::newRow("age 1e20")           << "孕妇" << "age" << "1e20"  << int(RecordField::Age) << "10～70 岁";
        QTest::newRow("height 5")           << "孕妇" << "height" << "5"  << int(RecordField::Height) << "身高“5”超出范围，应在 100～230 厘米之间";
        QTest::newRow("height 99.9")        << "孕妇" << "height" << "99.9" << int(RecordField::Height) << "100～230 厘米";
        QTest::newRow("height 100")         << "孕妇" << "height" << "100" << ok << "";
        QTest::newRow("height 230")         << "孕妇" << "height" << "230" << ok << "";
        QTest::newRow("height 230.01")      << "孕妇" << "height" << "230.01" << int(RecordField::Height) << "100～230 厘米";
        QTest::newRow("before pregnancy 24.9") << "孕妇" << "weight1" << "24.9" << int(RecordField::Weight1) << "孕前体重“24.9”超出范围，应在 25～250 千克之间";
        QTest::newRow("before pregnancy 25")   << "孕妇" << "weight1" << "25"   << ok << "";
        QTest::newRow("current 250")        << "孕妇" << "weight2" << "250"   << ok << "";
        QTest::newRow("current 250.1")      << "孕妇" << "weight2" << "250.1" << int(RecordField::Weight2) << "现体重“250.1”超出范围，应在 25～250 千克之间";
        QTest::newRow("current 1e20")       << "孕妇" << "weight2" << "100000000000000000000" << int(RecordField::Weight2) << "25～250 千克";
        QTest::newRow("childbearing 251")   << "育龄" << "weight1" << "251"   << int(RecordField::Weight1) << "现体重“251”超出范围";
        QTest::newRow("nursing 20")         << "乳母" << "weight1" << "20"    << int(RecordField::Weight1) << "非孕体重“20”超出范围";
        QTest::newRow("nursing current 300") << "乳母" << "weight2" << "300"  << int(RecordField::Weight2) << "现体重“300”超出范围";
        QTest::newRow("childbearing, second weight not hers") << "育龄" << "weight2" << "300" << ok << "";
        QTest::newRow("period today")       << "孕妇" << "lmp" << "2026-12-10" << ok << "";
        QTest::newRow("period tomorrow")    << "孕妇" << "lmp" << "2026-12-11" << int(RecordField::PeriodDate) << "末次月经日期 2026-12-11 晚于今天";
        QTest::newRow("period 300 days back") << "孕妇" << "lmp" << "2026-02-13" << ok << "";
        QTest::newRow("period 301 days back") << "孕妇" << "lmp" << "2026-02-12" << int(RecordField::PeriodDate) << "末次月经日期 2026-02-12 距今已超过 300 天，请重新选择（应在 2026-02-13 至 2026-12-10 之间）";
        QTest::newRow("period of a nursing mother") << "乳母" << "lmp" << "2025-01-01" << ok << "";
        QTest::newRow("no category")        << "孕妇" << "category" << "" << int(RecordField::Category) << "请选择测试阶段（育龄、孕妇或乳母）。";
        QTest::newRow("unknown category")   << "孕妇" << "category" << "孕" << int(RecordField::Category) << "请选择测试阶段";
        QTest::newRow("no activity")        << "孕妇" << "activity" << "" << int(RecordField::Activity) << "请选择活动水平（轻、中或重）。";
    }
    // clang-format on
    void boundsWriteNothing() {
        QFETCH(QString, category);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(QString, named);
        FixtureDb db;
        RecordInput in = pregnantWoman();
        in.category = category;
        setField(in, field, text);
        const auto p = checkInput(in, kToday);
        const QString before = databaseContents(db.connection(), {"personinf", "lstzpj", "lsyysfx", "sdrn"});
        if (problem < 0) {
            QVERIFY2(!p, p ? qPrintable(p->message) : "");
            saveRecord(in, kToday);
            QVERIFY(databaseContents(db.connection(), {"personinf", "lstzpj", "lsyysfx", "sdrn"}) != before);
            return;
        }
        QVERIFY(p.has_value());
        QCOMPARE(int(p->field), problem);
        QVERIFY2(p->message.contains(named), qPrintable(p->message));
        try {
            saveRecord(in, kToday);
            QFAIL("a refused record must not be saved");
        } catch (const nc::data::Error& e) {
            QCOMPARE(e.text(), p->message);
        }
        QCOMPARE(databaseContents(db.connection(), {"personinf", "lstzpj", "lsyysfx", "sdrn"}), before);
    }

    // Both choices missing are named together.
    void bothChoicesMissing() {
        RecordInput in = pregnantWoman();
        in.category.clear();
        in.activity.clear();
        const auto p = checkInput(in, kToday);
        QVERIFY(p.has_value());
        QCOMPARE(p->message, QStringLiteral("请选择测试阶段（育龄、孕妇或乳母）和活动水平（轻、中或重）。"));
    }

    void secondWeightIgnoredForChildbearingAge() {
        FixtureDb db;
        RecordInput in = pregnantWoman();
        in.category = QStringLiteral("育龄");
        in.weight2 = QStringLiteral(".");
        QVERIFY(!checkNumbers(in).has_value());
        saveRecord(in, kToday);
        QCOMPARE(db.scalar(QStringLiteral("select yltz from personinf")).toReal(), 70.0);
    }

    void missingRecordRowIsReportedAndNothingWritten() {
        FixtureDb db;
        db.exec(QStringLiteral("delete from personinf"));
        try {
            saveRecord(pregnantWoman(), kToday);
            QFAIL("a save without a record row must not report success");
        } catch (const nc::data::Error& e) {
            QVERIFY(e.text().contains(QStringLiteral("缺少个人档案记录")));
        }
        QVERIFY(db.scalar(QStringLiteral("select y from lstzpj")).isNull());
        QCOMPARE(db.scalar(QStringLiteral("select ckl from lsyysfx where id=1")).toReal(), 0.0);
    }

    // A failure at any statement of the save leaves every table as it was; once no statement fails,
    // the save goes through.
    void failureHalfwayWritesNothing_data() {
        QTest::addColumn<QString>("category");
        QTest::newRow("pregnant") << "孕妇";
        QTest::newRow("childbearing age") << "育龄";
        QTest::newRow("nursing mother") << "乳母";
    }
    void failureHalfwayWritesNothing() {
        QFETCH(QString, category);
        FixtureDb db;
        db.exec(QStringLiteral("update lsyysfx set srl=60 where id=2")); // a split to store
        RecordInput in = pregnantWoman();
        in.category = category;
        FailureSweep sweep(db.connection());
        sweep.snapshot = [&] {
            return databaseContents(db.connection(), {"personinf", "lstzpj", "lsyysfx", "sdrn"});
        };
        QVERIFY(sweep.run([&] {
            saveRecord(in, kToday);
            return RunOutcome::Completed;
        }));
        QVERIFY(sweep.brokenRuns() > 12); // the reference intakes alone are twelve statements
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.34);
    }

    void clearKeepsDatesAndWorkingTables() {
        FixtureDb db;
        saveRecord(pregnantWoman(), kToday);
        clearRecord();
        QCOMPARE(db.count(QStringLiteral("personinf")), 1);
        QCOMPARE(
            db.scalar(QStringLiteral("select count(*) from personinf where name is null and age is null and "
                                     "high is null and csjd is null and hdsp is null and yltz is null and "
                                     "yftz is null and rmtz is null"))
                .toInteger(),
            1);
        QCOMPARE(db.scalar(QStringLiteral("select ycq from personinf")).toText(),
                 QStringLiteral("2027-06-08"));
        QCOMPARE(db.scalar(QStringLiteral("select yq_week from personinf")).toInteger(), 15);
        QCOMPARE(db.scalar(QStringLiteral("select mcyjrq from personinf")).toText(),
                 QStringLiteral("2026-09-01"));
        QCOMPARE(db.scalar(QStringLiteral("select y from lstzpj")).toReal(), 27.34);
        // The next save fills the same row.
        saveRecord(pregnantWoman(), kToday);
        QCOMPARE(db.count(QStringLiteral("personinf")), 1);
        QCOMPARE(db.scalar(QStringLiteral("select name from personinf")).toText(), QStringLiteral("王芳"));
    }

    // clang-format off
    void evaluation_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<double>("gain");
        QTest::addColumn<QString>("grade");
        // BMI 27.34: class 高, normal gain 0.19 to 0.29.
        QTest::newRow("pregnant, 4 kg over 15 weeks") << "孕妇" << 15 << "yftzbg.rav" << 4.0 / 15 << "正常";
        QTest::newRow("pregnant, no weeks yet") << "孕妇" << 0 << "yftzbg.rav" << 40000.0 << "过重";
        QTest::newRow("nursing, weeks from the last pregnant save") << "乳母" << 20 << "rmtzbg.rav" << 0.1 << "过轻";
        QTest::newRow("nursing, no weeks") << "乳母" << -3 << "rmtzbg.rav" << 20.0 << "过重";
    }
    // clang-format on
    void evaluation() {
        QFETCH(QString, category);
        QFETCH(int, weeks);
        QFETCH(QString, layout);
        QFETCH(double, gain);
        QFETCH(QString, grade);
        FixtureDb db;
        db.exec(QStringLiteral("update lstzpj set y=27.34"));
        db.exec(QStringLiteral("update personinf set yltz=70.4, yftz=74.5, rmtz=72, yq_week=:weeks"),
                {{QStringLiteral("weeks"), weeks}});
        const Evaluation e = evaluateRecord(category);
        QCOMPARE(e.bmiClass, QStringLiteral("高"));
        QCOMPARE(e.layout, layout);
        QCOMPARE(*e.weeklyGain, gain);
        QCOMPARE(e.grade, grade);
        QCOMPARE(db.scalar(QStringLiteral("select week_add from lstzpj")).toReal(), gain);
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), grade);
    }

    void evaluationOfChildbearingAgeKeepsTheGrade() {
        FixtureDb db;
        db.exec(QStringLiteral("update lstzpj set y=21.48, week_add=0.35, week_dj='正常'"));
        const Evaluation e = evaluateRecord(QStringLiteral("育龄"));
        QCOMPARE(e.layout, QStringLiteral("tzbg.rav"));
        QCOMPARE(e.bmiClass, QStringLiteral("正常"));
        QVERIFY(!e.weeklyGain.has_value());
        QCOMPARE(db.scalar(QStringLiteral("select week_add from lstzpj")).toReal(), 0.35);
        QCOMPARE(db.scalar(QStringLiteral("select week_dj from lstzpj")).toText(), QStringLiteral("正常"));
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_record_store.moc"
