#include "teacher_tools/bank_export.h"

#include "common/file_messages.h"
#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "platform/app_context.h"
#include "platform/file_access.h"
#include "platform/folders.h"
#include "platform/text_files.h"
#include "teacher_tools/bank_export_texts.h"
#include "tester/questionnaire_files.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <functional>
#include <map>

namespace teacher_tools {

namespace {

// A question as a bank holds it, before it is written in one format or the other.
struct Item {
    QString category; // "b1" for an exam's ticket; empty for a test
    QString name;     // "b1-q3", "3"
    QString text;
    QStringList answers;
    QStringList weights; // percent, "." as the separator
    QByteArray png;      // the picture, when there is one
    QString pictureName; // the PNG's name, when there is a picture
};

// Called with each question as it is read; false stops the reading.
using Take = std::function<bool(Item&)>;

QString withoutLastLineEnd(QString text) {
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

// The ticket folders of an exam, found as the exam's own look-ups find them: "b7" opened
// straight away, and only when there is no such folder, the exam folder listed once for
// another spelling of the name (a folder made on Windows as "B7"). Only those other
// spellings are kept, so an exam of any size costs no memory here.
class TicketFolders {
public:
    explicit TicketFolders(const QString& exam) : exam_(exam) {}
    QString otherSpelling(int ticket) {
        if (!listed_) {
            listed_ = true;
            for (const QString& name :
                 platform::entryNames(exam_, platform::Entries::FoldersOnly)) {
                const QString lower = name.toLower();
                bool number = false;
                const int found = lower.mid(1).toInt(&number);
                if (name != lower && number && found > 0 &&
                    lower == exam_folder::ticketFolderName(QString::number(found)) &&
                    !spellings_.count(found))
                    spellings_[found] = name;
            }
        }
        const auto found = spellings_.find(ticket);
        return found == spellings_.end() ? QString() : found->second;
    }

private:
    QString exam_;
    bool listed_ = false;
    std::map<int, QString> spellings_;
};

// The questions of one ticket, each handed on as it is read; false when `take` stopped.
bool readTicket(const exam_folder::TicketListing& listing, int ticket, std::vector<BankNote>& notes,
                const platform::PictureCodec& pictures, const Wording& say, const Take& take) {
    for (int n = 1; n <= exam_folder::kMaxQuestions; ++n) {
        if (!listing.has('q', n)) continue;
        const std::optional<QString> text = listing.readQuestionText(n);
        if (!text) continue;
        Item item;
        item.category = QStringLiteral("b%1").arg(ticket);
        item.name = QStringLiteral("b%1-q%2").arg(ticket).arg(n);
        item.text = withoutLastLineEnd(*text);
        const QString right = listing.readAnswerLines(n).value_or(QStringList()).value(0);
        bool found = false;
        for (const QString& variant : listing.readVariants(n).value_or(QStringList())) {
            if (variant.trimmed().isEmpty()) continue;
            const bool isRight = !found && variant == right;
            found = found || isRight;
            item.answers.append(variant);
            item.weights.append(isRight ? QStringLiteral("100") : QStringLiteral("0"));
        }
        if (!found || item.answers.size() < 2) {
            notes.push_back({ticket, say(bank_export_texts::text("questionLeftOutIt")).arg(n)});
            continue;
        }
        if (listing.has('k', n)) {
            if (const std::optional<QByteArray> picture = listing.readPicture(n))
                item.png = pictures.toPng(*picture);
        }
        if (!take(item)) return false;
    }
    return true;
}

// The exam's questions in order, a ticket at a time from one listing of its folder:
// nothing of the exam is held beyond the question being written.
bool readExam(const QString& folder, std::vector<BankNote>& notes,
              const platform::PictureCodec& pictures, const Wording& say, const Take& take) {
    TicketFolders folders(folder);
    for (int ticket = 1;; ++ticket) {
        const QString name = exam_folder::ticketFolderName(QString::number(ticket));
        exam_folder::TicketListing listing(folder + QLatin1Char('/') + name);
        if (!listing.listed() && listing.missing()) {
            const QString other = folders.otherSpelling(ticket);
            if (other.isEmpty()) break; // the tickets end here
            listing = exam_folder::TicketListing(folder + QLatin1Char('/') + other);
        }
        if (!listing.listed()) {
            notes.push_back({ticket, say(bank_export_texts::text("ticketCannotBeRead"))});
            continue;
        }
        if (!readTicket(listing, ticket, notes, pictures, say, take)) return false;
    }
    return true;
}

bool readTest(const QString& folder, const QString& definition, const Take& take) {
    const int count = questionnaire_files::countQuestions(folder);
    for (int n = 1; n <= count; ++n) {
        const QString number = QString::number(n);
        const QString textFile = QDir(folder).filePath(QStringLiteral("vt%1.txt").arg(n));
        Item item;
        item.name = number;
        item.text =
            withoutLastLineEnd(questionnaire_files::readTextFile(textFile).value_or(QString()));
        const questionnaire_files::Question stored =
            questionnaire_files::readQuestion(definition, number);
        for (std::size_t k = 0; k < stored.answers.size() && !stored.answers[k].isEmpty(); ++k) {
            item.answers.append(stored.answers[k]);
            const Decimal points = Decimal::parse(stored.points[k]).value_or(Decimal());
            item.weights.append(points.toText(QLatin1Char('.')));
        }
        if (!take(item)) return false;
    }
    return true;
}

// Each line end of any kind replaced by `by`.
QString joinedLines(const QString& text, const QString& by) {
    QString joined;
    joined.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            joined += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        joined += by;
    }
    return joined;
}

// The question text as HTML: its lines as lines, its picture after them.
QString htmlText(const Item& item) {
    QString html = joinedLines(item.text.toHtmlEscaped(), QStringLiteral("<br>"));
    if (!item.pictureName.isEmpty())
        html += QStringLiteral("<br><img src=\"@@PLUGINFILE@@/%1\">").arg(item.pictureName);
    return html;
}

// GIFT's special characters, each escaped with a backslash.
QString escapedGift(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
        case '~':
        case '=':
        case '#':
        case '{':
        case '}':
        case ':':
            escaped += QLatin1Char('\\');
            break;
        default:
            break;
        }
        escaped += c;
    }
    return escaped;
}

// A text that GIFT would read as a format mark where it starts ("[html] ...") gets one of its
// own before it, which the reader takes off instead.
QString withFormat(const QString& text, bool html) {
    if (!text.trimmed().startsWith(QLatin1Char('['))) return text;
    return (html ? QStringLiteral("[html]") : QStringLiteral("[plain]")) + text;
}

// One answer line: its mark and its text, protected where GIFT would read its start as
// syntax: a text that starts like a weight ("%50% скидка") is given its own weight first.
QString giftAnswer(const Item& item, qsizetype i, bool html) {
    const QString& weight = item.weights.at(i);
    const QString text = withFormat(
        escapedGift(html ? item.answers.at(i).toHtmlEscaped() : item.answers.at(i)), html);
    const bool test = item.category.isEmpty();
    const bool right = !test && weight == QLatin1String("100");
    QString line = right ? QStringLiteral("\t=") : QStringLiteral("\t~");
    if (test || text.trimmed().startsWith(QLatin1Char('%')))
        line += QLatin1Char('%') + weight + QLatin1Char('%');
    return line + text + QStringLiteral("\r\n");
}

QString giftQuestion(const Item& item) {
    const bool html = !item.pictureName.isEmpty();
    const QString text =
        html ? QStringLiteral("[html]") + escapedGift(htmlText(item))
             : withFormat(joinedLines(escapedGift(item.text), QStringLiteral("\\n")), false);
    QString gift = QStringLiteral("\r\n::%1::%2 {\r\n").arg(escapedGift(item.name), text);
    for (qsizetype i = 0; i < item.answers.size(); ++i)
        gift += giftAnswer(item, i, html);
    return gift + QStringLiteral("}\r\n");
}

// Text as XML character data or an attribute's value: & < > " escaped, and what XML
// cannot hold (control characters but tab and line ends) left out.
QString xmlEscaped(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '\t':
        case '\n':
        case '\r':
            escaped += c;
            break;
        default:
            if (c.unicode() >= 0x20) escaped += c;
            break;
        }
    }
    return escaped;
}

// One question of Moodle XML, as Moodle writes it. Written by hand: the form is fixed,
// and a stream writer's call per element and attribute cost as much as reading the exam.
QString xmlQuestion(const Item& item) {
    QString xml = QStringLiteral("    <question type=\"multichoice\">\n"
                                 "        <name>\n"
                                 "            <text>%1</text>\n"
                                 "        </name>\n"
                                 "        <questiontext format=\"html\">\n"
                                 "            <text>%2</text>\n")
                      .arg(xmlEscaped(item.name), xmlEscaped(htmlText(item)));
    if (!item.pictureName.isEmpty()) {
        xml += QStringLiteral("            <file name=\"%1\" path=\"/\" encoding=\"base64\">")
                   .arg(xmlEscaped(item.pictureName)) +
               QLatin1String(item.png.toBase64()) + QStringLiteral("</file>\n");
    }
    int positive = 0;
    for (const QString& weight : item.weights)
        positive += Decimal::parse(weight).value_or(Decimal()) > Decimal() ? 1 : 0;
    xml += QStringLiteral("        </questiontext>\n"
                          "        <single>%1</single>\n"
                          "        <shuffleanswers>true</shuffleanswers>\n"
                          "        <answernumbering>none</answernumbering>\n")
               .arg(positive == 1 ? QLatin1String("true") : QLatin1String("false"));
    for (qsizetype i = 0; i < item.answers.size(); ++i) {
        xml += QStringLiteral("        <answer fraction=\"%1\" format=\"plain_text\">\n"
                              "            <text>%2</text>\n"
                              "        </answer>\n")
                   .arg(xmlEscaped(item.weights.at(i)), xmlEscaped(item.answers.at(i)));
    }
    return xml + QStringLiteral("    </question>\n");
}

// The bank file written a question at a time as the questions are read.
class BankWriter {
public:
    BankWriter(ExportFormat format, platform::FileReplacement& out) : format_(format), out_(out) {}

    void begin(const QString& title) {
        title_ = joinedLines(title, QStringLiteral(" "));
        out_.add(format_ == ExportFormat::Gift
                     ? QStringLiteral("// %1\r\n").arg(title_).toUtf8()
                     : QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"));
    }

    void add(const Item& item) {
        const bool newCategory = !item.category.isEmpty() && item.category != category_;
        if (newCategory) category_ = item.category;
        QString text;
        if (format_ == ExportFormat::Gift) {
            if (newCategory) {
                text = QStringLiteral("\r\n$CATEGORY: $course$/%1/%2\r\n")
                           .arg(QString(title_).remove(QLatin1Char('/')), category_);
            }
            text += giftQuestion(item);
        } else {
            if (newCategory) {
                text = QStringLiteral("    <question type=\"category\">\n"
                                      "        <category>\n"
                                      "            <text>$course$/%1/%2</text>\n"
                                      "        </category>\n"
                                      "    </question>\n")
                           .arg(xmlEscaped(title_), xmlEscaped(category_));
            }
            text += xmlQuestion(item);
        }
        out_.add(text.toUtf8());
    }

    void end() {
        if (format_ == ExportFormat::MoodleXml) out_.add(QByteArrayLiteral("</quiz>\n"));
    }

private:
    ExportFormat format_;
    platform::FileReplacement& out_;
    QString title_;
    QString category_;
};

QString notWritten(const platform::WriteResult& result, const QString& path, const Wording& say) {
    return say(bank_export_texts::text("couldNotWrite")).arg(QDir::toNativeSeparators(path)) +
           writeFailureNote(result, say.language());
}

} // namespace

ExportResult exportBank(const platform::AppContext& app, const QString& folder, ExportFormat format,
                        const QString& file, const Wording& say) {
    ExportResult result;
    const QString definition =
        QDir(folder).filePath(QFileInfo(folder).fileName() + QStringLiteral(".tst"));
    const bool exam = exam_writer::isExamFolder(folder);
    if (!exam && !QFileInfo(definition).isFile()) {
        result.error = say(bank_export_texts::text("neitherExamFolderNor"))
                           .arg(QDir::toNativeSeparators(folder));
        return result;
    }
    platform::FileReplacement out(file);
    if (const platform::WriteResult opened = out.status(); !opened) {
        result.error = notWritten(opened, file, say);
        return result;
    }
    BankWriter writer(format, out);
    writer.begin(exam ? withoutLastLineEnd(exam_folder::readExamTitle(folder).value_or(QString()))
                      : questionnaire_files::readHeader(definition).name);
    // Pictures beside a GIFT file are written as their questions come; XML holds them.
    const QString base = QFileInfo(file).completeBaseName();
    const QString beside = QFileInfo(file).absolutePath();
    QStringList pictures;
    const Take take = [&](Item& item) {
        if (!item.png.isEmpty()) {
            item.pictureName = base + QLatin1Char('-') + item.name + QStringLiteral(".png");
            if (format == ExportFormat::Gift) {
                const QString path = beside + QLatin1Char('/') + item.pictureName;
                if (const platform::WriteResult written = platform::replaceFile(path, item.png);
                    !written) {
                    result.error = notWritten(written, path, say);
                    return false;
                }
                pictures.append(path);
            }
        }
        writer.add(item);
        ++result.questions;
        return true;
    };
    const bool whole = exam ? readExam(folder, result.notes, app.pictures(), say, take)
                            : readTest(folder, definition, take);
    if (!whole) {
        result.questions = 0;
        return result;
    }
    writer.end();
    if (const platform::WriteResult written = out.commit(); !written) {
        result.error = notWritten(written, file, say);
        result.questions = 0;
        return result;
    }
    result.written = QStringList{file} + pictures;
    return result;
}

} // namespace teacher_tools
