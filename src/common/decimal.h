#pragma once
// Fixed-point decimal with four fraction digits, held as a 64-bit count of
// ten-thousandths. Every number the program computes with (grades, passing scores,
// minutes, counts typed as text) goes through this type, so parsing, the "is it a
// number" test, rounding and formatting live in one place.

#include <QChar>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

class Decimal {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Decimal() = default;
    static constexpr Decimal fromUnits(std::int64_t units) { return Decimal(units); }
    // Whole numbers beyond the range are not representable: callers pass small counts.
    static constexpr Decimal fromInt(std::int64_t value) { return Decimal(value * kScale); }

    // Parses a number typed by a user: blanks around it, an optional sign, digits with at
    // most one decimal separator (',' or '.', whatever the locale, so files written under
    // one locale still read under another), an optional exponent ("1e3"). More than four
    // fraction digits round half to even. Empty optional for anything else, and for
    // values outside the range.
    static std::optional<Decimal> parse(const QString& text);
    static bool isNumeric(const QString& text) { return parse(text).has_value(); }

    constexpr std::int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kScale; }
    bool isZero() const { return units_ == 0; }

    // Exact sum; empty optional on overflow.
    static std::optional<Decimal> add(Decimal a, Decimal b);
    // a / b rounded to four places, halves to even (worked exactly, so a half is a half).
    // Empty optional when b is zero or the result is out of range.
    static std::optional<Decimal> divide(Decimal a, Decimal b);
    // A double rounded to four places, halves to even; empty optional when out of range
    // or not finite.
    static std::optional<Decimal> fromDouble(double value);

    // Shortest text of the value: no trailing zeros, no separator for whole numbers,
    // `decimalSeparator` before the fraction ("4,7", "-0,7143", "5").
    QString toText(QChar decimalSeparator) const;

    friend constexpr auto operator<=>(Decimal, Decimal) = default;

private:
    constexpr explicit Decimal(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

// 16-bit conversion: rounded to a whole number, halves to even; empty optional outside
// -32768 .. 32767.
std::optional<std::int16_t> toInt16(Decimal value);
