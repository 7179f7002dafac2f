#pragma once
// What the checker and the importers tell a teacher: one finding per problem, naming the
// file (or folder) it is about, in the interface language.

#include "common/language.h"

#include <QString>
#include <vector>

namespace teacher_tools {

struct Finding {
    QString path;    // full path of the file or folder concerned (it may be missing)
    QString code;    // a stable name for the kind of problem ("answer-not-a-variant")
    QString message; // what is wrong and what it does to an exam, in the user's language
    // A text file in UTF-8 or UTF-16 that can be rewritten in Windows-1251.
    bool convertible = false;
    QString folder; // the exam or test folder checked, when the finding comes from a check
};

using Findings = std::vector<Finding>;

// Messages in the interface language, by the one rule of texts::say (a check is never
// silent).
class Wording {
public:
    explicit Wording(const QString& language);
    QString operator()(const char* russian, const char* english) const;
    QString operator()(const texts::Text& text) const;
    const QString& language() const { return language_; }

private:
    QString language_;
};

} // namespace teacher_tools

#include <optional>

namespace teacher_tools {

// A whole number from min to max written as a text ("12", " 3 "); nothing for any other
// text (a fraction, a word, a number out of range).
std::optional<int> wholeNumber(const QString& text, int min, int max);

// The text with its characters that Windows-1251 cannot hold: the first one, or nothing.
std::optional<QString> firstUnwritableCharacter(const QString& text);

// Adds a finding when the text file is not in Windows-1251 (UTF-8 with or without its
// byte-order mark, UTF-16): the program would show its Russian letters garbled.
void checkEncoding(const QString& path, Findings& findings, const Wording& say);

} // namespace teacher_tools
