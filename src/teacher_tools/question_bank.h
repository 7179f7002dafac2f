#pragma once
// Question banks in Moodle's formats, read into plain questions: Aiken (a question,
// lettered options, "ANSWER: B"), the multiple-choice and true/false questions of GIFT
// ("::title:: text { =right ~wrong ~%50%half }") and of Moodle XML (a Moodle export,
// pictures inside). Whatever cannot become a question with a list of answers (essays,
// short answers, matching, numbers, descriptions) is skipped and named with its line.
// Each reader follows Moodle's own reading of its format.

#include "common/decimal.h"
#include "teacher_tools/findings.h"

#include <QByteArray>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace teacher_tools {

struct BankQuestion {
    int line = 0;                        // the question's first line in the file
    QString text;                        // the question, its lines joined by CR LF
    QStringList answers;                 // each a single line
    std::vector<Decimal> weights;        // one per answer, in percent: 100 right, 0 wrong
    QStringList pictures;                // picture files the question refers to, by name
    std::map<QString, QByteArray> files; // files the bank itself holds, by name (XML)
    bool ordered = false; // the answers' order means something (letters, true then false)
};

// A question left out, or a remark on one that was taken.
struct BankNote {
    int line = 0;
    QString text;
};

struct QuestionBank {
    std::vector<BankQuestion> questions;
    std::vector<BankNote> skipped;
    // Where a file that stops being well-formed stops being read (Moodle XML), and why;
    // every question after it is unread.
    std::optional<BankNote> stopped;
};

enum class BankFormat { Aiken, Gift, MoodleXml };

// Moodle XML when the text is an XML document, GIFT when it holds an answer block in
// braces, Aiken otherwise.
BankFormat guessFormat(const QString& text);

QuestionBank parseAiken(const QString& text, const Wording& say);
// `trueFalse` names the two answers a true/false question gets ("Верно", "Неверно").
QuestionBank parseGift(const QString& text, const QStringList& trueFalse, const Wording& say);
// The bytes of a Moodle XML file: its declaration says how they are encoded.
QuestionBank parseMoodleXml(const QByteArray& bytes, const QStringList& trueFalse,
                            const Wording& say);

} // namespace teacher_tools
