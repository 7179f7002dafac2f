#pragma once
// Reading a scenario file into commands: one command a line, words separated by blanks,
// double-quoted words with \" \\ \r \n \t escapes.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace scenario {

// Every command of the language.
enum class Verb {
    Folder,
    File,
    Bytes,
    Bitmap,
    Remove,
    Ini,
    Clock,
    Locale,
    Random,
    Dialog,
    Start,
    Type,
    Click,
    Choose,
    FolderList,
    Hover,
    Tick,
    Expect,
    Message,
    MessageLike,
    NoMessage,
    Shell,
    Clipboard,
    ExpectFile,
    ExpectBytes,
    Contains,
    NoFile,
    ExpectIni,
    Ended,
    Snapshot,
    Status,
};

struct Word {
    QString text;
    bool quoted = false;
};

struct Command {
    int line = 0;
    Verb verb = Verb::Start;
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
// parser's table is the one list of commands; the runner carries out each Verb.
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
