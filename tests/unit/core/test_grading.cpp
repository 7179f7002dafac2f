#include "common/grading.h"

#include <gtest/gtest.h>

namespace {

// Twenty evaluation fields: the given ones first, the rest unanswered.
QStringList ticket(std::initializer_list<const char*> given) {
    QStringList fields;
    for (const char* evaluation : given)
        fields << QString::fromLatin1(evaluation);
    while (fields.size() < 20)
        fields << QStringLiteral("0");
    return fields;
}

QString averageText(const QStringList& fields, const char* count, QChar separator = u',') {
    const std::optional<Decimal> sum = grading::sumEvaluations(fields);
    if (!sum) return QStringLiteral("<no sum>");
    const std::optional<Decimal> average = grading::average(*sum, QString::fromLatin1(count));
    return average ? average->toText(separator) : QStringLiteral("<no average>");
}

Decimal number(const char* text) { return *Decimal::parse(QString::fromUtf8(text)); }

} // namespace

TEST(Grading, AverageOverTheQuestionCountCountsUnansweredAsZero) {
    EXPECT_EQ(averageText(ticket({"5", "5", "5", "2", "2"}), "5"), "3,8");
    EXPECT_EQ(averageText(ticket({"5", "5", "2"}), "3"), "4");
    EXPECT_EQ(averageText(ticket({"5"}), "7"), "0,7143");
    // Four answered of ten: the six missing count as 0.
    EXPECT_EQ(averageText(ticket({"5", "5", "5", "5"}), "10"), "2");
    EXPECT_EQ(averageText(ticket({}), "5"), "0");
    EXPECT_EQ(averageText(ticket({"5", "5", "5", "2", "2"}), "5", u'.'), "3.8");
}

TEST(Grading, AverageRoundsHalvesToEven) {
    // 1/32 = 0.03125 and 3/32 = 0.09375 lie exactly half-way between two fourth places.
    EXPECT_EQ(grading::average(Decimal::fromInt(1), "32")->toText(u','), "0,0312");
    EXPECT_EQ(grading::average(Decimal::fromInt(3), "32")->toText(u','), "0,0938");
    EXPECT_EQ(grading::average(Decimal::fromInt(2), "3")->toText(u','), "0,6667");
}

TEST(Grading, NumbersTakeEitherDecimalSeparator) {
    EXPECT_EQ(grading::sumEvaluations({"2,5", "2.5", " 5 "}), Decimal::fromInt(10));
    EXPECT_EQ(grading::questionCount("5,0"), 5);
    EXPECT_EQ(averageText(ticket({"5", "5", "2"}), "3.0"), "4");
}

TEST(Grading, TextThatIsNoNumberGivesNoGrade) {
    EXPECT_FALSE(grading::sumEvaluations(ticket({"5", "five"})).has_value());
    EXPECT_FALSE(grading::sumEvaluations(ticket({"5", ""})).has_value());
    // Overflow of the fixed-point range is no sum either.
    EXPECT_FALSE(grading::sumEvaluations({"900000000000000", "900000000000000"}).has_value());

    const Decimal sum = Decimal::fromInt(19);
    for (const char* count : {"0", "", "  ", "abc", "0,0"})
        EXPECT_FALSE(grading::average(sum, count).has_value()) << count;
}

TEST(Grading, QuestionCountIsAWholeNumberAboveZero) {
    EXPECT_EQ(grading::questionCount("1"), 1);
    EXPECT_EQ(grading::questionCount("20"), 20);
    EXPECT_EQ(grading::questionCount(" 7 "), 7);
    EXPECT_EQ(grading::questionCount("25"), 25) << "more than a ticket holds still divides";
    for (const char* count : {"0", "-3", "2,5", "", "abc", "5 questions"})
        EXPECT_FALSE(grading::questionCount(count).has_value()) << count;
}

TEST(Grading, ATiePasses) {
    EXPECT_TRUE(grading::passes(number("3,8"), number("3.8")));
    EXPECT_TRUE(grading::passes(number("4"), number("3,8")));
    EXPECT_FALSE(grading::passes(number("3,7999"), number("3,8")));
    EXPECT_FALSE(grading::passes(Decimal(), number("0,0001")));
}
