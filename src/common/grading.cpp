#include "common/grading.h"

namespace grading {

std::optional<Decimal> sumEvaluations(const QStringList& evaluations) {
    Decimal sum;
    for (const QString& text : evaluations) {
        auto value = Decimal::parse(text);
        if (!value) return std::nullopt;
        auto next = Decimal::add(sum, *value);
        if (!next) return std::nullopt;
        sum = *next;
    }
    return sum;
}

std::optional<std::int64_t> questionCount(const QString& countText) {
    auto count = Decimal::parse(countText);
    if (!count || count->units() % Decimal::kScale != 0) return std::nullopt;
    const auto whole = count->units() / Decimal::kScale;
    if (whole < 1) return std::nullopt;
    return whole;
}

std::optional<Decimal> average(Decimal sum, const QString& countText) {
    auto count = Decimal::parse(countText);
    if (!count || count->isZero()) return std::nullopt;
    return Decimal::divide(sum, *count);
}

} // namespace grading
