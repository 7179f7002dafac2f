#include "tester/questionnaire_files.h"

#include "common/decimal.h"
#include "common/settings_file.h"
#include "platform/ansi_codec.h"
#include "platform/folders.h"
#include "platform/text_files.h"

#include <QSet>
#include <QStringList>

namespace questionnaire_files {

namespace {

QString key(char letter, int n) { return QLatin1Char(letter) + QString::number(n); }

} // namespace

bool isTestName(const QString& name) {
    // The folder and the .tst file inside it both carry the name.
    return platform::isSafeNewName(name) && platform::isSafeNewName(name + QStringLiteral(".tst"));
}

QString testsFolder(const platform::AppContext& app) { return app.path(QStringLiteral("t")); }

QString testFolder(const platform::AppContext& app, const QString& name) {
    if (!isTestName(name)) return {};
    return platform::childPath(testsFolder(app), name);
}

QString definitionPath(const platform::AppContext& app, const QString& name) {
    const QString folder = testFolder(app, name);
    if (folder.isEmpty()) return {};
    return platform::childPath(folder, name + QStringLiteral(".tst"));
}

QString questionFilePath(const platform::AppContext& app, const QString& name,
                         const QString& number) {
    const QString folder = testFolder(app, name);
    if (folder.isEmpty()) return {};
    // childPath refuses anything but a plain name, so a number such as "1/../.." cannot
    // lead out of the test's folder.
    return platform::childPath(folder, QStringLiteral("vt") + number + QStringLiteral(".txt"));
}

QString conclusionFilePath(const platform::AppContext& app, const QString& name, int conclusion) {
    static const char* const kFiles[kConclusions] = {"v1.txt", "v3.txt", "v2.txt"};
    const QString folder = testFolder(app, name);
    if (folder.isEmpty() || conclusion < 1 || conclusion > kConclusions) return {};
    return platform::childPath(folder, QString::fromLatin1(kFiles[conclusion - 1]));
}

Header readHeader(const QString& definition) {
    Header header;
    header.name = GetValueString(kHeaderSection, QStringLiteral("t"), definition);
    for (int k = 1; k <= kConclusions; ++k)
        header.thresholds[std::size_t(k - 1)] =
            GetValueString(kHeaderSection, key('t', k), definition);
    return header;
}

Question readQuestion(const QString& definition, const QString& number) {
    Question question;
    for (int k = 1; k <= kAnswers; ++k) {
        question.answers[std::size_t(k - 1)] = GetValueString(number, key('q', k), definition);
        question.points[std::size_t(k - 1)] = GetValueString(number, key('b', k), definition);
    }
    return question;
}

namespace {
// q1..q5, then b1..b5, in one store: a question is saved whole or not at all.
QList<platform::ProfileEntry> entriesOf(const Question& question) {
    QList<platform::ProfileEntry> entries;
    for (int k = 1; k <= kAnswers; ++k)
        entries.append({key('q', k), question.answers[std::size_t(k - 1)]});
    for (int k = 1; k <= kAnswers; ++k)
        entries.append({key('b', k), question.points[std::size_t(k - 1)]});
    return entries;
}
} // namespace

platform::WriteResult writeQuestion(const QString& definition, const QString& number,
                                    const Question& question) {
    return SetValues(number, entriesOf(question), definition);
}

platform::WriteResult writeQuestionAndText(const QString& definition, const QString& number,
                                           const Question& question, const QString& file,
                                           const QString& text) {
    return platform::writeProfileStringsWith(
        definition, number, entriesOf(question),
        {{file, platform::toAnsi(text) + QByteArrayLiteral("\r\n")}});
}

std::optional<QString> readTextFile(const QString& path) { return platform::readWholeFile(path); }

platform::WriteResult writeTextFile(const QString& path, const QString& text) {
    return platform::replaceWholeFile(path, text);
}

int countQuestions(const QString& testFolder) {
    QSet<QString> names;
    for (const QString& entry : platform::GetFolders(testFolder))
        names.insert(entry.toLower());
    int count = 0;
    while (count < kMaxQuestion && names.contains(QStringLiteral("vt%1.txt").arg(count + 1)))
        ++count;
    return count;
}

std::optional<int> questionNumber(const QString& text) {
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value || value->units() % Decimal::kScale != 0) return std::nullopt;
    const std::int64_t whole = value->units() / Decimal::kScale;
    if (whole < 1 || whole > kMaxQuestion) return std::nullopt;
    return int(whole);
}

} // namespace questionnaire_files
