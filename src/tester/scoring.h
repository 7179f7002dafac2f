#pragma once
// Test scoring on fixed-point decimals: the points gathered per answer position, the
// total, the conclusion the total selects, and the rule for the numeric entry fields.

#include "common/decimal.h"

#include <QChar>
#include <QString>
#include <array>
#include <optional>

namespace scoring {

// `gathered` plus `points`, as text with the user's separator. A text that is no number
// counts as 0; a sum beyond the decimal's range leaves `gathered` as it was.
QString addPoints(const QString& gathered, const QString& points, QChar separator);

// The sum of the five gathered texts, as text; texts that are no number count as 0.
QString total(const std::array<QString, 5>& gathered, QChar separator);

enum class Conclusion { First, Second, Third, None };

// The first rule that holds: T <= t1, t2, t3 gives the first conclusion; T >= t1 and
// T <= t2, t3 the second; T >= t1, t2 and T <= t3 the third. None when T lies above t3 or
// the thresholds are not ascending so that no rule fits.
Conclusion selectConclusion(Decimal total, Decimal t1, Decimal t2, Decimal t3);

// The same on the texts of the window; a text that is no number reads as 0.
Conclusion selectConclusion(const QString& total, const QString& t1, const QString& t2,
                            const QString& t3);

// What an entry field for points or a threshold makes of a text: a number that rounds to
// a 16-bit integer is kept as typed; anything that is no number becomes "0"; a number
// outside -32768 .. 32767 is refused.
enum class FieldNumber { Kept, NotNumeric, OutOfRange };
FieldNumber checkFieldNumber(const QString& text);

// A stored value as the field shows it: kept when the field keeps it, "0" otherwise (a
// file may hold what no field would have taken, and it must not leave a stale value).
QString storedFieldNumber(const QString& text);

} // namespace scoring
