#pragma once
// The two number rules every stored result follows: two-decimal truncation of computed values, and
// four-decimal fixed point with halves going to the even neighbour for the personal record's sums.

#include <QString>
#include <cstdint>

namespace nc::data {

// Keeps two decimals of v by cutting, not rounding: the integer part (toward zero) plus the fractional
// part, first rounded to 15 significant digits and only then cut after its second decimal digit.
// 0.129999999999999 -> 0.12, 0.1299999999999999 -> 0.13, -1.256 -> -1.25, 7.004 -> 7.
double trunc2(double v);

// Rounds v to the given number of decimals; an exact half (in decimal) goes to the even neighbour.
double roundHalfEven(double v, int decimals);

// A fixed-point decimal with four decimal places. Conversions from double and the results of
// multiplication and division are rounded to four decimals, halves to the even neighbour.
class Decimal4 {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Decimal4() = default;
    Decimal4(double v); // NOLINT: implicit on purpose, like a currency variable taking a real
    static constexpr Decimal4 fromScaled(std::int64_t units) {
        Decimal4 d;
        d.units_ = units;
        return d;
    }

    double toDouble() const { return double(units_) / double(kScale); }
    QString toString() const; // "21.4844", trailing zeros dropped: "55", "1.3"

    friend Decimal4 operator+(Decimal4 a, Decimal4 b) { return fromScaled(a.units_ + b.units_); }
    friend Decimal4 operator-(Decimal4 a, Decimal4 b) { return fromScaled(a.units_ - b.units_); }
    friend Decimal4 operator*(Decimal4 a, Decimal4 b);
    // Division by zero throws nc::data::Error.
    friend Decimal4 operator/(Decimal4 a, Decimal4 b);
    friend auto operator<=>(const Decimal4&, const Decimal4&) = default;

private:
    std::int64_t units_ = 0;
};

} // namespace nc::data
