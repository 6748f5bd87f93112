#include "complete_report.h"

#include "data/errors.h"
#include "data/query.h"
#include "data/values.h"
#include "person/physique_report.h"
#include "report/chart_pictures.h"

namespace nc::analysis {

using data::Query;

QString completeLayoutFor(const data::Value& category) {
    const QString text = category.isNull() ? QString() : category.toText();
    if (text == data::kCategoryChildbearing)
        return kLayoutCompleteChildbearing;
    if (text == data::kCategoryPregnant)
        return kLayoutCompletePregnant;
    if (text == data::kCategoryNursing)
        return kLayoutCompleteNursing;
    return {};
}

void printCompleteReport(AnalysisReport& analysis) {
    Query person;
    person.setSql(QStringLiteral("select * from personinf;"));
    person.open();
    const data::Value category = person.eof() ? data::Value() : person.field(QStringLiteral("csjd"));
    const QString cover = completeLayoutFor(category);
    if (cover.isEmpty())
        throw data::Error(QStringLiteral("个人档案中没有选择人群类别（育龄、孕妇或乳母），无法做体格评价，"
                                         "完整报告没有生成。请在个人档案中选择类别并保存。"));
    Query bmi;
    bmi.setSql(QStringLiteral("select y from lstzpj;"));
    bmi.open();
    if (bmi.eof() || !(bmi.field(QStringLiteral("y")).toReal() > 0))
        throw data::Error(QStringLiteral("个人档案还没有保存过身高和体重，无法做体格评价，完整报告没有生成。"
                                         "请在个人档案中填写并保存。"));

    report::RvSystem engine;
    engine.setTitle(kTitleComplete);
    report::RvProject front(&engine);
    front.setProjectFile(cover);
    front.addConnection({QStringLiteral("RvDataSetConnection1"), person});
    front.setParam(QStringLiteral("date"), reportDate());

    Query physiquePerson;
    Query evaluation;
    report::RvProject physique(&engine);
    const person::Evaluation e =
        person::preparePhysiqueReport(category.toText(), physiquePerson, evaluation, physique);
    report::saveBmiChart(evaluation, e.standardClass, person::kPhysiqueChart);

    report::RvCombinedProject complete(&engine);
    complete.addPart(front);
    complete.addPart(physique);
    complete.addPart(analysis.RvProject1);
    complete.execute();
}

void offerCompleteReport(AnalysisReport& analysis) {
    analysis.RvProject1.addAction(
        {kCompleteReportAction, kCompleteReportLabel, [&analysis] { printCompleteReport(analysis); }});
}

} // namespace nc::analysis
