// The scenario parser on any text: it either names the first line it cannot read or gives
// commands the runner knows with as many words as they take, and every quoted word, quoted
// again, reads back as itself.

#include "fuzz_entry.h"

#include "script.h"

using namespace scenario;

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const Script script = parseScript(text);
    if (script.error) {
        fuzzCheck(script.error->line >= 1, "an error names no line");
        fuzzCheck(!script.error->what.isEmpty(), "an error says nothing");
        return 0;
    }
    for (const Command& command : script.commands) {
        const std::optional<Arity> arity = commandArity(command.name);
        fuzzCheck(arity.has_value(), "an unknown command was accepted");
        const int words = int(command.args.size());
        fuzzCheck(words >= arity->least && (arity->most < 0 || words <= arity->most),
                  "a command has the wrong number of words");
        for (const Word& word : command.args) {
            if (!word.quoted) continue;
            QString error;
            const auto again = splitWords(quoted(word.text), &error);
            fuzzCheck(again && again->size() == 1 && again->front().text == word.text,
                      "a quoted word does not read back");
        }
    }
    return 0;
}
