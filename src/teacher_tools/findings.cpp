#include "teacher_tools/findings.h"

#include "common/decimal.h"
#include "common/language.h"
#include "exam_content/exam_writer.h"
#include "platform/text_encoding.h"
#include "teacher_tools/findings_texts.h"

namespace teacher_tools {

Wording::Wording(const QString& language) : language_(language) {}

QString Wording::operator()(const texts::Text& text) const { return texts::say(language_, text); }

QString Wording::operator()(const char* russian, const char* english) const {
    return texts::say(language_, russian, english);
}

std::optional<int> wholeNumber(const QString& text, int min, int max) {
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value || value->units() % Decimal::kScale != 0) return std::nullopt;
    const std::int64_t whole = value->units() / Decimal::kScale;
    if (whole < min || whole > max) return std::nullopt;
    return int(whole);
}

std::optional<QString> firstUnwritableCharacter(const QString& text) {
    return exam_writer::firstUnwritableCharacter(text);
}

} // namespace teacher_tools

namespace teacher_tools {

void checkEncoding(const QString& path, Findings& findings, const Wording& say) {
    const std::optional<QByteArray> bytes = platform::readBytes(path);
    if (!bytes) return;
    QString what;
    switch (platform::detectEncoding(*bytes)) {
    case platform::TextEncoding::Ansi:
        return;
    case platform::TextEncoding::Utf8:
        what = say(findings_texts::text("fileSavedUtf"));
        break;
    case platform::TextEncoding::Utf8Bom:
        what = say(findings_texts::text("fileSavedUtfWith"));
        break;
    case platform::TextEncoding::Utf16Bom:
        what = say(findings_texts::text("fileSavedUtf2"));
        break;
    }
    findings.push_back({path,
                        QStringLiteral("not-windows-1251"),
                        what + say(findings_texts::text("butProgramReadsWindows")),
                        true,
                        {}});
}

} // namespace teacher_tools
