// Runs a fuzz target's checked-in inputs once each, so that the inputs that found faults
// stay tests in every build, without clang or libFuzzer:
//   proveron_fuzz_seeds TARGET FOLDER

#include "fuzz_entry.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <map>
#include <string>

extern "C" int fuzzProfile(const std::uint8_t*, std::size_t);
extern "C" int fuzzAnsiCodec(const std::uint8_t*, std::size_t);
extern "C" int fuzzExamFiles(const std::uint8_t*, std::size_t);
extern "C" int fuzzScenarioParser(const std::uint8_t*, std::size_t);
extern "C" int fuzzQuestionBanks(const std::uint8_t*, std::size_t);
extern "C" int fuzzMoodleXml(const std::uint8_t*, std::size_t);

int main(int argc, char** argv) {
    const std::map<std::string, int (*)(const std::uint8_t*, std::size_t)> targets = {
        {"profile", fuzzProfile},
        {"ansi_codec", fuzzAnsiCodec},
        {"exam_files", fuzzExamFiles},
        {"scenario_parser", fuzzScenarioParser},
        {"question_banks", fuzzQuestionBanks},
        {"moodle_xml", fuzzMoodleXml}};
    if (argc != 3 || !targets.count(argv[1])) {
        std::fprintf(stderr, "usage: %s TARGET FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    const QStringList inputs = folder.entryList(QDir::Files, QDir::Name);
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "no inputs in %s\n", argv[2]);
        return 2;
    }
    for (const QString& name : inputs) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) return 2;
        const QByteArray bytes = file.readAll();
        targets.at(argv[1])(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            std::size_t(bytes.size()));
    }
    std::printf("%lld inputs passed\n", static_cast<long long>(inputs.size()));
    return 0;
}
