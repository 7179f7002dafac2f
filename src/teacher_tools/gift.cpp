// The GIFT format, as far as a question with a list of answers goes: "//" comments,
// "$CATEGORY:" lines, "::title::", "[html]" and the other text formats (of the question
// and of each answer), the answer block "{ =right ~wrong ~=right too ~%50%half #feedback
// ####general feedback }" (text after the block makes a gap in the question: "Moodle
// costs {~lots =nothing} for everyone"), true/false ("{T}", "{FALSE}"), the escapes
// \~ \= \# \{ \} \: \\ \n (a backslash before anything else is a backslash), and
// pictures referred to as <img src="..."> or ![...](...). A blank line always ends a
// question. A question with a second answer block after its first ("...{~many =much}")
// is left out: a ticket gives a question one list of variants, and the second block would
// show as text, its right answer with it. Every part is read in one pass, so a question
// with any number of answers takes time in proportion to its length.

#include "teacher_tools/bank_import_texts.h"
#include "teacher_tools/bank_text.h"
#include "teacher_tools/gift_texts.h"
#include "teacher_tools/question_bank.h"

#include <QRegularExpression>

namespace teacher_tools {

namespace {

const QString kGap = QStringLiteral("_____");

struct Block {
    int line = 0;          // the file's line of the block's first line
    QString text;          // its lines joined by LF
    std::vector<int> from; // the file's line of each of its lines
};

bool escapable(QChar c) {
    switch (c.unicode()) {
    case ':':
    case '#':
    case '=':
    case '{':
    case '}':
    case '~':
    case 'n':
    case '\\':
        return true;
    default:
        return false;
    }
}

bool escapeAt(QStringView text, qsizetype i) {
    return text.at(i) == QLatin1Char('\\') && i + 1 < text.size() && escapable(text.at(i + 1));
}

// The first unescaped `c` in `text` from `from`; -1 when there is none.
qsizetype findUnescaped(QStringView text, QChar c, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (escapeAt(text, i))
            ++i;
        else if (text.at(i) == c)
            return i;
    }
    return -1;
}

// The first unescaped "::" from `from`; -1 when there is none.
qsizetype findTitleEnd(QStringView text, qsizetype from) {
    for (qsizetype i = from; i + 1 < text.size(); ++i) {
        if (escapeAt(text, i))
            ++i;
        else if (text.at(i) == QLatin1Char(':') && text.at(i + 1) == QLatin1Char(':'))
            return i;
    }
    return -1;
}

QString unescaped(QStringView text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (escapeAt(text, i)) {
            ++i;
            plain += text.at(i) == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : text.at(i);
        } else {
            plain += text.at(i);
        }
    }
    return plain;
}

// Questions are separated by blank lines; comment lines are left out, and a category
// line is a line of its own: the question may follow on the next line.
std::vector<Block> blocksOf(const QString& source) {
    std::vector<Block> blocks;
    Block current;
    const QStringList lines = splitLines(source);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("//"))) continue;
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("$CATEGORY:"))) {
            if (!current.text.isEmpty()) blocks.push_back(std::move(current));
            current = {};
            continue;
        }
        if (current.text.isEmpty()) current.line = i + 1;
        if (!current.from.empty()) current.text += QLatin1Char('\n');
        current.text += line;
        current.from.push_back(i + 1);
    }
    if (!current.text.isEmpty()) blocks.push_back(std::move(current));
    return blocks;
}

// A leading "[html]", "[moodle]", "[plain]" or "[markdown]": its name, and where the text
// after it starts.
struct FormatMark {
    QString name;
    qsizetype end = 0;
};

FormatMark formatMark(QStringView text, qsizetype from) {
    static const QRegularExpression mark(
        QStringLiteral("\\G\\s*\\[(html|moodle|plain|markdown)\\]"));
    const QRegularExpressionMatch match = mark.match(text, from);
    if (!match.hasMatch()) return {{}, from};
    return {match.captured(1), match.capturedEnd()};
}

// One answer of the block as written: its mark and its text up to the next mark.
struct Piece {
    bool right = false;
    QStringView text;
};

// The answers of a block in one pass. "~=" marks a right answer, as "=" does.
std::vector<Piece> piecesOf(QStringView inside) {
    std::vector<Piece> pieces;
    qsizetype i = 0;
    while (i < inside.size()) {
        bool right = inside.at(i) == QLatin1Char('=');
        ++i;
        if (!right && i < inside.size() && inside.at(i) == QLatin1Char('=')) {
            right = true;
            ++i;
        }
        qsizetype end = i;
        while (end < inside.size() && inside.at(end) != QLatin1Char('=') &&
               inside.at(end) != QLatin1Char('~'))
            end += escapeAt(inside, end) ? 2 : 1;
        end = std::min(end, inside.size());
        pieces.push_back({right, inside.mid(i, end - i)});
        i = end;
    }
    return pieces;
}

class GiftReader {
public:
    GiftReader(const QStringList& trueFalse, const Wording& say)
        : trueFalse_(trueFalse), say_(say) {}
    QuestionBank read(const QString& source);

private:
    void question(const Block& block);
    bool answers(QStringView inside, BankQuestion& question, bool html);
    bool choices(QStringView inside, BankQuestion& question, bool html);
    void skip(int line, const QString& reason) { bank_.skipped.push_back({line, reason}); }

    QStringList trueFalse_;
    const Wording& say_;
    QuestionBank bank_;
    QString reason_; // why `answers` refused the block
};

QuestionBank GiftReader::read(const QString& source) {
    for (const Block& block : blocksOf(source))
        question(block);
    return bank_;
}

void GiftReader::question(const Block& block) {
    const QString& text = block.text;
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (text.mid(at, 2) == QLatin1String("::")) {
        const qsizetype titleEnd = findTitleEnd(text, at + 2);
        if (titleEnd >= 0) at = titleEnd + 2;
    }
    const FormatMark format = formatMark(text, at);
    const bool html = format.name == QLatin1String("html");
    at = format.end;
    const qsizetype open = findUnescaped(text, QLatin1Char('{'), at);
    if (open < 0) {
        skip(block.line, say_(gift_texts::text("noAnswersBracesDescription")));
        return;
    }
    const qsizetype close = findUnescaped(text, QLatin1Char('}'), open + 1);
    if (close < 0) {
        const int braceLine = block.from[std::size_t(QStringView(text).left(open).count(u'\n'))];
        skip(block.line, say_(gift_texts::text("braceOnLineNot")).arg(braceLine));
        return;
    }
    if (const qsizetype second = findUnescaped(text, QLatin1Char('{'), close + 1); second >= 0) {
        const int secondLine = block.from[std::size_t(QStringView(text).left(second).count(u'\n'))];
        skip(block.line, say_(gift_texts::text("secondAnswerBlock")).arg(secondLine));
        return;
    }
    BankQuestion question;
    question.line = block.line;
    if (!answers(QStringView(text).mid(open + 1, close - open - 1).trimmed(), question, html)) {
        skip(block.line, reason_);
        return;
    }
    const QString before = text.mid(at, open - at).trimmed();
    const QString after = text.mid(close + 1).trimmed();
    QString body = unescaped(
        after.isEmpty() ? before : before + QLatin1Char(' ') + kGap + QLatin1Char(' ') + after);
    // Pictures are looked for once the escapes are gone: an export writes <img src\="...">.
    question.pictures = takePictures(body);
    question.text = tidyLines(html ? withoutHtml(body) : body);
    if (question.text.isEmpty()) {
        skip(block.line, say_(gift_texts::text("questionHasNoText")));
        return;
    }
    bank_.questions.push_back(std::move(question));
}

bool GiftReader::answers(QStringView inside, BankQuestion& question, bool html) {
    static const QRegularExpression trueFalse(QStringLiteral("^(T|TRUE|F|FALSE)\\s*(#.*)?$"),
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::DotMatchesEverythingOption);
    // General feedback ("####...") closes the block.
    for (qsizetype at = findUnescaped(inside, QLatin1Char('#')); at >= 0;
         at = findUnescaped(inside, QLatin1Char('#'), at + 1)) {
        if (inside.mid(at, 4) == QLatin1String("####")) {
            inside = inside.left(at).trimmed();
            break;
        }
    }
    if (inside.isEmpty()) {
        reason_ = say_(gift_texts::text("essayWithoutAnswers"));
        return false;
    }
    if (inside.startsWith(QLatin1Char('#'))) {
        reason_ = say_(gift_texts::text("numericalAnswerWithoutOptions"));
        return false;
    }
    if (const QRegularExpressionMatch match = trueFalse.match(inside); match.hasMatch()) {
        const bool isTrue = match.captured(1).at(0).toUpper() == QLatin1Char('T');
        question.answers = trueFalse_;
        question.ordered = true;
        question.weights = {Decimal::fromInt(isTrue ? 100 : 0), Decimal::fromInt(isTrue ? 0 : 100)};
        return true;
    }
    if (inside.at(0) != QLatin1Char('=') && inside.at(0) != QLatin1Char('~')) {
        reason_ = say_(gift_texts::text("answersMustStartWith"));
        return false;
    }
    return choices(inside, question, html);
}

bool GiftReader::choices(QStringView inside, BankQuestion& question, bool html) {
    static const QRegularExpression weight(QStringLiteral("^\\s*%(-?[0-9]+(?:[.,][0-9]+)?)%"));
    bool anyWrong = false, allPairs = true, pictures = false;
    for (const Piece& piece : piecesOf(inside)) {
        QStringView answer = piece.text;
        const qsizetype feedback = findUnescaped(answer, QLatin1Char('#'));
        if (feedback >= 0) answer = answer.left(feedback);
        Decimal value = Decimal::fromInt(piece.right ? 100 : 0);
        if (const QRegularExpressionMatch match = weight.match(answer); match.hasMatch()) {
            value = Decimal::parse(match.captured(1)).value_or(value);
            answer = answer.mid(match.capturedEnd());
        }
        const FormatMark format = formatMark(answer, 0);
        answer = answer.mid(format.end);
        const bool answerHtml = format.name.isEmpty() ? html : format.name == QLatin1String("html");
        anyWrong = anyWrong || !piece.right;
        allPairs = allPairs && answer.contains(QLatin1String("->"));
        const QString plain = unescaped(answer);
        const QString shown = (answerHtml ? withoutHtml(plain) : plain).simplified();
        if (shown.isEmpty()) {
            QString rest = plain;
            pictures = pictures || !takePictures(rest).isEmpty();
        }
        question.answers.append(shown);
        question.weights.push_back(value);
    }
    if (pictures) {
        reason_ = say_(bank_import_texts::text("answersArePictures"));
        return false;
    }
    if (!anyWrong) {
        reason_ = allPairs ? say_(gift_texts::text("matchingQuestion"))
                           : say_(gift_texts::text("shortAnswerWithoutOptions"));
        return false;
    }
    if (question.answers.contains(QString())) {
        reason_ = say_(gift_texts::text("emptyAnswer"));
        return false;
    }
    return true;
}

} // namespace

QuestionBank parseGift(const QString& text, const QStringList& trueFalse, const Wording& say) {
    return GiftReader(trueFalse, say).read(text);
}

} // namespace teacher_tools
