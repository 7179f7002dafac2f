// The Moodle XML reader alone on any bytes, its seeds the shapes a file from anywhere may
// take: Moodle's exports old and new, a file broken half-way, text nested a hundred
// thousand elements deep. Nothing may crash, every question taken must be one an exam
// could hold, and a file that stops being well-formed says a line it has.

#include "question_bank_checks.h"

#include <algorithm>

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const teacher_tools::Wording say(QStringLiteral("eng"));
    const QStringList trueFalse{QStringLiteral("True"), QStringLiteral("False")};
    const teacher_tools::QuestionBank bank = teacher_tools::parseMoodleXml(bytes, trueFalse, say);
    checkBank(bank);
    if (bank.stopped) {
        const qsizetype lines = std::max(bytes.count('\n'), bytes.count('\r')) + 1;
        fuzzCheck(bank.stopped->line >= 1 && bank.stopped->line <= lines,
                  "a break outside the file's lines");
    }
    return 0;
}
