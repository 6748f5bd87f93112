#pragma once
// One field value as read from or written to the database: null, integer, real or text.
// SQL NULL stays distinct from 0 and from the empty text.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <variant>

namespace nc::data {

class Value {
public:
    enum class Type { Null, Integer, Real, Text };

    Value() = default;
    Value(int v) : v_(qint64(v)) {}
    Value(qint64 v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(const QString& v) : v_(v) {}
    Value(const char* v) : v_(QString::fromUtf8(v)) {}
    // Dates are stored as "yyyy-MM-dd", moments as "yyyy-MM-dd HH:mm:ss.zzz": ISO text sorts correctly.
    static Value fromDate(const QDate& d);
    static Value fromDateTime(const QDateTime& t);
    static Value null() { return {}; }

    Type type() const { return Type(v_.index()); }
    bool isNull() const { return type() == Type::Null; }

    // Display text: "" for null, integers in decimal, reals with up to 15 significant digits
    // (55 -> "55", 21.48 -> "21.48"), text as stored.
    QString toText() const;
    // Null reads as 0. A real reads as its nearest whole number (halves to even); a text must hold a
    // whole number, else ConversionError.
    qint64 toInteger() const;
    // Null reads as 0. A text must hold a decimal number with "." as separator, else ConversionError.
    double toReal() const;
    // Null or empty reads as the zero date 1899-12-30 (midnight). Text in ISO form; else ConversionError.
    QDateTime toDateTime() const;
    QDate toDate() const { return toDateTime().date(); }

    bool operator==(const Value& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, qint64, double, QString> v_;
};

// The zero of the date numbering that the record's empty dates read as.
QDate zeroDate();

// Text form of a real with up to 15 significant digits and "." as separator.
QString formatReal(double v);

// Strict decimal reading with "." as separator: optional blanks around, optional sign, digits with at
// most one point. Returns false for "", ".", "1.2.3", "1,5", "abc".
bool parseReal(const QString& text, double* out);

} // namespace nc::data
