#include "value.h"

#include "errors.h"

#include <QRegularExpression>
#include <cmath>

namespace nc::data {

QDate zeroDate() {
    return QDate(1899, 12, 30);
}

Value Value::fromDate(const QDate& d) {
    if (!d.isValid())
        return {};
    return Value(d.toString(QStringLiteral("yyyy-MM-dd")));
}

Value Value::fromDateTime(const QDateTime& t) {
    if (!t.isValid())
        return {};
    return Value(t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

QString formatReal(double v) {
    if (v == 0.0)
        return QStringLiteral("0"); // also folds -0
    return QString::number(v, 'g', 15);
}

bool parseReal(const QString& text, double* out) {
    static const QRegularExpression re(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!re.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

QString Value::toText() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Integer:
        return QString::number(std::get<qint64>(v_));
    case Type::Real:
        return formatReal(std::get<double>(v_));
    case Type::Text:
        return std::get<QString>(v_);
    }
    return {};
}

qint64 Value::toInteger() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return std::get<qint64>(v_);
    case Type::Real:
        return qint64(std::nearbyint(std::get<double>(v_))); // default rounding: halves to even
    case Type::Text: {
        bool ok = false;
        const qint64 v = std::get<QString>(v_).trimmed().toLongLong(&ok);
        if (!ok)
            throw ConversionError(QStringLiteral("“%1”不是有效的整数。").arg(std::get<QString>(v_)));
        return v;
    }
    }
    return 0;
}

double Value::toReal() const {
    switch (type()) {
    case Type::Null:
        return 0.0;
    case Type::Integer:
        return double(std::get<qint64>(v_));
    case Type::Real:
        return std::get<double>(v_);
    case Type::Text: {
        double v = 0;
        if (!parseReal(std::get<QString>(v_), &v))
            throw ConversionError(QStringLiteral("“%1”不是有效的数值。").arg(std::get<QString>(v_)));
        return v;
    }
    }
    return 0.0;
}

QDateTime Value::toDateTime() const {
    if (type() == Type::Null)
        return QDateTime(zeroDate(), QTime(0, 0));
    if (type() != Type::Text)
        throw ConversionError(QStringLiteral("“%1”不是有效的日期。").arg(toText()));
    const QString s = std::get<QString>(v_).trimmed();
    if (s.isEmpty())
        return QDateTime(zeroDate(), QTime(0, 0));
    for (const auto* fmt : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss.zzz",
                            "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm"}) {
        const QDateTime t = QDateTime::fromString(s, QString::fromLatin1(fmt));
        if (t.isValid())
            return t;
    }
    const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (d.isValid())
        return QDateTime(d, QTime(0, 0));
    throw ConversionError(QStringLiteral("“%1”不是有效的日期。").arg(s));
}

} // namespace nc::data
