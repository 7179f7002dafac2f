#include "teacher_tools/bank_export.h"

#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "platform/app_context.h"
#include "platform/folders.h"
#include "platform/text_files.h"
#include "teacher_tools/bank_export_texts.h"
#include "tester/questionnaire_files.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

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

struct Source {
    QString title;
    std::vector<Item> items;
    std::vector<BankNote> notes;
};

QString withoutLastLineEnd(QString text) {
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

void readTicket(const QString& ticketFolder, int ticket, Source& source,
                const platform::PictureCodec& pictures, const Wording& say) {
    for (int n = 1; n <= exam_folder::kMaxQuestions; ++n) {
        const std::optional<QString> text = exam_folder::readQuestionText(ticketFolder, n);
        if (!text) continue;
        Item item;
        item.category = QStringLiteral("b%1").arg(ticket);
        item.name = QStringLiteral("b%1-q%2").arg(ticket).arg(n);
        item.text = withoutLastLineEnd(*text);
        const QStringList answerLines =
            exam_folder::readAnswerLines(ticketFolder, n).value_or(QStringList());
        const QString right = answerLines.value(0);
        bool found = false;
        for (const QString& variant :
             exam_folder::readVariants(ticketFolder, n).value_or(QStringList())) {
            if (variant.trimmed().isEmpty()) continue;
            const bool isRight = !found && variant == right;
            found = found || isRight;
            item.answers.append(variant);
            item.weights.append(isRight ? QStringLiteral("100") : QStringLiteral("0"));
        }
        if (!found || item.answers.size() < 2) {
            source.notes.push_back(
                {ticket, say(bank_export_texts::text("questionLeftOutIt")).arg(n)});
            continue;
        }
        item.png = pictures.fileToPng(exam_folder::picturePath(ticketFolder, n));
        source.items.push_back(std::move(item));
    }
}

Source readExam(const QString& folder, const platform::PictureCodec& pictures, const Wording& say) {
    Source source;
    source.title = withoutLastLineEnd(exam_folder::readExamTitle(folder).value_or(QString()));
    for (int ticket = 1;; ++ticket) {
        const QString name = exam_folder::lookUpEntry(folder, QStringLiteral("b%1").arg(ticket));
        const QString path = exam_folder::ticketFolderPath(folder, name);
        if (name.isEmpty() || !QFileInfo(path).isDir()) break;
        readTicket(path, ticket, source, pictures, say);
    }
    return source;
}

Source readTest(const QString& folder, const QString& definition) {
    Source source;
    source.title = questionnaire_files::readHeader(definition).name;
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
        source.items.push_back(std::move(item));
    }
    return source;
}

QString escapedGift(const QString& text) {
    QString escaped;
    for (const QChar c : text) {
        if (QStringLiteral("\\~=#{}:").contains(c)) escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

// The question text as HTML: its lines as lines, its picture after them.
QString htmlText(const Item& item) {
    QString html = item.text.toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    if (!item.pictureName.isEmpty())
        html += QStringLiteral("<br><img src=\"@@PLUGINFILE@@/%1\">").arg(item.pictureName);
    return html;
}

QByteArray giftOf(const Source& source) {
    QString gift = QStringLiteral("// %1\r\n").arg(source.title);
    QString category;
    for (const Item& item : source.items) {
        if (!item.category.isEmpty() && item.category != category) {
            category = item.category;
            gift += QStringLiteral("\r\n$CATEGORY: $course$/%1/%2\r\n")
                        .arg(QString(source.title).remove(QLatin1Char('/')), category);
        }
        const bool html = !item.pictureName.isEmpty();
        QString text = html ? htmlText(item) : item.text;
        text = escapedGift(text);
        if (!html) text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
        gift += QStringLiteral("\r\n::%1::%2%3 {\r\n")
                    .arg(escapedGift(item.name), html ? QStringLiteral("[html]") : QString(), text);
        const bool test = item.category.isEmpty();
        for (qsizetype i = 0; i < item.answers.size(); ++i) {
            const QString answer = escapedGift(item.answers.at(i));
            if (test)
                gift += QStringLiteral("\t~%%1%%2\r\n").arg(item.weights.at(i), answer);
            else
                gift += (item.weights.at(i) == QLatin1String("100") ? QStringLiteral("\t=")
                                                                    : QStringLiteral("\t~")) +
                        answer + QStringLiteral("\r\n");
        }
        gift += QStringLiteral("}\r\n");
    }
    return gift.toUtf8();
}

void writeXmlQuestion(QXmlStreamWriter& xml, const Item& item) {
    xml.writeStartElement(QStringLiteral("question"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
    xml.writeStartElement(QStringLiteral("name"));
    xml.writeTextElement(QStringLiteral("text"), item.name);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("questiontext"));
    xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    xml.writeTextElement(QStringLiteral("text"), htmlText(item));
    if (!item.pictureName.isEmpty()) {
        xml.writeStartElement(QStringLiteral("file"));
        xml.writeAttribute(QStringLiteral("name"), item.pictureName);
        xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        xml.writeCharacters(QString::fromLatin1(item.png.toBase64()));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    int positive = 0;
    for (const QString& weight : item.weights)
        positive += Decimal::parse(weight).value_or(Decimal()) > Decimal() ? 1 : 0;
    xml.writeTextElement(QStringLiteral("single"),
                         positive == 1 ? QStringLiteral("true") : QStringLiteral("false"));
    xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
    xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("none"));
    for (qsizetype i = 0; i < item.answers.size(); ++i) {
        xml.writeStartElement(QStringLiteral("answer"));
        xml.writeAttribute(QStringLiteral("fraction"), item.weights.at(i));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("plain_text"));
        xml.writeTextElement(QStringLiteral("text"), item.answers.at(i));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray xmlOf(const Source& source) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("quiz"));
    QString category;
    for (const Item& item : source.items) {
        if (!item.category.isEmpty() && item.category != category) {
            category = item.category;
            xml.writeStartElement(QStringLiteral("question"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
            xml.writeStartElement(QStringLiteral("category"));
            xml.writeTextElement(QStringLiteral("text"),
                                 QStringLiteral("$course$/%1/%2").arg(source.title, category));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        writeXmlQuestion(xml, item);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QString notWritten(const QString& path, const Wording& say) {
    return say(bank_export_texts::text("couldNotWrite")).arg(QDir::toNativeSeparators(path));
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
    Source source = exam ? readExam(folder, app.pictures(), say) : readTest(folder, definition);
    result.notes = source.notes;
    const QString base = QFileInfo(file).completeBaseName();
    const QDir beside = QFileInfo(file).absoluteDir();
    std::vector<std::pair<QString, QByteArray>> pictures;
    for (Item& item : source.items) {
        if (item.png.isEmpty()) continue;
        item.pictureName = base + QLatin1Char('-') + item.name + QStringLiteral(".png");
        if (format == ExportFormat::Gift)
            pictures.push_back({beside.filePath(item.pictureName), item.png});
    }
    const QByteArray bytes = format == ExportFormat::Gift ? giftOf(source) : xmlOf(source);
    if (!platform::writeBytesAtomically(file, bytes)) {
        result.error = notWritten(file, say);
        return result;
    }
    result.written.append(file);
    for (const auto& [path, png] : pictures) {
        if (png.isEmpty() || !platform::writeBytesAtomically(path, png)) {
            result.error = notWritten(path, say);
            return result;
        }
        result.written.append(path);
    }
    result.questions = int(source.items.size());
    return result;
}

} // namespace teacher_tools
