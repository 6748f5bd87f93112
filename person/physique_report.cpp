#include "physique_report.h"

#include "physique.h"
#include "postpartum.h"
#include "standards.h"

#include "data/numeric.h"
#include "data/query.h"
#include "data/value.h"

namespace nc::person {

namespace {

const QString kOne = QStringLiteral("1");

QString kg(double v) {
    return QString::number(v, 'f', 2);
}

QString signedNumber(double v, int decimals) {
    const QString text = QString::number(v, 'f', decimals);
    return v > 0 ? QLatin1Char('+') + text : text;
}

void insertGradeFlag(QMap<QString, QString>& p, int grade /* -1 light, 0 normal, 1 heavy */) {
    p.insert(grade < 0   ? QStringLiteral("grade_light")
             : grade > 0 ? QStringLiteral("grade_heavy")
                         : QStringLiteral("grade_normal"),
             kOne);
}

// The program's own weekly gain against her class's range.
void originalGain(QMap<QString, QString>& p, const Evaluation& e) {
    const GainRange range = normalGain(e.bmiClass);
    p.insert(QStringLiteral("gain"), formatGain(*e.weeklyGain, e.bmiClass));
    p.insert(QStringLiteral("gain_low"), kg(range.lowest));
    p.insert(QStringLiteral("gain_high"), kg(range.highest));
    p.insert(QStringLiteral("weeks"), QString::number(e.weeks));
    insertGradeFlag(p, e.grade == QStringLiteral("过轻") ? -1 : e.grade == QStringLiteral("过重") ? 1 : 0);
}

// The gain so far against WS/T 801-2022 for her trimester.
void nationalGain(QMap<QString, QString>& p, const Evaluation& e, const QString& cls) {
    if (!e.weightBefore || !e.weightNow) {
        p.insert(QStringLiteral("no_weights"), kOne);
        return;
    }
    const GainJudgement j = judgeNationalGain(cls, *e.weightBefore, *e.weightNow, e.weeks);
    const NationalGainBand band = nationalGainBand(cls);
    p.insert(QStringLiteral("nat_gain"), kg(j.gain));
    p.insert(QStringLiteral("nat_low"), kg(j.lowest));
    p.insert(QStringLiteral("nat_high"), kg(j.highest));
    p.insert(QStringLiteral("weeks"), QString::number(e.weeks));
    p.insert(j.firstTrimester ? QStringLiteral("nat_first") : QStringLiteral("nat_later"), kOne);
    p.insert(QStringLiteral("gain_grade"), gradeWord(j.grade));
    insertGradeFlag(p, j.grade == GainJudgement::Grade::Low    ? -1
                       : j.grade == GainJudgement::Grade::High ? 1
                                                               : 0);
    p.insert(QStringLiteral("nat_total_low"), QString::number(band.totalLowest, 'f', 1));
    p.insert(QStringLiteral("nat_total_high"), QString::number(band.totalHighest, 'f', 1));
    p.insert(QStringLiteral("nat_first_high"), QString::number(band.firstHighest, 'f', 1));
    p.insert(QStringLiteral("nat_weekly"), kg(band.weekly));
    p.insert(QStringLiteral("nat_weekly_low"), kg(band.weeklyLowest));
    p.insert(QStringLiteral("nat_weekly_high"), kg(band.weeklyHighest));
}

void retention(QMap<QString, QString>& p, const Evaluation& e) {
    const RetentionJudgement j = judgeRetention(e.weightBefore, e.weightNow);
    using Level = RetentionJudgement::Level;
    p.insert(QStringLiteral("retention_word"), retentionWord(j.level));
    const char* flag = j.level == Level::Recovered  ? "retention_recovered"
                       : j.level == Level::Slight   ? "retention_slight"
                       : j.level == Level::Moderate ? "retention_moderate"
                       : j.level == Level::Marked   ? "retention_marked"
                                                    : "retention_missing";
    p.insert(QString::fromLatin1(flag), kOne);
    if (j.level == Level::Missing)
        return;
    p.insert(QStringLiteral("retention_kg"), signedNumber(j.change, 2));
    p.insert(QStringLiteral("retention_share"), signedNumber(j.sharePercent, 1));
    p.insert(QStringLiteral("retention_slight_limit"), kg(j.slightLimit));
    p.insert(QStringLiteral("retention_moderate_limit"), kg(j.moderateLimit));
    if (j.change < 0)
        p.insert(QStringLiteral("retention_below"), kOne);
}

} // namespace

QString formatGain(double gain, const QString& cls) {
    const QString grade = gainGrade(gain, cls);
    for (int decimals = 2; decimals <= 4; ++decimals) {
        const double shown = data::roundHalfEven(gain, decimals);
        if (gainGrade(shown, cls) == grade)
            return QString::number(shown, 'f', decimals);
    }
    return data::formatReal(gain);
}

QMap<QString, QString> physiqueReportParams(const Evaluation& e) {
    QMap<QString, QString> p;
    const bool national = e.standard == Standard::National;
    p.insert(national ? QStringLiteral("standard_national") : QStringLiteral("standard_original"), kOne);
    p.insert(QStringLiteral("standard_line"), standardCitation(e.standard));
    const QString cls = e.standardClass.isEmpty() ? e.bmiClass : e.standardClass;
    p.insert(QStringLiteral("bmi_class"), cls);
    switch (classRow(cls)) {
    case ClassRow::Low:
        p.insert(QStringLiteral("class_low"), kOne);
        break;
    case ClassRow::High:
        p.insert(QStringLiteral("class_high"), kOne);
        break;
    case ClassRow::Obese:
        p.insert(QStringLiteral("class_obese"), kOne);
        break;
    case ClassRow::Normal:
        p.insert(QStringLiteral("class_normal"), kOne);
        break;
    }

    if (e.layout == QStringLiteral("rmtzbg.rav")) {
        retention(p, e);
        return p;
    }
    if (!e.weeklyGain)
        return p;
    if (e.weeks <= 0) {
        p.insert(QStringLiteral("no_weeks"), kOne);
        return p;
    }
    if (national)
        nationalGain(p, e, cls);
    else
        originalGain(p, e);
    return p;
}

Evaluation preparePhysiqueReport(const QString& category, data::Query& person, data::Query& evaluation,
                                 report::RvProject& project) {
    const Evaluation e = evaluateRecord(category);
    person.close();
    person.setSql(QStringLiteral("select * from personinf;"));
    person.open();
    evaluation.close();
    evaluation.setSql(QStringLiteral("select * from lstzpj;"));
    evaluation.open();

    project.setProjectFile(e.layout);
    project.addConnection({QStringLiteral("RvDataSetConnection1"), evaluation});
    project.addConnection({QStringLiteral("RvDataSetConnection2"), person});
    project.clearParams();
    const QMap<QString, QString> params = physiqueReportParams(e);
    for (auto it = params.begin(); it != params.end(); ++it)
        project.setParam(it.key(), it.value());
    return e;
}

} // namespace nc::person
