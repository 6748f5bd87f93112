#include "physique_report.h"

#include "physique.h"

#include "data/numeric.h"
#include "data/query.h"
#include "data/value.h"

namespace nc::person {

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
    const QString one = QStringLiteral("1");
    QMap<QString, QString> p;
    p.insert(QStringLiteral("bmi_class"), e.bmiClass);
    if (e.bmiClass == QStringLiteral("低"))
        p.insert(QStringLiteral("class_low"), one);
    else if (e.bmiClass == QStringLiteral("高"))
        p.insert(QStringLiteral("class_high"), one);
    else if (e.bmiClass == QStringLiteral("肥胖"))
        p.insert(QStringLiteral("class_obese"), one);
    else
        p.insert(QStringLiteral("class_normal"), one);

    if (!e.weeklyGain)
        return p;
    if (e.weeks <= 0) {
        p.insert(QStringLiteral("no_weeks"), one);
        return p;
    }
    const GainRange range = normalGain(e.bmiClass);
    p.insert(QStringLiteral("gain"), formatGain(*e.weeklyGain, e.bmiClass));
    p.insert(QStringLiteral("gain_low"), QString::number(range.lowest, 'f', 2));
    p.insert(QStringLiteral("gain_high"), QString::number(range.highest, 'f', 2));
    p.insert(QStringLiteral("weeks"), QString::number(e.weeks));
    if (e.grade == QStringLiteral("过轻"))
        p.insert(QStringLiteral("grade_light"), one);
    else if (e.grade == QStringLiteral("过重"))
        p.insert(QStringLiteral("grade_heavy"), one);
    else
        p.insert(QStringLiteral("grade_normal"), one);
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
