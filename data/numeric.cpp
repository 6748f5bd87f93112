#include "numeric.h"

#include "errors.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace nc::data {

double trunc2(double v) {
    if (!std::isfinite(v))
        return v;
    const double ip = std::trunc(v);
    const double frac = v - ip; // exact for doubles
    if (frac == 0.0)
        return ip;

    // Round the fraction to 15 significant digits in decimal, then read its first two decimals
    // from the digit string; arithmetic cutting would turn 0.29 into 0.28.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(frac));
    // buf looks like "d.dddddddddddddde-XX"
    const char* e = std::strchr(buf, 'e');
    const int exp10 = std::atoi(e + 1);
    int hundredths = 0;
    if (exp10 >= 0) {
        hundredths = 100; // the fraction rounded up to a whole 1
    } else if (exp10 == -1) {
        hundredths = (buf[0] - '0') * 10 + (buf[2] - '0');
    } else if (exp10 == -2) {
        hundredths = buf[0] - '0';
    }
    const bool negative = v < 0;
    // Build the decimal text and let the parser pick the nearest double, so 2283.94 reads as 2283.94.
    const double whole = std::fabs(ip) + hundredths / 100;
    const int rest = hundredths % 100;
    char out[64];
    std::snprintf(out, sizeof out, "%s%.0f.%02d", negative ? "-" : "", whole, rest);
    return std::strtod(out, nullptr);
}

namespace {

// Divides n by d (d > 0), rounding the quotient to the nearest integer, halves to even.
std::int64_t divRoundHalfEven(__int128 n, __int128 d) {
    __int128 q = n / d;
    __int128 r = n % d;
    if (r < 0) { // make the remainder non-negative: floor division
        r += d;
        q -= 1;
    }
    const __int128 twice = r * 2;
    if (twice > d || (twice == d && (q % 2 != 0)))
        q += 1;
    return std::int64_t(q);
}

} // namespace

double roundHalfEven(double v, int decimals) {
    if (!std::isfinite(v))
        return v;
    // Work on the shortest decimal text that reads back as v, so that 2.675 is treated as the
    // decimal the user typed and not as its binary neighbour 2.67499999...
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    for (int p = 1; p <= 17; ++p) {
        char t[64];
        std::snprintf(t, sizeof t, "%.*g", p, v);
        if (std::strtod(t, nullptr) == v) {
            std::strcpy(buf, t);
            break;
        }
    }
    std::string digits;
    int pointPos = -1;
    bool negative = false;
    int exp10 = 0;
    for (const char* c = buf; *c; ++c) {
        if (*c == '-')
            negative = true;
        else if (*c == '.')
            pointPos = int(digits.size());
        else if (*c == 'e' || *c == 'E') {
            exp10 = std::atoi(c + 1);
            break;
        } else if (*c >= '0' && *c <= '9')
            digits.push_back(*c);
    }
    if (pointPos < 0)
        pointPos = int(digits.size());
    pointPos += exp10;
    // Value = 0.digits * 10^pointPos; keep `decimals` digits after the point.
    const int keep = pointPos + decimals; // number of leading digits kept
    if (keep < 0)
        return negative ? -0.0 : 0.0;
    if (keep >= int(digits.size()))
        return v;
    std::string kept = digits.substr(0, std::size_t(keep));
    const char next = digits[std::size_t(keep)];
    bool restNonZero = false;
    for (std::size_t i = std::size_t(keep) + 1; i < digits.size(); ++i)
        restNonZero = restNonZero || digits[i] != '0';
    const int lastKept = kept.empty() ? 0 : kept.back() - '0';
    bool up = next > '5' || (next == '5' && (restNonZero || lastKept % 2 == 1));
    // kept as integer (may have up to 17 digits)
    long double n = 0;
    for (char c : kept)
        n = n * 10 + (c - '0');
    if (up)
        n += 1;
    char out[80];
    std::snprintf(out, sizeof out, "%s%.0Lfe%d", negative ? "-" : "", n, -decimals);
    return std::strtod(out, nullptr);
}

Decimal4::Decimal4(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 9.2e14)
        throw Error(QStringLiteral("数值 %1 超出了可计算的范围。").arg(v));
    units_ = std::int64_t(std::llround(roundHalfEven(v, 4) * kScale));
}

QString Decimal4::toString() const {
    const bool negative = units_ < 0;
    const std::uint64_t a = negative ? std::uint64_t(-units_) : std::uint64_t(units_);
    QString s = QString::number(a / kScale);
    std::uint64_t frac = a % kScale;
    if (frac != 0) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return negative ? QLatin1Char('-') + s : s;
}

Decimal4 operator*(Decimal4 a, Decimal4 b) {
    const __int128 p = __int128(a.units_) * b.units_;
    return Decimal4::fromScaled(divRoundHalfEven(p, Decimal4::kScale));
}

Decimal4 operator/(Decimal4 a, Decimal4 b) {
    if (b.units_ == 0)
        throw Error(QStringLiteral("除数为零，无法计算。"));
    __int128 n = __int128(a.units_) * Decimal4::kScale;
    __int128 d = b.units_;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return Decimal4::fromScaled(divRoundHalfEven(n, d));
}

} // namespace nc::data
