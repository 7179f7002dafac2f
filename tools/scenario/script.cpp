#include "script.h"

namespace scenario {

namespace {

struct Syntax {
    const char* name;
    Verb verb;
    Arity arity;
};

// Every command of the language: its name and how many words it takes.
const Syntax kSyntax[] = {
    {"folder", Verb::Folder, {1, 1}},
    {"file", Verb::File, {2, 2}},
    {"bytes", Verb::Bytes, {1, -1}},
    {"bitmap", Verb::Bitmap, {3, 3}},
    {"remove", Verb::Remove, {1, 1}},
    {"ini", Verb::Ini, {3, 3}},
    {"clock", Verb::Clock, {1, 1}},
    {"locale", Verb::Locale, {1, 1}},
    {"random", Verb::Random, {1, -1}},
    {"dialog", Verb::Dialog, {1, 1}},
    {"start", Verb::Start, {0, 0}},
    {"type", Verb::Type, {2, 2}},
    {"click", Verb::Click, {1, 1}},
    {"choose", Verb::Choose, {2, 2}},
    {"folderlist", Verb::FolderList, {2, 2}},
    {"hover", Verb::Hover, {1, 1}},
    {"tick", Verb::Tick, {1, 2}},
    {"expect", Verb::Expect, {2, 2}},
    {"message", Verb::Message, {1, 2}},
    {"message-like", Verb::MessageLike, {1, 1}},
    {"nomessage", Verb::NoMessage, {0, 0}},
    {"shell", Verb::Shell, {1, 1}},
    {"clipboard", Verb::Clipboard, {1, 1}},
    {"expect-file", Verb::ExpectFile, {2, 2}},
    {"expect-bytes", Verb::ExpectBytes, {1, -1}},
    {"contains", Verb::Contains, {2, 2}},
    {"nofile", Verb::NoFile, {1, 1}},
    {"expect-ini", Verb::ExpectIni, {3, 3}},
    {"ended", Verb::Ended, {0, 0}},
    {"snapshot", Verb::Snapshot, {1, 1}},
    {"status", Verb::Status, {2, 2}},
};

const Syntax* findSyntax(const QString& name) {
    for (const Syntax& entry : kSyntax) {
        if (name == QLatin1String(entry.name)) return &entry;
    }
    return nullptr;
}

} // namespace

std::optional<Arity> commandArity(const QString& name) {
    const Syntax* entry = findSyntax(name);
    if (!entry) return std::nullopt;
    return entry->arity;
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"))
        .replace(QLatin1String("\""), QLatin1String("\\\""))
        .replace(QLatin1String("\r"), QLatin1String("\\r"))
        .replace(QLatin1String("\n"), QLatin1String("\\n"))
        .replace(QLatin1String("\t"), QLatin1String("\\t"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

std::optional<std::vector<Word>> splitWords(const QString& line, QString* error) {
    std::vector<Word> words;
    int i = 0;
    const int n = int(line.size());
    while (i < n) {
        while (i < n && line.at(i).isSpace())
            ++i;
        if (i >= n) break;
        Word word;
        if (line.at(i) == QLatin1Char('"')) {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line.at(i);
                if (c == QLatin1Char('"')) {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == QLatin1Char('\\')) {
                    if (i + 1 >= n) {
                        *error = QStringLiteral("a quoted text ends in a lone backslash");
                        return std::nullopt;
                    }
                    const QChar e = line.at(i + 1);
                    if (e == QLatin1Char('"'))
                        word.text += QLatin1Char('"');
                    else if (e == QLatin1Char('\\'))
                        word.text += QLatin1Char('\\');
                    else if (e == QLatin1Char('r'))
                        word.text += QLatin1Char('\r');
                    else if (e == QLatin1Char('n'))
                        word.text += QLatin1Char('\n');
                    else if (e == QLatin1Char('t'))
                        word.text += QLatin1Char('\t');
                    else {
                        *error = QStringLiteral("unknown escape \\%1 in a quoted text").arg(e);
                        return std::nullopt;
                    }
                    i += 2;
                    continue;
                }
                word.text += c;
                ++i;
            }
            if (!closed) {
                *error = QStringLiteral("a quoted text is not closed");
                return std::nullopt;
            }
            if (i < n && !line.at(i).isSpace()) {
                *error = QStringLiteral("a quoted text runs into the next word");
                return std::nullopt;
            }
        } else {
            while (i < n && !line.at(i).isSpace()) {
                if (line.at(i) == QLatin1Char('"')) {
                    *error = QStringLiteral("a quote inside a word");
                    return std::nullopt;
                }
                word.text += line.at(i++);
            }
        }
        words.push_back(word);
    }
    return words;
}

Script parseScript(const QString& text) {
    Script script;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int index = 0; index < lines.size(); ++index) {
        QString line = lines.at(index);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        const int number = index + 1;
        QString error;
        auto words = splitWords(line, &error);
        if (!words) {
            script.error = ParseError{number, error};
            return script;
        }
        Command command;
        command.line = number;
        command.name = words->front().text;
        command.args.assign(words->begin() + 1, words->end());
        const Syntax* syntax = findSyntax(command.name);
        if (words->front().quoted || !syntax) {
            script.error =
                ParseError{number, QStringLiteral("unknown command \"%1\"").arg(command.name)};
            return script;
        }
        command.verb = syntax->verb;
        const int count = int(command.args.size());
        const Arity arity = syntax->arity;
        if (count < arity.least || (arity.most >= 0 && count > arity.most)) {
            script.error = ParseError{
                number, QStringLiteral("wrong number of words for \"%1\"").arg(command.name)};
            return script;
        }
        script.commands.push_back(command);
    }
    return script;
}

} // namespace scenario
