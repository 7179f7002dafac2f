#pragma once
// Reading a scenario file into commands: one command a line, words separated by blanks,
// double-quoted words with \" \\ \r \n \t escapes.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace scenario {

struct Word {
    QString text;
    bool quoted = false;
};

struct Command {
    int line = 0;
    QString name;
    std::vector<Word> args;
};

struct ParseError {
    int line = 0;
    QString what;
};

// Splits one line into words; a ParseError (line 0) for a malformed quoted text.
std::optional<std::vector<Word>> splitWords(const QString& line, QString* error);

// The commands of a whole file; the first error when a line cannot be read.
struct Script {
    std::vector<Command> commands;
    std::optional<ParseError> error;
};
Script parseScript(const QString& text);

} // namespace scenario
