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

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

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

// What XML cannot hold (control characters but tab and line ends) left out.
QString xmlSafe(QString text) {
    text.removeIf([](QChar c) {
        return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
               c != QLatin1Char('\r');
    });
    return text;
}

// The question text as HTML: its lines as lines, its picture after them.
QString htmlText(const Item& item) {
    QString html = joinedLines(xmlSafe(item.text).toHtmlEscaped(), QStringLiteral("<br>"));
    if (!item.pictureName.isEmpty())
        html += QStringLiteral("<br><img src=\"@@PLUGINFILE@@/%1\">").arg(item.pictureName);
    return html;
}

// GIFT's special characters, each escaped with a backslash.
QString escapedGift(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (QStringView(u"\\~=#{}:").contains(c)) escaped += QLatin1Char('\\');
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

// The bank file written a question at a time as the questions are read.
class BankWriter {
public:
    BankWriter(ExportFormat format, platform::FileReplacement& out) : format_(format), out_(out) {
        xmlBuffer_.open(QIODevice::WriteOnly);
        xml_.setDevice(&xmlBuffer_);
        xml_.setAutoFormatting(true);
    }

    void begin(const QString& title) {
        title_ = title;
        if (format_ == ExportFormat::Gift) {
            out_.add(
                QStringLiteral("// %1\r\n").arg(joinedLines(title, QStringLiteral(" "))).toUtf8());
            return;
        }
        xml_.writeStartDocument();
        xml_.writeStartElement(QStringLiteral("quiz"));
        drainXml();
    }

    void add(const Item& item) {
        const bool newCategory = !item.category.isEmpty() && item.category != category_;
        if (newCategory) category_ = item.category;
        if (format_ == ExportFormat::Gift) {
            QString gift;
            if (newCategory) {
                gift = QStringLiteral("\r\n$CATEGORY: $course$/%1/%2\r\n")
                           .arg(joinedLines(title_, QStringLiteral(" ")).remove(QLatin1Char('/')),
                                category_);
            }
            out_.add((gift + giftQuestion(item)).toUtf8());
            return;
        }
        if (newCategory) writeXmlCategory();
        writeXmlQuestion(item);
        drainXml();
    }

    void end() {
        if (format_ == ExportFormat::Gift) return;
        xml_.writeEndElement();
        xml_.writeEndDocument();
        drainXml();
    }

private:
    void drainXml() {
        out_.add(xmlBuffer_.data());
        xmlBuffer_.buffer().clear();
        xmlBuffer_.seek(0);
    }

    void writeXmlCategory() {
        xml_.writeStartElement(QStringLiteral("question"));
        xml_.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        xml_.writeStartElement(QStringLiteral("category"));
        xml_.writeTextElement(QStringLiteral("text"),
                              QStringLiteral("$course$/%1/%2").arg(xmlSafe(title_), category_));
        xml_.writeEndElement();
        xml_.writeEndElement();
    }

    void writeXmlQuestion(const Item& item) {
        xml_.writeStartElement(QStringLiteral("question"));
        xml_.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
        xml_.writeStartElement(QStringLiteral("name"));
        xml_.writeTextElement(QStringLiteral("text"), item.name);
        xml_.writeEndElement();
        xml_.writeStartElement(QStringLiteral("questiontext"));
        xml_.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        xml_.writeTextElement(QStringLiteral("text"), htmlText(item));
        if (!item.pictureName.isEmpty()) {
            xml_.writeStartElement(QStringLiteral("file"));
            xml_.writeAttribute(QStringLiteral("name"), item.pictureName);
            xml_.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
            xml_.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
            xml_.writeCharacters(QString::fromLatin1(item.png.toBase64()));
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        int positive = 0;
        for (const QString& weight : item.weights)
            positive += Decimal::parse(weight).value_or(Decimal()) > Decimal() ? 1 : 0;
        xml_.writeTextElement(QStringLiteral("single"),
                              positive == 1 ? QStringLiteral("true") : QStringLiteral("false"));
        xml_.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
        xml_.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("none"));
        for (qsizetype i = 0; i < item.answers.size(); ++i) {
            xml_.writeStartElement(QStringLiteral("answer"));
            xml_.writeAttribute(QStringLiteral("fraction"), item.weights.at(i));
            xml_.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
            xml_.writeTextElement(QStringLiteral("text"), xmlSafe(item.answers.at(i)));
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
    }

    ExportFormat format_;
    platform::FileReplacement& out_;
    QString title_;
    QString category_;
    QBuffer xmlBuffer_;
    QXmlStreamWriter xml_;
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
