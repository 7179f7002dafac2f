#include "common/decimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::int64_t kMaxUnits = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinUnits = std::numeric_limits<std::int64_t>::min();

std::int64_t unitsOf(const char* text) {
    const std::optional<Decimal> value = Decimal::parse(QString::fromUtf8(text));
    EXPECT_TRUE(value.has_value()) << text;
    return value ? value->units() : -1;
}

QString quotient(std::int64_t a, std::int64_t b, QChar separator = QLatin1Char(',')) {
    const auto value = Decimal::divide(Decimal::fromInt(a), Decimal::fromInt(b));
    return value ? value->toText(separator) : QStringLiteral("<none>");
}

} // namespace

TEST(Decimal, ParsesWhatUsersType) {
    EXPECT_EQ(unitsOf("3.8"), 38000);
    EXPECT_EQ(unitsOf("3,8"), 38000);
    EXPECT_EQ(unitsOf("  4 "), 40000);
    EXPECT_EQ(unitsOf("+4"), 40000);
    EXPECT_EQ(unitsOf("-0.5"), -5000);
    EXPECT_EQ(unitsOf(".5"), 5000);
    EXPECT_EQ(unitsOf("5."), 50000);
    EXPECT_EQ(unitsOf("-0"), 0);
    EXPECT_EQ(unitsOf("007"), 70000);
    EXPECT_EQ(unitsOf("1e3"), 10000000);
    EXPECT_EQ(unitsOf("1.5E-2"), 150);
    EXPECT_EQ(unitsOf("25e+1"), 2500000);
    EXPECT_EQ(unitsOf("0e999999999999999999999"), 0);
    EXPECT_EQ(unitsOf("1e-999999999999999999999"), 0);
    EXPECT_EQ(unitsOf("0.1000000000000000000000000000001"), 1000);
}

TEST(Decimal, ExtraFractionDigitsRoundHalfToEven) {
    EXPECT_EQ(unitsOf("0.00005"), 0);
    EXPECT_EQ(unitsOf("0.00015"), 2);
    EXPECT_EQ(unitsOf("0.00025"), 2);
    EXPECT_EQ(unitsOf("0.000250000000000000001"), 3);
    EXPECT_EQ(unitsOf("0.00004999999999999999999"), 0);
    EXPECT_EQ(unitsOf("-0.00015"), -2);
    EXPECT_EQ(unitsOf("-2.5e-4"), -2);
    EXPECT_EQ(unitsOf("1.23456"), 12346);
    EXPECT_EQ(unitsOf("0.000000001"), 0);
}

TEST(Decimal, RejectsAnythingElse) {
    for (const char* bad : {"",
                            "   ",
                            "abc",
                            "1,2,3",
                            "1.2.3",
                            "--1",
                            "+-1",
                            "1e",
                            "1e+",
                            "e5",
                            ".",
                            "-",
                            "1 2",
                            "1-",
                            "0x10",
                            "1,5e",
                            "5%",
                            "1e5.5",
                            "922337203685477.5808",
                            "-922337203685477.58086",
                            "1e15",
                            "99999999999999999999999"}) {
        EXPECT_FALSE(Decimal::isNumeric(QString::fromUtf8(bad))) << bad;
    }
    EXPECT_FALSE(Decimal::isNumeric(QStringLiteral("١٢")));          // non-ASCII digits
    EXPECT_FALSE(Decimal::isNumeric(QString::fromUtf16(u"1\0", 2))); // trailing NUL
}

TEST(Decimal, LimitsParseAndPrint) {
    EXPECT_EQ(unitsOf("922337203685477.5807"), kMaxUnits);
    EXPECT_EQ(unitsOf("-922337203685477.5808"), kMinUnits);
    EXPECT_EQ(unitsOf("-922337203685477.58075"), kMinUnits); // tie to the even limit
    EXPECT_EQ(Decimal::fromUnits(kMaxUnits).toText(QLatin1Char(',')),
              QStringLiteral("922337203685477,5807"));
    EXPECT_EQ(Decimal::fromUnits(kMinUnits).toText(QLatin1Char('.')),
              QStringLiteral("-922337203685477.5808"));
    EXPECT_FALSE(Decimal::add(Decimal::fromUnits(kMaxUnits), Decimal::fromUnits(1)));
    EXPECT_FALSE(Decimal::add(Decimal::fromUnits(kMinUnits), Decimal::fromUnits(-1)));
    EXPECT_EQ(Decimal::add(Decimal::fromUnits(kMinUnits), Decimal::fromUnits(kMaxUnits))->units(),
              -1);
}

TEST(Decimal, TextIsShortest) {
    const QChar comma = QLatin1Char(',');
    EXPECT_EQ(Decimal::fromInt(4).toText(comma), "4");
    EXPECT_EQ(Decimal().toText(comma), "0");
    EXPECT_EQ(Decimal::fromUnits(-5000).toText(comma), "-0,5");
    EXPECT_EQ(Decimal::fromUnits(1).toText(comma), "0,0001");
    EXPECT_EQ(Decimal::fromUnits(10200).toText(comma), "1,02");
    EXPECT_EQ(Decimal::fromUnits(-120000).toText(comma), "-12");
}

TEST(Decimal, DivisionRoundsToFourPlaces) {
    EXPECT_EQ(quotient(19, 5), "3,8");
    EXPECT_EQ(quotient(47, 10), "4,7");
    EXPECT_EQ(quotient(47, 10, QLatin1Char('.')), "4.7");
    EXPECT_EQ(quotient(5, 7), "0,7143");
    EXPECT_EQ(quotient(32, 7), "4,5714");
    EXPECT_EQ(quotient(-5, 7), "-0,7143");
    EXPECT_EQ(quotient(20, 5), "4");
    EXPECT_EQ(quotient(1, 32), "0,0312"); // 312.5 units exactly: to even
    EXPECT_EQ(quotient(3, 32), "0,0938"); // 937.5 units exactly: to even
    EXPECT_EQ(quotient(-1, 32), "-0,0312");
    EXPECT_EQ(quotient(1, 0), "<none>");
    EXPECT_FALSE(Decimal::divide(Decimal::fromUnits(kMaxUnits), Decimal::fromUnits(1000)));
    EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Decimal::fromDouble(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Decimal::fromDouble(1e15));
    EXPECT_EQ(Decimal::fromDouble(-0.03125)->units(), -312);
}

TEST(Decimal, Int16RoundsHalfToEvenWithinRange) {
    auto int16 = [](const char* text) { return toInt16(*Decimal::parse(text)); };
    EXPECT_EQ(int16("2.5"), 2);
    EXPECT_EQ(int16("3.5"), 4);
    EXPECT_EQ(int16("-2.5"), -2);
    EXPECT_EQ(int16("-3.5"), -4);
    EXPECT_EQ(int16("2.4999"), 2);
    EXPECT_EQ(int16("2.5001"), 3);
    EXPECT_EQ(int16("-0.4"), 0);
    EXPECT_EQ(int16("32767.4999"), 32767);
    EXPECT_EQ(int16("32767.5"), std::nullopt);
    EXPECT_EQ(int16("-32768.5"), -32768);
    EXPECT_EQ(int16("-32769"), std::nullopt);
    EXPECT_EQ(toInt16(Decimal::fromUnits(kMinUnits)), std::nullopt);
}

TEST(Decimal, DivisionRoundsTrueHalvesToEven) {
    auto divided = [](std::int64_t unitsA, std::int64_t unitsB) {
        return Decimal::divide(Decimal::fromUnits(unitsA), Decimal::fromUnits(unitsB))->units();
    };
    // 0.0003 / 2 = 0.00015: a true half, to the even 0.0002 (a double quotient misses it).
    EXPECT_EQ(divided(3, 20000), 2);
    EXPECT_EQ(divided(1, 20000), 0);
    EXPECT_EQ(divided(5, 20000), 2);
    EXPECT_EQ(divided(-3, 20000), -2);
    EXPECT_EQ(divided(3, -20000), -2);
    EXPECT_EQ(divided(kMaxUnits, 10000), kMaxUnits);
    EXPECT_EQ(divided(kMinUnits, 10000), kMinUnits);
}
