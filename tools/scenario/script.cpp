#include "script.h"

#include <QHash>

namespace scenario {

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

namespace {
// How many words each command takes: {least, most}; -1 for no limit.
const QHash<QString, QPair<int, int>>& arities() {
    static const QHash<QString, QPair<int, int>> table{
        {"folder", {1, 1}},        {"file", {2, 2}},         {"bytes", {1, -1}},
        {"bitmap", {3, 3}},        {"remove", {1, 1}},       {"ini", {3, 3}},
        {"clock", {1, 1}},         {"locale", {1, 1}},       {"random", {1, -1}},
        {"dialog", {1, 1}},        {"start", {0, 0}},        {"type", {2, 2}},
        {"click", {1, 1}},         {"choose", {2, 2}},       {"folderlist", {2, 2}},
        {"hover", {1, 1}},         {"tick", {1, 2}},         {"expect", {2, 2}},
        {"message", {1, 2}},       {"message-like", {1, 1}}, {"nomessage", {0, 0}},
        {"shell", {1, 1}},         {"clipboard", {1, 1}},    {"expect-file", {2, 2}},
        {"expect-bytes", {1, -1}}, {"contains", {2, 2}},     {"nofile", {1, 1}},
        {"expect-ini", {3, 3}},    {"ended", {0, 0}},        {"snapshot", {1, 1}},
    };
    return table;
}
} // namespace

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
        auto arity = arities().find(command.name);
        if (words->front().quoted || arity == arities().end()) {
            script.error =
                ParseError{number, QStringLiteral("unknown command \"%1\"").arg(command.name)};
            return script;
        }
        const int count = int(command.args.size());
        if (count < arity->first || (arity->second >= 0 && count > arity->second)) {
            script.error = ParseError{
                number, QStringLiteral("wrong number of words for \"%1\"").arg(command.name)};
            return script;
        }
        script.commands.push_back(command);
    }
    return script;
}

} // namespace scenario
