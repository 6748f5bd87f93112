#include "diet_record.h"

#include "data/connection.h"
#include "data/errors.h"
#include "data/query.h"
#include "data/value.h"

namespace nc::diet {

using namespace nc::data;

DietRecord::DietRecord(QObject* parent) : QObject(parent) {
    days_.setObjectName(QStringLiteral("ADOTable_t"));
    foods_.setObjectName(QStringLiteral("ADOTable_ts"));
    days_.setSql(QStringLiteral("select * from ts"));
    foods_.setSql(QStringLiteral("select * from foodcheck"));
    foods_.setMaster(&days_, QStringLiteral("tsid"), QStringLiteral("tc"));
    foods_.setDetailOrder(mealOrderSql()); // a day's foods grouped by meal, in the order entered
}

void DietRecord::open() {
    days_.open();
    days_.last();
    foods_.open();
    foods_.last();
}

namespace {

qint64 countOf(const QString& sql) {
    Query q;
    q.setSql(sql);
    q.open();
    return q.field(QStringLiteral("lscount")).toInteger();
}

} // namespace

bool DietRecord::hasDays() const {
    return countOf(QStringLiteral("select count(*) as lscount from ts ;")) > 0;
}

bool DietRecord::hasFoodEntries() const {
    return countOf(QStringLiteral("select count(*) as lscount from foodcheck ;")) > 0;
}

int DietRecord::currentDay() const {
    return days_.isOpen() && !days_.isEmpty() ? int(days_.field(QStringLiteral("tsid")).toInteger()) : 0;
}

void DietRecord::addDay() {
    int next = 1;
    if (days_.recordCount() > 0) {
        Query q;
        q.setSql(QStringLiteral("select max(tsid) as a from ts ;"));
        q.open();
        next = int(q.field(QStringLiteral("a")).toInteger()) + 1;
    }
    days_.append();
    days_.setField(QStringLiteral("tsid"), next);
    try {
        days_.post();
    } catch (...) {
        days_.cancel();
        throw;
    }
}

void DietRecord::deleteCurrentDay() {
    if (days_.isEmpty())
        return;
    days_.checkBrowseMode();
    foods_.checkBrowseMode();
    const int day = currentDay();
    try {
        Transaction t(Connection::required());
        days_.remove();
        Query q;
        q.setSql(QStringLiteral("delete from foodcheck where tc=:n"));
        q.setParam(QStringLiteral("n"), day);
        q.execute();
        days_.next();
        foods_.close();
        foods_.open();
        // Committed only once the foods are read again: a failed read must not report a deletion
        // that was made all the same.
        t.commit();
    } catch (...) {
        // The day is back in the database: show the stored record again.
        days_.open();
        for (int r = 0; r < days_.rowCount(); ++r) {
            days_.moveTo(r);
            if (currentDay() == day)
                break;
        }
        foods_.open();
        throw;
    }
}

DietRecord::AddFood DietRecord::addFood(const QString& name, const QString& weightText, const QString& meal,
                                        const std::optional<Portion>& portion) {
    if (!hasDays())
        return AddFood::NoDays;
    const int day = currentDay();
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return AddFood::EmptyName;
    Query q;
    q.setSql(QStringLiteral("select count(*) as abc from foodnurti where  foodname=:name"));
    q.setParam(QStringLiteral("name"), trimmed);
    q.open();
    if (q.field(QStringLiteral("abc")).toInteger() == 0)
        return AddFood::UnknownFood;
    double weight = 0;
    if (!readAmount(weightText, &weight))
        return AddFood::BadWeight;
    Value portionText;
    if (portion) {
        double share = 100;
        if (!portion->edible) {
            Query f;
            f.setSql(QStringLiteral("select foodish from foodnurti where foodname=:name"));
            f.setParam(QStringLiteral("name"), trimmed);
            f.open();
            const Value v = f.field(QStringLiteral("foodish"));
            if (!v.isNull() && v.toReal() > 0)
                share = v.toReal();
        }
        portionText = nc::diet::portionText(weight, portion->unit);
        weight = portionGrams(weight, *portion, share);
    }
    if (weight > kMostGrams)
        return AddFood::WeightOutOfRange;
    const QString mealText = meal.trimmed();

    foods_.append();
    qint64 added = 0;
    try {
        foods_.setField(QStringLiteral("tc"), day);
        foods_.setField(QStringLiteral("swname"), trimmed);
        foods_.setField(QStringLiteral("zl"), weight);
        foods_.setField(QStringLiteral("meal"), mealText.isEmpty() ? Value() : Value(mealText));
        foods_.setField(QStringLiteral("portion"), portionText);
        foods_.post();
        added = foods_.rowId();
    } catch (...) {
        foods_.cancel(); // no half-entered row stays behind
        throw;
    }
    // Read the day again so the entry stands among its meal, and make it current.
    foods_.close();
    foods_.open();
    for (int r = foods_.rowCount() - 1; r >= 0; --r) {
        foods_.moveTo(r);
        if (foods_.rowId() == added)
            break;
    }
    return AddFood::Added;
}

bool DietRecord::deleteCurrentFood() {
    if (foods_.recordCount() == 0) {
        foods_.cancel();
        return false;
    }
    foods_.remove();
    return true;
}

bool DietRecord::readAmount(const QString& text, double* amount) {
    double w = 0;
    if (!parseReal(text, &w) || w < 0)
        return false;
    *amount = w == 0 ? 0.0 : w; // "-0" is stored as 0
    return true;
}

DietRecord::Weight DietRecord::checkWeight(const QString& text, double* grams) {
    double w = 0;
    if (!readAmount(text, &w))
        return Weight::Malformed;
    if (w > kMostGrams)
        return Weight::OutOfRange;
    *grams = w;
    return Weight::Read;
}

QString DietRecord::weightMessage(Weight why) {
    if (why == Weight::OutOfRange)
        return QStringLiteral("重量超出范围，每种食物应在 0～%1 克之间（可食部），请重新输入。")
            .arg(QString::number(kMostGrams, 'g', 15));
    return QStringLiteral("请输入正确的重量！");
}

QStringList DietRecord::categoryItems() {
    QStringList items;
    Query q;
    q.setSql(QStringLiteral("select * from foodkind order by foodkindid;"));
    q.open();
    for (q.first(); !q.eof(); q.next())
        items << q.field(QStringLiteral("foodkindid")).toText() + QLatin1Char(' ') +
                     q.field(QStringLiteral("foodkindname")).toText();
    return items;
}

QStringList DietRecord::foodNamesOfCategory(const QString& item) {
    QStringList names;
    Query q;
    q.setSql(QStringLiteral("select * from foodnurti where  foodkind=:code"));
    q.setParam(QStringLiteral("code"), item.trimmed().left(2));
    q.open();
    for (q.first(); !q.eof(); q.next())
        names << q.field(QStringLiteral("foodname")).toText();
    return names;
}

QString DietRecord::deleteDayQuestion(int day) {
    return QStringLiteral("确定要删除 第%1天 食谱吗?").arg(day);
}

} // namespace nc::diet
