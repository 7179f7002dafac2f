// The Aiken format: each question is its text (a line, or several), then its options, a
// capital letter with "." or ")" and a blank before each, then "ANSWER: " and the letter
// of the right one. Blank lines between questions are allowed and mean nothing. The key
// is read as people write it too: "Answer: b", "ANSWER: B.". A key line always ends its
// block, so a block that cannot be read ("A) Question not started", a key line with no
// letter) is left out and named with its first line, and the next question starts clean.

#include "teacher_tools/aiken_texts.h"
#include "teacher_tools/bank_text.h"
#include "teacher_tools/question_bank.h"

#include <QRegularExpression>

namespace teacher_tools {

namespace {

struct Pending {
    int line = 0;
    QStringList text;
    QStringList options;  // the option lines, as written
    QList<QChar> letters; // their letters
    bool empty() const { return text.isEmpty() && options.isEmpty(); }
};

class AikenReader {
public:
    explicit AikenReader(const Wording& say) : say_(say) {}
    QuestionBank read(const QString& text);

private:
    void line(int number, const QString& content);
    void answer(int number, QChar letter);
    // Why the pending block is left out: options with no question before them, or `reason`.
    QString unfinished(const QString& reason) const {
        return pending_.text.isEmpty() && !pending_.options.isEmpty()
                   ? say_(aiken_texts::text("optionsWithoutQuestion"))
                   : reason;
    }
    void skip(const QString& reason) {
        bank_.skipped.push_back({pending_.line, reason});
        pending_ = {};
    }

    const Wording& say_;
    QuestionBank bank_;
    Pending pending_;
};

QuestionBank AikenReader::read(const QString& text) {
    const QStringList lines = splitLines(text);
    for (int i = 0; i < lines.size(); ++i)
        line(i + 1, lines.at(i));
    if (!pending_.empty()) skip(unfinished(say_(aiken_texts::text("noAnswerLineWith"))));
    return bank_;
}

void AikenReader::line(int number, const QString& content) {
    static const QRegularExpression answerLine(
        QStringLiteral("^ANSWER\\s*:\\s*([A-Z])\\s*[.,;:!)]?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keyLine(QStringLiteral("^ANSWER\\s*:"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression optionLine(QStringLiteral("^([A-Z])[.)]\\s+\\S"));
    const QString trimmed = content.trimmed();
    if (trimmed.isEmpty()) return;
    if (const QRegularExpressionMatch match = answerLine.match(trimmed); match.hasMatch()) {
        answer(number, match.captured(1).at(0).toUpper());
        return;
    }
    if (keyLine.match(trimmed).hasMatch()) {
        if (pending_.empty()) pending_.line = number;
        skip(unfinished(say_(aiken_texts::text("keyLineCannotBe")).arg(trimmed)));
        return;
    }
    // An option before any text still belongs to the block it starts: that block has no
    // question, and is left out whole at its key line.
    const QRegularExpressionMatch option = optionLine.match(trimmed);
    if (option.hasMatch()) {
        if (pending_.empty()) pending_.line = number;
        pending_.options.append(trimmed.simplified());
        pending_.letters.append(option.captured(1).at(0));
        return;
    }
    if (!pending_.options.isEmpty()) skip(unfinished(say_(aiken_texts::text("noAnswerLineWith"))));
    if (pending_.empty()) pending_.line = number;
    pending_.text.append(trimmed);
}

void AikenReader::answer(int number, QChar letter) {
    if (pending_.empty()) {
        bank_.skipped.push_back({number, say_(aiken_texts::text("answerLineWithoutQuestion"))});
        return;
    }
    if (pending_.text.isEmpty()) {
        skip(unfinished({}));
        return;
    }
    if (pending_.options.size() < 2) {
        skip(say_(aiken_texts::text("fewerThanTwoOptions")));
        return;
    }
    for (int i = 0; i < pending_.letters.size(); ++i) {
        if (pending_.letters.indexOf(pending_.letters.at(i)) != i) {
            skip(say_(aiken_texts::text("twoOptionsHaveLetter")).arg(pending_.letters.at(i)));
            return;
        }
    }
    const qsizetype right = pending_.letters.indexOf(letter);
    if (right < 0) {
        skip(say_(aiken_texts::text("answerNamesLetterWhich")).arg(letter));
        return;
    }
    BankQuestion question;
    question.line = pending_.line;
    question.text = pending_.text.join(QStringLiteral("\r\n"));
    question.answers = pending_.options;
    question.ordered = true;
    for (qsizetype i = 0; i < pending_.options.size(); ++i)
        question.weights.push_back(Decimal::fromInt(i == right ? 100 : 0));
    bank_.questions.push_back(std::move(question));
    pending_ = {};
}

} // namespace

QuestionBank parseAiken(const QString& text, const Wording& say) {
    return AikenReader(say).read(text);
}

BankFormat guessFormat(const QString& text) {
    static const QRegularExpression xml(QStringLiteral("^\\s*<(\\?xml|quiz)"));
    static const QRegularExpression aikenAnswer(
        QStringLiteral("(^|[\\n\\r])[ \\t]*ANSWER\\s*:\\s*[A-Z]"),
        QRegularExpression::CaseInsensitiveOption);
    if (xml.match(text).hasMatch()) return BankFormat::MoodleXml;
    if (aikenAnswer.match(text).hasMatch()) return BankFormat::Aiken;
    // An answer block: a "{" that is no escape, a "}" somewhere after it.
    qsizetype open = text.indexOf(QLatin1Char('{'));
    while (open > 0 && text.at(open - 1) == QLatin1Char('\\'))
        open = text.indexOf(QLatin1Char('{'), open + 1);
    const bool block = open >= 0 && text.lastIndexOf(QLatin1Char('}')) > open;
    return block ? BankFormat::Gift : BankFormat::Aiken;
}

} // namespace teacher_tools
