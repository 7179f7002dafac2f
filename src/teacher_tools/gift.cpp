// The GIFT format, as far as a question with a list of answers goes: "//" comments,
// "$CATEGORY:" lines, "::title::", "[html]" and the other text formats, the answer block
// "{ =right ~wrong ~%50%half #feedback }" (text after the block makes a gap in the
// question: "Moodle costs {~lots =nothing} for everyone"), true/false ("{T}", "{FALSE}"),
// the escapes \~ \= \# \{ \} \: \\ \n, and pictures referred to as <img src="..."> or
// ![...](...).

#include "teacher_tools/question_bank.h"

#include <QRegularExpression>
#include <QUrl>

namespace teacher_tools {

namespace {

const QString kGap = QStringLiteral("_____");

struct Block {
    int line = 0;
    QString text;
};

// Unescaped occurrences of `c` in `text`, from `from`.
qsizetype findUnescaped(const QString& text, QChar c, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\')) {
            ++i;
        } else if (text.at(i) == c) {
            return i;
        }
    }
    return -1;
}

// Questions are separated by blank lines; a blank line inside an open answer block does
// not end the question.
std::vector<Block> blocksOf(const QString& source) {
    std::vector<Block> blocks;
    Block current;
    int open = 0;
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().startsWith(QLatin1String("//"))) continue;
        if (line.trimmed().isEmpty() && open <= 0) {
            if (!current.text.isEmpty()) blocks.push_back(current);
            current = {};
            continue;
        }
        if (current.text.isEmpty()) current.line = i + 1;
        current.text += (current.text.isEmpty() ? QString() : QStringLiteral("\n")) + line;
        for (qsizetype at = findUnescaped(line, QLatin1Char('{')); at >= 0;
             at = findUnescaped(line, QLatin1Char('{'), at + 1))
            ++open;
        for (qsizetype at = findUnescaped(line, QLatin1Char('}')); at >= 0;
             at = findUnescaped(line, QLatin1Char('}'), at + 1))
            --open;
    }
    if (!current.text.isEmpty()) blocks.push_back(current);
    return blocks;
}

QString unescaped(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size()) {
            ++i;
            plain += text.at(i) == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : text.at(i);
        } else {
            plain += text.at(i);
        }
    }
    return plain;
}

QString withoutHtml(QString text) {
    static const QRegularExpression breaks(QStringLiteral("<br\\s*/?>|</p>|</div>|</li>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9a-fA-F]+);"));
    text.replace(breaks, QStringLiteral("\n"));
    text.remove(tags);
    QString decoded;
    qsizetype last = 0;
    for (auto it = numeric.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        decoded += text.mid(last, match.capturedStart() - last);
        // A character reference names a character by its code; it is no number to compute with.
        bool ok = false;
        const char32_t code = match.captured(2).toUInt(&ok, match.captured(1).isEmpty() ? 10 : 16);
        if (ok && code > 0 && code <= 0x10FFFF) decoded += QString::fromUcs4(&code, 1);
        last = match.capturedEnd();
    }
    decoded += text.mid(last);
    const std::pair<const char*, const char*> entities[] = {
        {"&nbsp;", " "},  {"&lt;", "<"},    {"&gt;", ">"},    {"&quot;", "\""}, {"&apos;", "'"},
        {"&laquo;", "«"}, {"&raquo;", "»"}, {"&mdash;", "—"}, {"&ndash;", "–"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities)
        decoded.replace(QString::fromUtf8(entity), QString::fromUtf8(character));
    return decoded;
}

// The picture files a text refers to, taken out of the text.
QStringList takePictures(QString& text) {
    static const QRegularExpression image(
        QStringLiteral("<img[^>]*\\bsrc\\s*=\\s*[\"']([^\"']+)[\"'][^>]*>|!\\[[^\\]]*\\]\\(([^)\\s]"
                       "+)[^)]*\\)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList pictures;
    for (auto it = image.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString source = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        source = QUrl::fromPercentEncoding(source.toUtf8());
        pictures.append(source.section(QLatin1Char('/'), -1));
    }
    text.remove(image);
    return pictures;
}

// Blanks in each line made single, blank lines dropped, the lines joined by CR LF.
QString tidyLines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) lines.append(line.simplified());
    }
    return lines.join(QStringLiteral("\r\n"));
}

class GiftReader {
public:
    GiftReader(const QStringList& trueFalse, const Wording& say)
        : trueFalse_(trueFalse), say_(say) {}
    QuestionBank read(const QString& source);

private:
    void question(const Block& block);
    bool answers(const QString& inside, BankQuestion& question, bool html);
    void skip(const Block& block, const QString& reason) {
        bank_.skipped.push_back({block.line, reason});
    }

    QStringList trueFalse_;
    const Wording& say_;
    QuestionBank bank_;
    QString reason_; // why `answers` refused the block
};

QuestionBank GiftReader::read(const QString& source) {
    for (const Block& block : blocksOf(source)) {
        if (block.text.trimmed().startsWith(QLatin1String("$CATEGORY:"))) continue;
        question(block);
    }
    return bank_;
}

void GiftReader::question(const Block& block) {
    static const QRegularExpression title(QStringLiteral("^\\s*::(.*?)::"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression format(
        QStringLiteral("^\\s*\\[(html|moodle|plain|markdown)\\]"));
    QString text = block.text;
    text.remove(title);
    const QRegularExpressionMatch formatMatch = format.match(text);
    const bool html = formatMatch.captured(1) == QLatin1String("html");
    if (formatMatch.hasMatch()) text.remove(0, formatMatch.capturedEnd());
    const qsizetype open = findUnescaped(text, QLatin1Char('{'));
    const qsizetype close = open < 0 ? -1 : findUnescaped(text, QLatin1Char('}'), open + 1);
    if (close < 0) {
        skip(block, say_("нет ответов в фигурных скобках: это описание, а не вопрос",
                         "no answers in braces: a description, not a question"));
        return;
    }
    BankQuestion question;
    question.line = block.line;
    if (!answers(text.mid(open + 1, close - open - 1).trimmed(), question, html)) {
        skip(block, reason_);
        return;
    }
    const QString before = text.left(open).trimmed();
    const QString after = text.mid(close + 1).trimmed();
    QString body =
        after.isEmpty() ? before : before + QLatin1Char(' ') + kGap + QLatin1Char(' ') + after;
    question.pictures = takePictures(body);
    body = unescaped(body);
    question.text = tidyLines(html ? withoutHtml(body) : body);
    if (question.text.isEmpty()) {
        skip(block, say_("нет текста вопроса", "the question has no text"));
        return;
    }
    bank_.questions.push_back(std::move(question));
}

bool GiftReader::answers(const QString& inside, BankQuestion& question, bool html) {
    static const QRegularExpression trueFalse(QStringLiteral("^(T|TRUE|F|FALSE)\\s*(#.*)?$"),
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression weight(QStringLiteral("^%(-?[0-9]+(?:[.,][0-9]+)?)%"));
    if (inside.isEmpty()) {
        reason_ = say_("эссе без вариантов ответа", "an essay without answers");
        return false;
    }
    if (inside.startsWith(QLatin1Char('#'))) {
        reason_ = say_("числовой ответ без вариантов", "a numerical answer without options");
        return false;
    }
    if (const QRegularExpressionMatch match = trueFalse.match(inside); match.hasMatch()) {
        const bool isTrue = match.captured(1).at(0).toUpper() == QLatin1Char('T');
        question.answers = trueFalse_;
        question.weights = {Decimal::fromInt(isTrue ? 100 : 0), Decimal::fromInt(isTrue ? 0 : 100)};
        return true;
    }
    bool anyWrong = false;
    for (qsizetype at = 0; at < inside.size();) {
        const QChar mark = inside.at(at);
        if (mark != QLatin1Char('=') && mark != QLatin1Char('~')) {
            reason_ = say_("ответы должны начинаться с = или ~", "answers must start with = or ~");
            return false;
        }
        const qsizetype nextRight = findUnescaped(inside, QLatin1Char('='), at + 1);
        const qsizetype nextWrong = findUnescaped(inside, QLatin1Char('~'), at + 1);
        qsizetype end = inside.size();
        for (const qsizetype next : {nextRight, nextWrong}) {
            if (next >= 0 && next < end) end = next;
        }
        QString answer = inside.mid(at + 1, end - at - 1);
        at = end;
        if (answer.contains(QLatin1String("->"))) {
            reason_ = say_("вопрос на соответствие", "a matching question");
            return false;
        }
        const qsizetype feedback = findUnescaped(answer, QLatin1Char('#'));
        if (feedback >= 0) answer.truncate(feedback);
        Decimal value = Decimal::fromInt(mark == QLatin1Char('=') ? 100 : 0);
        if (const QRegularExpressionMatch match = weight.match(answer.trimmed());
            match.hasMatch()) {
            value = Decimal::parse(match.captured(1)).value_or(value);
            answer = answer.trimmed().mid(match.capturedLength());
        }
        anyWrong = anyWrong || mark == QLatin1Char('~');
        answer = unescaped(answer);
        question.answers.append((html ? withoutHtml(answer) : answer).simplified());
        question.weights.push_back(value);
    }
    if (!anyWrong) {
        reason_ = say_("короткий ответ без вариантов", "a short answer without options");
        return false;
    }
    if (question.answers.contains(QString())) {
        reason_ = say_("пустой вариант ответа", "an empty answer");
        return false;
    }
    return true;
}

} // namespace

QuestionBank parseGift(const QString& text, const QStringList& trueFalse, const Wording& say) {
    return GiftReader(trueFalse, say).read(text);
}

} // namespace teacher_tools
