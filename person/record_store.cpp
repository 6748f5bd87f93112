#include "record_store.h"

#include "physique.h"
#include "reference_intakes.h"

#include "data/connection.h"
#include "data/energy_split.h"
#include "data/errors.h"
#include "data/query.h"
#include "data/upper_levels.h"
#include "data/value.h"
#include "data/values.h"

namespace nc::person {

using namespace nc::data;

namespace {

double number(const QString& text) {
    double v = 0;
    parseReal(text, &v);
    return v;
}

bool hasSecondWeight(const QString& category) {
    return category == kCategoryPregnant || category == kCategoryNursing;
}

QString shown(double v) {
    return QString::number(v, 'g', 15);
}

// A number within its bounds, or the problem naming the field, the text and the range.
std::optional<InputProblem> checkNumber(RecordField field, const QString& name, const QString& unit,
                                        const Bounds& bounds, const QString& text) {
    double v = 0;
    if (!parseReal(text, &v))
        return InputProblem{field, QStringLiteral("%1“%2”不是有效的数值，请重新输入（应在 %3～%4 %5之间）。")
                                       .arg(name, text, shown(bounds.lowest), shown(bounds.highest), unit)};
    if (!bounds.contains(v))
        return InputProblem{field, QStringLiteral("%1“%2”超出范围，应在 %3～%4 %5之间，请重新输入。")
                                       .arg(name, text, shown(bounds.lowest), shown(bounds.highest), unit)};
    return std::nullopt;
}

} // namespace

std::optional<InputProblem> checkNumbers(const RecordInput& in) {
    const QString years = QStringLiteral("岁");
    const QString cm = QStringLiteral("厘米");
    const QString kg = QStringLiteral("千克");
    if (auto p = checkNumber(RecordField::Age, QStringLiteral("年龄"), years, kAgeYears, in.age))
        return p;
    if (auto p = checkNumber(RecordField::Height, QStringLiteral("身高"), cm, kHeightCm, in.height))
        return p;
    const QString first = in.category == kCategoryChildbearing ? QStringLiteral("现体重")
                          : in.category == kCategoryPregnant   ? QStringLiteral("孕前体重")
                                                               : QStringLiteral("非孕体重");
    if (auto p = checkNumber(RecordField::Weight1, first, kg, kWeightKg, in.weight1))
        return p;
    if (hasSecondWeight(in.category))
        return checkNumber(RecordField::Weight2, QStringLiteral("现体重"), kg, kWeightKg, in.weight2);
    return std::nullopt;
}

std::optional<InputProblem> checkChoices(const RecordInput& in) {
    const bool category = categories().contains(in.category);
    const bool activity = activityLevels().contains(in.activity);
    if (!category && !activity)
        return InputProblem{RecordField::Category,
                            QStringLiteral("请选择测试阶段（育龄、孕妇或乳母）和活动水平（轻、中或重）。")};
    if (!category)
        return InputProblem{RecordField::Category, QStringLiteral("请选择测试阶段（育龄、孕妇或乳母）。")};
    if (!activity)
        return InputProblem{RecordField::Activity, QStringLiteral("请选择活动水平（轻、中或重）。")};
    return std::nullopt;
}

std::optional<InputProblem> checkInput(const RecordInput& in, const QDate& today) {
    if (auto p = checkChoices(in))
        return p;
    if (auto p = checkNumbers(in))
        return p;
    if (in.category == kCategoryPregnant && !periodDateAllowed(in.lmp, today)) {
        const QString format = QStringLiteral("yyyy-MM-dd");
        const QString date = in.lmp.toString(format);
        const QString earliest = today.addDays(-kPeriodDaysBackMost).toString(format);
        return InputProblem{
            RecordField::PeriodDate,
            in.lmp > today
                ? QStringLiteral("末次月经日期 %1 晚于今天（%2），请重新选择。")
                      .arg(date, today.toString(format))
                : QStringLiteral("末次月经日期 %1 距今已超过 %2 天，请重新选择（应在 %3 至 %4 之间）。")
                      .arg(date, QString::number(kPeriodDaysBackMost), earliest, today.toString(format))};
    }
    return std::nullopt;
}

SaveResult saveRecord(const RecordInput& in, const QDate& today) {
    if (const auto problem = checkInput(in, today))
        throw Error(problem->message);

    Transaction transaction(Connection::required());
    Query q;

    q.setSql(QStringLiteral("select count(*) as n from personinf"));
    q.open();
    if (q.field(QStringLiteral("n")).toInteger() == 0)
        throw Error(
            QStringLiteral("数据库中缺少个人档案记录行，档案没有保存。请使用完好的数据库文件 yfdb.dbz。"));

    // 1. Pregnancy dating.
    SaveResult r;
    r.dueDate = dueDate(in.lmp);
    const bool pregnant = in.category == kCategoryPregnant;
    if (pregnant) {
        r.dayCount = dayCount(in.lmp, today);
        r.weekCount = weekCount(r.dayCount);
        r.stage = pregnancyStage(r.dayCount);
    }

    // 2. Body-mass index.
    const double height = number(in.height);
    const double weight1 = number(in.weight1);
    r.bmi = bodyMassIndex(height, weight1);
    q.setSql(QStringLiteral("update lstzpj set y=:lszs,csdate=:ldate"));
    q.setParam(QStringLiteral("lszs"), r.bmi);
    q.setParam(QStringLiteral("ldate"), today.toString(QStringLiteral("yyyy-MM-dd")));
    q.execute();

    // 3. Reference intakes.
    for (const ReferenceIntake& ri :
         referenceIntakes(in.category, in.activity, height, weight1, r.bmi, r.dayCount)) {
        q.setSql(QStringLiteral("update lsyysfx set ckl=:lszs where id=%1").arg(ri.row));
        q.setParam(QStringLiteral("lszs"), ri.value);
        q.execute();
    }
    // The tolerable upper levels of her category beside them.
    storeUpperLevels(Connection::required(), in.category);

    // 4. Energy split of the intakes the last analysis stored.
    storeEnergySplit(SplitRounding::FourDecimals);
    q.close();

    // 5. The record itself; the week count and stage only for a pregnant woman.
    q.setSql(
        pregnant
            ? QStringLiteral("update personinf set name=:name,age=:age,high=:high,ycq=:ls_ycq,yq_week=:L1,"
                             "yq_jd=:L2,csjd=:csjd,yltz=:yl,yftz=:yf,rmtz=:rm,mcyjrq=:mcyjrq,hdsp=:hdsp")
            : QStringLiteral("update personinf set name=:name,age=:age,high=:high,ycq=:ls_ycq,csjd=:csjd,"
                             "yltz=:yl,yftz=:yf,rmtz=:rm,mcyjrq=:mcyjrq,hdsp=:hdsp"));
    q.setParam(QStringLiteral("name"), in.name.trimmed());
    q.setParam(QStringLiteral("age"), number(in.age));
    q.setParam(QStringLiteral("high"), height);
    q.setParam(QStringLiteral("ls_ycq"), Value::fromDate(r.dueDate));
    if (pregnant) {
        q.setParam(QStringLiteral("L1"), QString::number(r.weekCount));
        q.setParam(QStringLiteral("L2"), r.stage);
    }
    q.setParam(QStringLiteral("csjd"), in.category);
    q.setParam(QStringLiteral("yl"), weight1);
    q.setParam(QStringLiteral("yf"), pregnant ? Value(number(in.weight2)) : Value(0));
    q.setParam(QStringLiteral("rm"), in.category == kCategoryNursing ? Value(number(in.weight2)) : Value(0));
    q.setParam(QStringLiteral("mcyjrq"), Value::fromDate(in.lmp));
    q.setParam(QStringLiteral("hdsp"), in.activity);
    q.execute();

    transaction.commit();
    return r;
}

void clearRecord() {
    Query q;
    q.setSql(
        QStringLiteral("update personinf set "
                       "name=null,age=null,high=null,csjd=null,hdsp=null,yltz=null,yftz=null,rmtz=null"));
    q.execute();
}

Evaluation evaluateRecord(const QString& category) {
    Query q;
    q.setSql(QStringLiteral("select y from lstzpj;"));
    q.open();
    Evaluation e;
    const double bmi = q.field(QStringLiteral("y")).toReal();
    e.bmiClass = bmiClass(bmi);
    e.standard = chosenStandard();
    e.standardClass = standardBmiClass(e.standard, bmi);

    if (category == kCategoryChildbearing) {
        e.layout = QStringLiteral("tzbg.rav");
        return e; // no gain grade: the earlier one stays
    }
    const bool pregnant = category == kCategoryPregnant;
    e.layout = pregnant ? QStringLiteral("yftzbg.rav") : QStringLiteral("rmtzbg.rav");

    q.setSql(QStringLiteral("select * from personinf;"));
    q.open();
    // A nursing mother's weeks are the count stored by the last save as a pregnant woman.
    const int weeks = int(q.field(QStringLiteral("yq_week")).toInteger());
    e.weeks = weeks;
    const double before = q.field(QStringLiteral("yltz")).toReal();
    const double now = q.field(pregnant ? QStringLiteral("yftz") : QStringLiteral("rmtz")).toReal();
    if (before > 0)
        e.weightBefore = before;
    if (now > 0)
        e.weightNow = now;
    e.weeklyGain = weeklyGain(before, now, weeks, pregnant ? kSmallWeeksPregnant : kSmallWeeksNursing);
    e.grade = gainGrade(*e.weeklyGain, e.bmiClass);

    q.setSql(QStringLiteral("update lstzpj set week_add=:a,week_dj=:b;"));
    q.setParam(QStringLiteral("a"), *e.weeklyGain);
    q.setParam(QStringLiteral("b"), e.grade);
    q.execute();
    return e;
}

} // namespace nc::person
