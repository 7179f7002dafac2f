#pragma once
// Grading arithmetic shared by the ticket window and the evaluation table: a ticket grade
// and a passing score are both averages of evaluations (2 or 5) over a question count.

#include "common/decimal.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace grading {

// Sum of the evaluation texts; empty optional when one of them is not a number.
std::optional<Decimal> sumEvaluations(const QStringList& evaluations);

// The question count as a whole number from 1 up; empty optional for anything else (an
// empty text, zero, a negative, a fraction, no number). A ticket has at most 20
// questions, but a larger count is divided by all the same.
std::optional<std::int64_t> questionCount(const QString& countText);

// sum / count, rounded to four places with halves to even; empty optional when the
// count is not a number or is zero.
std::optional<Decimal> average(Decimal sum, const QString& countText);

// A tie passes.
inline bool passes(Decimal average, Decimal passingScore) { return average >= passingScore; }

} // namespace grading
