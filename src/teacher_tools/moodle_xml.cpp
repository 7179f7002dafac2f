// Moodle XML, as Moodle exports a question bank: <quiz> holding <question type="...">
// elements, each with its <questiontext format="html"> (the text, and the pictures it
// shows as <file name="..." encoding="base64">, referred to as @@PLUGINFILE@@/name),
// its <answer fraction="100"> elements and, for a multiple choice, <single>. Multiple
// choice and true/false questions are taken; categories are passed over; every other
// type is named and skipped. The older export (Moodle 1.9) gives a question its picture
// as <image>name</image> and <image_base64>: taken as the question's picture, first. A
// file that stops being well-formed is read up to there, and says where.

#include "teacher_tools/bank_import_texts.h"
#include "teacher_tools/bank_text.h"
#include "teacher_tools/moodle_xml_texts.h"
#include "teacher_tools/question_bank.h"

#include <QXmlStreamReader>

namespace teacher_tools {

namespace {

// A text element of the format: <text> and the files it refers to.
struct RichText {
    QString text;
    QString format;
    std::map<QString, QByteArray> files;
};

// What the text shows, taken down to plain lines; its pictures' names go to `pictures`.
QString plainText(const RichText& rich, QStringList* pictures) {
    QString text = rich.text;
    const QStringList found = takePictures(text);
    if (pictures) pictures->append(found);
    const bool plain =
        rich.format == QLatin1String("plain_text") || rich.format == QLatin1String("markdown");
    return plain ? text : withoutHtml(text);
}

// The text of the current element with its child elements' text, read in a loop: however
// deep the elements nest, the stack does not grow (readElementText recurses once a level).
QString elementText(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

RichText readRichText(QXmlStreamReader& xml) {
    RichText rich;
    rich.format = xml.attributes().value(QLatin1String("format")).toString();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("text")) {
            rich.text = elementText(xml);
        } else if (xml.name() == QLatin1String("file")) {
            const QString name = xml.attributes().value(QLatin1String("name")).toString();
            const bool base64 =
                xml.attributes().value(QLatin1String("encoding")) == QLatin1String("base64");
            const QByteArray data = xml.readElementText().toLatin1();
            if (base64 && !name.isEmpty()) rich.files[name] = QByteArray::fromBase64(data);
        } else {
            xml.skipCurrentElement();
        }
    }
    return rich;
}

struct XmlAnswer {
    Decimal fraction;
    RichText text;
};

// A <question> element as written.
struct XmlQuestion {
    int line = 0;
    QString type;
    RichText text;
    std::vector<XmlAnswer> answers;
    QString single;
    QString shuffle;
    QString image;          // Moodle 1.9: the picture's name
    QByteArray imageBase64; // and its bytes, encoded
};

XmlQuestion readQuestion(QXmlStreamReader& xml) {
    XmlQuestion question;
    question.line = int(xml.lineNumber());
    question.type = xml.attributes().value(QLatin1String("type")).toString();
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        if (name == QLatin1String("questiontext")) {
            question.text = readRichText(xml);
        } else if (name == QLatin1String("answer")) {
            const QString fraction = xml.attributes().value(QLatin1String("fraction")).toString();
            question.answers.push_back(
                {Decimal::parse(fraction).value_or(Decimal()), readRichText(xml)});
        } else if (name == QLatin1String("single")) {
            question.single = xml.readElementText().trimmed();
        } else if (name == QLatin1String("shuffleanswers")) {
            question.shuffle = xml.readElementText().trimmed();
        } else if (name == QLatin1String("image")) {
            if (const QString image = xml.readElementText().trimmed(); !image.isEmpty())
                question.image = image;
        } else if (name == QLatin1String("image_base64")) {
            question.imageBase64 = xml.readElementText().toLatin1();
        } else {
            xml.skipCurrentElement();
        }
    }
    return question;
}

bool isFalse(const QString& flag) {
    return flag == QLatin1String("0") ||
           flag.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

class XmlReader {
public:
    XmlReader(const QStringList& trueFalse, const Wording& say)
        : trueFalse_(trueFalse), say_(say) {}
    QuestionBank read(const QByteArray& bytes);

private:
    void take(const XmlQuestion& read);
    void skip(int line, const QString& reason) { bank_.skipped.push_back({line, reason}); }

    QStringList trueFalse_;
    const Wording& say_;
    QuestionBank bank_;
};

QuestionBank XmlReader::read(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("question"))
            continue;
        const XmlQuestion question = readQuestion(xml);
        if (!xml.hasError()) take(question);
    }
    if (xml.hasError()) {
        const int line = int(xml.lineNumber());
        bank_.stopped = BankNote{
            line, say_(moodle_xml_texts::text("readOnlyUpTo")).arg(line).arg(xml.errorString())};
    }
    return bank_;
}

void XmlReader::take(const XmlQuestion& read) {
    const bool trueFalse = read.type == QLatin1String("truefalse");
    if (read.type == QLatin1String("category")) return;
    if (read.type != QLatin1String("multichoice") && !trueFalse) {
        skip(read.line, say_(moodle_xml_texts::text("questionTypeNotTaken")).arg(read.type));
        return;
    }
    BankQuestion question;
    question.line = read.line;
    // Moodle 1.9's picture: its name without any folder, its bytes when the file holds them.
    const QString image = QString(read.image)
                              .replace(QLatin1Char('\\'), QLatin1Char('/'))
                              .section(QLatin1Char('/'), -1);
    if (!image.isEmpty()) question.pictures.append(image);
    question.text = tidyLines(plainText(read.text, &question.pictures));
    question.files = read.text.files;
    if (!image.isEmpty() && !read.imageBase64.isEmpty())
        question.files[image] = QByteArray::fromBase64(read.imageBase64);
    question.ordered = trueFalse || isFalse(read.shuffle);
    bool pictureAnswer = false;
    if (trueFalse) {
        question.answers = trueFalse_;
        question.weights = {Decimal(), Decimal()};
        for (const XmlAnswer& answer : read.answers) {
            const bool isTrue =
                answer.text.text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
            question.weights[isTrue ? 0 : 1] = answer.fraction;
        }
    } else {
        for (const XmlAnswer& answer : read.answers) {
            QStringList pictures;
            const QString shown = plainText(answer.text, &pictures).simplified();
            pictureAnswer = pictureAnswer || (shown.isEmpty() && !pictures.isEmpty());
            question.answers.append(shown);
            question.weights.push_back(answer.fraction);
        }
    }
    if (pictureAnswer) {
        skip(read.line, say_(bank_import_texts::text("answersArePictures")));
    } else if (question.text.isEmpty()) {
        skip(read.line, say_(moodle_xml_texts::text("questionHasNoText")));
    } else if (question.answers.size() < 2 || question.answers.contains(QString())) {
        skip(read.line, say_(moodle_xml_texts::text("fewerThanTwoOptions")));
    } else {
        bank_.questions.push_back(std::move(question));
    }
}

} // namespace

QuestionBank parseMoodleXml(const QByteArray& bytes, const QStringList& trueFalse,
                            const Wording& say) {
    return XmlReader(trueFalse, say).read(bytes);
}

} // namespace teacher_tools
