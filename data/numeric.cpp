#include "numeric.h"

#include "errors.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace nc::data {

namespace {

// The shortest decimal that reads back as v: its significant digits and the position of the decimal
// point, so that |v| = 0.d1d2d3… × 10^pointPos. Values the user typed or the program rounded come
// back as the decimal they stand for (78.8, not 78.7999999999999971…).
void shortestDecimal(double v, std::string& digits, int& pointPos) {
    char buf[64];
    for (int p = 0; p <= 16; ++p) {
        std::snprintf(buf, sizeof buf, "%.*e", p, std::fabs(v));
        if (std::strtod(buf, nullptr) == std::fabs(v))
            break;
    }
    digits.clear();
    const char* c = buf;
    for (; *c && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            digits.push_back(*c);
    pointPos = std::atoi(c + 1) + 1;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

} // namespace

double trunc2(double v) {
    if (!std::isfinite(v) || v == 0.0)
        return v;
    std::string digits;
    int pointPos = 0;
    shortestDecimal(v, digits, pointPos);

    // Split into the integer digits and the fraction digits.
    std::string whole = pointPos > 0
                            ? digits.substr(0, std::min<std::size_t>(digits.size(), std::size_t(pointPos)))
                            : std::string("0");
    while (pointPos > 0 && int(whole.size()) < pointPos)
        whole.push_back('0');
    std::string frac =
        pointPos >= 0 ? (std::size_t(pointPos) < digits.size() ? digits.substr(std::size_t(pointPos)) : "")
                      : std::string(std::size_t(-pointPos), '0') + digits;

    // Round the fraction to 15 significant digits (halves away from zero), then cut after two decimals.
    const std::size_t firstNonZero = frac.find_first_not_of('0');
    if (firstNonZero != std::string::npos && frac.size() > firstNonZero + 15) {
        const std::size_t cut = firstNonZero + 15;
        const bool up = frac[cut] >= '5';
        frac.resize(cut);
        if (up) {
            int i = int(frac.size()) - 1;
            while (i >= 0 && frac[std::size_t(i)] == '9')
                frac[std::size_t(i--)] = '0';
            if (i >= 0) {
                ++frac[std::size_t(i)];
            } else { // the fraction became a whole 1: carry into the integer part
                int j = int(whole.size()) - 1;
                while (j >= 0 && whole[std::size_t(j)] == '9')
                    whole[std::size_t(j--)] = '0';
                if (j >= 0)
                    ++whole[std::size_t(j)];
                else
                    whole.insert(whole.begin(), '1');
            }
        }
    }
    frac.resize(2, '0');
    const std::string text = (v < 0 ? "-" : "") + whole + "." + frac;
    return std::strtod(text.c_str(), nullptr);
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
    if (!std::isfinite(v) || v == 0.0)
        return v;
    // Work on the shortest decimal that reads back as v, so that 2.675 is treated as the decimal the
    // user typed and not as its binary neighbour 2.67499999…
    std::string digits;
    int pointPos = 0;
    shortestDecimal(v, digits, pointPos);
    const bool negative = v < 0;
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
