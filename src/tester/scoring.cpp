#include "tester/scoring.h"

namespace scoring {

namespace {

Decimal valueOf(const QString& text) { return Decimal::parse(text).value_or(Decimal()); }

} // namespace

QString addPoints(const QString& gathered, const QString& points, QChar separator) {
    const Decimal before = valueOf(gathered);
    const std::optional<Decimal> sum = Decimal::add(before, valueOf(points));
    return sum.value_or(before).toText(separator);
}

QString total(const std::array<QString, 5>& gathered, QChar separator) {
    Decimal sum;
    for (const QString& text : gathered)
        sum = Decimal::add(sum, valueOf(text)).value_or(sum);
    return sum.toText(separator);
}

Conclusion selectConclusion(Decimal total, Decimal t1, Decimal t2, Decimal t3) {
    if (total <= t1 && total <= t2 && total <= t3) return Conclusion::First;
    if (total >= t1 && total <= t2 && total <= t3) return Conclusion::Second;
    if (total >= t1 && total >= t2 && total <= t3) return Conclusion::Third;
    return Conclusion::None;
}

Conclusion selectConclusion(const QString& total, const QString& t1, const QString& t2,
                            const QString& t3) {
    return selectConclusion(valueOf(total), valueOf(t1), valueOf(t2), valueOf(t3));
}

FieldNumber checkFieldNumber(const QString& text) {
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value) return FieldNumber::NotNumeric;
    return toInt16(*value) ? FieldNumber::Kept : FieldNumber::OutOfRange;
}

QString storedFieldNumber(const QString& text) {
    return checkFieldNumber(text) == FieldNumber::Kept ? text : QStringLiteral("0");
}

} // namespace scoring
