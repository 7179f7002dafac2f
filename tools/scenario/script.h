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

// `text` as a quoted word of the language, escapes and all: the parser reads it back as
// `text`.
QString quoted(const QString& text);

// Splits one line into words; a ParseError (line 0) for a malformed quoted text.
std::optional<std::vector<Word>> splitWords(const QString& line, QString* error);

// How many words a command takes; -1 for no limit. Empty for an unknown command. The
// runner's command table answers this, so the parser and the runner know one list.
struct Arity {
    int least = 0;
    int most = 0;
};
std::optional<Arity> commandArity(const QString& name);

// The commands of a whole file; the first error when a line cannot be read.
struct Script {
    std::vector<Command> commands;
    std::optional<ParseError> error;
};
Script parseScript(const QString& text);

} // namespace scenario
