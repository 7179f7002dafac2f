#include "common/decimal.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
// 2^63, the magnitude of kMin, which kMax cannot hold.
constexpr std::uint64_t kMinMagnitude = std::uint64_t{1} << 63;
// Exponents are clamped here while read: far beyond any digit count a text can have, so
// the clamp never changes the result, and no arithmetic on it can overflow.
constexpr std::int64_t kExponentClamp = 1'000'000'000;
constexpr int kFractionDigits = 4;

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// `magnitude` * 10 + digit, false on overflow of 64 unsigned bits.
bool appendDigit(std::uint64_t& magnitude, int digit) {
    constexpr std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / 10) return false;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(digit);
    return true;
}

std::optional<std::int64_t> signedUnits(std::uint64_t magnitude, bool negative) {
    if (negative) {
        if (magnitude > kMinMagnitude) return std::nullopt;
        return magnitude == kMinMagnitude ? kMin : -static_cast<std::int64_t>(magnitude);
    }
    if (magnitude > static_cast<std::uint64_t>(kMax)) return std::nullopt;
    return static_cast<std::int64_t>(magnitude);
}

// Rounds to a whole number, halves to even. The fraction x - floor(x) of a double is
// exact, so the comparison with one half is too, whatever the rounding mode in force.
double roundHalfEven(double x) {
    const double down = std::floor(x);
    const double rest = x - down;
    if (rest > 0.5) return down + 1;
    if (rest < 0.5) return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

// The decimal digits (no leading zeros) times 10^shift, rounded half to even where the
// shift drops digits; empty when it does not fit 64 bits.
std::optional<std::uint64_t> scaledMagnitude(const QString& digits, std::int64_t shift) {
    const auto length = static_cast<std::int64_t>(digits.size());
    std::uint64_t magnitude = 0;
    if (shift >= 0) {
        // The smallest number of that many digits already exceeds 64 bits.
        if (length + shift > 20) return std::nullopt;
        for (const QChar c : digits) {
            if (!appendDigit(magnitude, c.unicode() - '0')) return std::nullopt;
        }
        for (std::int64_t k = 0; k < shift; ++k) {
            if (!appendDigit(magnitude, 0)) return std::nullopt;
        }
    } else {
        const std::int64_t dropped = -shift;
        const std::int64_t kept = length > dropped ? length - dropped : 0;
        if (kept > 20) return std::nullopt;
        for (std::int64_t k = 0; k < kept; ++k) {
            if (!appendDigit(magnitude, digits[k].unicode() - '0')) return std::nullopt;
        }
        // Dropped digits starting below the first digit of the text are less than a half.
        if (dropped <= length) {
            const QChar first = digits[kept];
            bool up = first > QLatin1Char('5');
            if (first == QLatin1Char('5')) {
                bool restNonZero = false;
                for (std::int64_t k = kept + 1; k < length && !restNonZero; ++k)
                    restNonZero = digits[k] != QLatin1Char('0');
                up = restNonZero || (magnitude % 2 == 1);
            }
            if (up) {
                if (magnitude == std::numeric_limits<std::uint64_t>::max()) return std::nullopt;
                ++magnitude;
            }
        }
    }
    return magnitude;
}

} // namespace

std::optional<Decimal> Decimal::parse(const QString& text) {
    const QString s = text.trimmed();
    const qsizetype size = s.size();
    qsizetype i = 0;

    bool negative = false;
    if (i < size && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }

    // The digits of the mantissa without separator and leading zeros; kept as text so
    // that a long run of digits is still rounded exactly.
    QString digits;
    std::int64_t fractionDigits = 0;
    bool anyDigit = false;
    bool separatorSeen = false;
    for (; i < size; ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (separatorSeen) ++fractionDigits;
            if (!digits.isEmpty() || c != QLatin1Char('0')) digits.append(c);
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !separatorSeen) {
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < size && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        bool exponentNegative = false;
        if (i < size && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
            exponentNegative = s[i] == QLatin1Char('-');
            ++i;
        }
        bool exponentDigit = false;
        for (; i < size && isDigit(s[i]); ++i) {
            exponentDigit = true;
            if (exponent < kExponentClamp) exponent = exponent * 10 + (s[i].unicode() - '0');
        }
        if (!exponentDigit) return std::nullopt;
        if (exponentNegative) exponent = -exponent;
    }
    if (i != size) return std::nullopt;

    // The value in units is digits * 10^shift.
    const std::int64_t shift = exponent - fractionDigits + kFractionDigits;
    if (digits.isEmpty()) return Decimal(0);

    const std::optional<std::uint64_t> magnitude = scaledMagnitude(digits, shift);
    if (!magnitude) return std::nullopt;
    const std::optional<std::int64_t> units = signedUnits(*magnitude, negative);
    if (!units) return std::nullopt;
    return Decimal(*units);
}

std::optional<Decimal> Decimal::add(Decimal a, Decimal b) {
    if ((b.units_ > 0 && a.units_ > kMax - b.units_) ||
        (b.units_ < 0 && a.units_ < kMin - b.units_))
        return std::nullopt;
    return Decimal(a.units_ + b.units_);
}

namespace {

// An unsigned 128-bit number as two halves: just enough to divide a scaled 64-bit count
// exactly without leaving standard C++.
struct Wide {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

std::uint64_t magnitude(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

Wide multiply(std::uint64_t a, std::uint32_t b) {
    const std::uint64_t lowPart = (a & 0xFFFFFFFFu) * b;
    const std::uint64_t highPart = (a >> 32) * b;
    Wide result;
    result.low = lowPart + (highPart << 32);
    result.high = (highPart >> 32) + (result.low < lowPart ? 1 : 0);
    return result;
}

// Quotient and remainder of n / d, bit by bit.
std::pair<Wide, std::uint64_t> divideWide(Wide n, std::uint64_t d) {
    Wide quotient;
    std::uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const std::uint64_t next = bit >= 64 ? (n.high >> (bit - 64)) & 1u : (n.low >> bit) & 1u;
        const bool carry = (remainder >> 63) != 0;
        remainder = (remainder << 1) | next;
        if (carry || remainder >= d) {
            remainder -= d;
            if (bit >= 64)
                quotient.high |= std::uint64_t(1) << (bit - 64);
            else
                quotient.low |= std::uint64_t(1) << bit;
        }
    }
    return {quotient, remainder};
}

} // namespace

std::optional<Decimal> Decimal::divide(Decimal a, Decimal b) {
    if (b.units_ == 0) return std::nullopt;
    // The scales cancel, so the quotient of the unit counts is the quotient of the values.
    // Worked exactly on magnitudes, a half is a half and rounds to even.
    const std::uint64_t divisor = magnitude(b.units_);
    auto [quotient, remainder] = divideWide(multiply(magnitude(a.units_), kScale), divisor);
    const bool negative = (a.units_ < 0) != (b.units_ < 0);
    if (quotient.high != 0 || quotient.low == std::numeric_limits<std::uint64_t>::max())
        return std::nullopt;
    std::uint64_t result = quotient.low;
    // remainder < divisor, so twice the remainder compares without overflow this way.
    if (remainder > divisor - remainder || (remainder == divisor - remainder && result % 2 != 0))
        ++result;
    const std::uint64_t limit = negative
                                    ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                    : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (result > limit) return std::nullopt;
    if (!negative) return Decimal(static_cast<std::int64_t>(result));
    return Decimal(result == limit ? std::numeric_limits<std::int64_t>::min()
                                   : -static_cast<std::int64_t>(result));
}

std::optional<Decimal> Decimal::fromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double units = roundHalfEven(value * static_cast<double>(kScale));
    // 2^63 is exact in double; anything at or beyond it (or below -2^63) does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (!(units < limit && units >= -limit)) return std::nullopt;
    return Decimal(static_cast<std::int64_t>(units));
}

QString Decimal::toText(QChar decimalSeparator) const {
    const bool negative = units_ < 0;
    // Unsigned, so that the magnitude of the smallest value is representable.
    const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(units_)
                                             : static_cast<std::uint64_t>(units_);
    const std::uint64_t whole = magnitude / kScale;
    std::uint64_t fraction = magnitude % kScale;

    QString text;
    if (negative) text += QLatin1Char('-');
    text += QString::number(whole);
    if (fraction != 0) {
        int width = kFractionDigits;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --width;
        }
        text += decimalSeparator;
        text += QStringLiteral("%1").arg(fraction, width, 10, QLatin1Char('0'));
    }
    return text;
}

std::optional<std::int16_t> toInt16(Decimal value) {
    const std::int64_t units = value.units();
    std::int64_t whole = units / Decimal::kScale;
    std::int64_t rest = units % Decimal::kScale;
    if (rest < 0) { // floor, so that `rest` counts up from `whole`
        --whole;
        rest += Decimal::kScale;
    }
    const std::int64_t half = Decimal::kScale / 2;
    if (rest > half || (rest == half && whole % 2 != 0)) ++whole;
    if (whole < std::numeric_limits<std::int16_t>::min() ||
        whole > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}
