// The question bank readers on any bytes, as a teacher's file from anywhere: GIFT, Aiken
// and Moodle XML, and the HTML they share. Nothing may crash, and every question taken
// must be one an exam could hold (question_bank_checks.h).

#include "question_bank_checks.h"

#include "platform/text_encoding.h"
#include "teacher_tools/bank_text.h"

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = platform::decodeDetected(bytes);
    const teacher_tools::Wording say(QStringLiteral("rus"));
    const QStringList trueFalse{QStringLiteral("Верно"), QStringLiteral("Неверно")};
    checkBank(teacher_tools::parseGift(text, trueFalse, say));
    checkBank(teacher_tools::parseAiken(text, say));
    checkBank(teacher_tools::parseMoodleXml(bytes, trueFalse, say));
    teacher_tools::guessFormat(text);
    QString html = text;
    teacher_tools::takePictures(html);
    fuzzCheck(teacher_tools::withoutHtml(html).size() <= html.size() * 2 + 1,
              "HTML grew beyond its references");
    return 0;
}
