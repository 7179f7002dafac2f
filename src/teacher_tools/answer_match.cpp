#include "teacher_tools/answer_match.h"
#include "teacher_tools/answer_match_texts.h"

#include <functional>

namespace teacher_tools {

namespace {

// Latin letters that look like Cyrillic ones, each with its twin.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'a', u'а'}, {u'A', u'А'}, {u'B', u'В'}, {u'c', u'с'}, {u'C', u'С'}, {u'e', u'е'},
    {u'E', u'Е'}, {u'H', u'Н'}, {u'K', u'К'}, {u'k', u'к'}, {u'M', u'М'}, {u'o', u'о'},
    {u'O', u'О'}, {u'p', u'р'}, {u'P', u'Р'}, {u'T', u'Т'}, {u'x', u'х'}, {u'X', u'Х'},
    {u'y', u'у'}, {u'Y', u'У'}, {u'3', u'З'},
};
constexpr char16_t kDashes[] = {u'‐', u'‑', u'‒', u'–', u'—', u'―', u'−', u'﹣', u'－'};
constexpr char16_t kQuotes[] = {u'«', u'»', u'“', u'”', u'„', u'‟', u'"', u'\'',
                                u'‘', u'’', u'‚', u'‛', u'`', u'´', u'‹', u'›'};

template <std::size_t N> bool among(QChar c, const char16_t (&set)[N]) {
    for (const char16_t member : set) {
        if (c.unicode() == member) return true;
    }
    return false;
}

QString lookAlikesToCyrillic(QString text) {
    for (QChar& c : text) {
        for (const auto& [latin, cyrillic] : kLookAlikes) {
            if (c.unicode() == latin) c = QChar(cyrillic);
        }
    }
    return text;
}

QString sameDashes(QString text) {
    for (QChar& c : text) {
        if (among(c, kDashes)) c = QLatin1Char('-');
    }
    return text;
}

QString sameQuotes(QString text) {
    for (QChar& c : text) {
        if (among(c, kQuotes)) c = QLatin1Char('"');
    }
    return text;
}

QString everything(const QString& text) {
    return sameQuotes(sameDashes(lookAlikesToCyrillic(text.simplified().toCaseFolded())));
}

using Normal = std::function<QString(const QString&)>;

int matchingVariant(const QString& answer, const QStringList& variants, const Normal& normal) {
    const QString wanted = normal(answer);
    for (int i = 0; i < variants.size(); ++i) {
        if (normal(variants.at(i)) == wanted) return i;
    }
    return -1;
}

QString describe(QChar c, const Wording& say) {
    const QString shown = QStringLiteral("«%1»").arg(c);
    if (c.unicode() < 0x80 && c.isLetter())
        return say(answer_match_texts::text("latinLetter")) + shown;
    if (c.script() == QChar::Script_Cyrillic)
        return say(answer_match_texts::text("cyrillicLetter")) + shown;
    return say(answer_match_texts::text("sign")) + shown +
           QStringLiteral(" (U+%1)").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

// For causes that swap single characters: which character differs first.
QString firstDifference(const QString& answer, const QString& variant, const Wording& say) {
    for (qsizetype i = 0; i < std::min(answer.size(), variant.size()); ++i) {
        if (answer.at(i) != variant.at(i)) {
            return say(answer_match_texts::text("answerHasVariant"))
                .arg(describe(answer.at(i), say), describe(variant.at(i), say));
        }
    }
    return {};
}

} // namespace

Mismatch explainMismatch(const QString& answer, const QStringList& variants, const Wording& say) {
    struct Cause {
        Normal normal;
        QString text;
        bool showCharacter;
    };
    const Cause causes[] = {
        {[](const QString& s) { return s.trimmed(); },
         say(answer_match_texts::text("blanksAtStartOr")), false},
        {[](const QString& s) { return s.simplified(); },
         say(answer_match_texts::text("blanksInsideLineDiffer")), false},
        {[](const QString& s) { return s.toCaseFolded(); },
         say(answer_match_texts::text("capitalSmallLettersDiffer")), false},
        {lookAlikesToCyrillic, say(answer_match_texts::text("lookAlikeLettersTwo")), true},
        {sameDashes, say(answer_match_texts::text("differentDashesOrHyphens")), true},
        {sameQuotes, say(answer_match_texts::text("differentQuotes")), true},
        {everything, say(answer_match_texts::text("blanksLetterCaseLook")), false},
    };
    Mismatch found;
    for (const Cause& cause : causes) {
        const int index = matchingVariant(answer, variants, cause.normal);
        if (index < 0) continue;
        found.variant = index;
        found.cause = cause.text;
        if (cause.showCharacter) {
            const QString difference = firstDifference(answer, variants.at(index), say);
            if (!difference.isEmpty()) found.cause += QStringLiteral(": ") + difference;
        }
        return found;
    }
    // The answer is only a part of a variant ("нора" for "1.нора"), or the other way round.
    const QString wanted = everything(answer);
    for (int i = 0; i < variants.size() && !wanted.isEmpty(); ++i) {
        const QString variant = everything(variants.at(i));
        if (variant.isEmpty()) continue;
        if (variant.contains(wanted) || wanted.contains(variant)) {
            found.variant = i;
            found.cause = say(answer_match_texts::text("answerMatchesOnlyPart"));
            return found;
        }
    }
    return found;
}

} // namespace teacher_tools
