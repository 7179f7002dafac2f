#pragma once
// What every question a bank reader takes must be, whatever bytes it read: one an exam
// could hold: a text, answers each a single non-empty line, one weight an answer.

#include "fuzz_entry.h"

#include "teacher_tools/question_bank.h"

inline void checkBank(const teacher_tools::QuestionBank& bank) {
    for (const teacher_tools::BankQuestion& question : bank.questions) {
        fuzzCheck(!question.text.isEmpty(), "a question without text");
        fuzzCheck(question.answers.size() == qsizetype(question.weights.size()),
                  "answers and weights differ in number");
        for (const QString& answer : question.answers) {
            fuzzCheck(!answer.isEmpty(), "an empty answer");
            fuzzCheck(!answer.contains(QLatin1Char('\n')) && !answer.contains(QLatin1Char('\r')),
                      "an answer of several lines");
        }
    }
}
