#pragma once
// A test on disk: the folder "t/NAME" of the application folder holding NAME.tst (INI
// form: section "v" with the name and the three thresholds, one section per question
// with its answers and points), the question texts vt1.txt, vt2.txt, ... and the three
// conclusions v1.txt, v3.txt, v2.txt (conclusion 1, 2, 3 in that order of files).
//
// A test name is a single safe folder name: a name that would reach outside "t" (a path
// separator, "..", a drive) or that Windows could not store yields no paths at all, so
// nothing is ever read or written for it.

#include "platform/app_context.h"
#include "platform/file_access.h"

#include <QString>
#include <array>
#include <optional>

namespace questionnaire_files {

inline constexpr int kAnswers = 5;
inline constexpr int kConclusions = 3;
inline constexpr int kMaxQuestion = 32767;
inline const QString kHeaderSection = QStringLiteral("v");

// True for a name a test may have (and so a folder "t" may hold).
bool isTestName(const QString& name);

// The folder "t" of the application folder, where every test lives.
QString testsFolder(const platform::AppContext& app);
// The test's folder, found without regard to case; empty for a name that is no test name.
QString testFolder(const platform::AppContext& app, const QString& name);
// NAME.tst in the test's folder; empty for a name that is no test name.
QString definitionPath(const platform::AppContext& app, const QString& name);
// "vt" & N & ".txt" in the test's folder, N as given; empty when that is no plain file
// name or the name is no test name.
QString questionFilePath(const platform::AppContext& app, const QString& name,
                         const QString& number);
// v1.txt, v3.txt, v2.txt for conclusion 1, 2, 3; empty for a name that is no test name.
QString conclusionFilePath(const platform::AppContext& app, const QString& name, int conclusion);

struct Header {
    QString name;                                   // key t
    std::array<QString, kConclusions> thresholds{}; // keys t1, t2, t3
};
// Section "v" of a .tst file; missing keys read as empty.
Header readHeader(const QString& definition);

struct Question {
    std::array<QString, kAnswers> answers{}; // keys q1 .. q5
    std::array<QString, kAnswers> points{};  // keys b1 .. b5
};
// The section named `number`; missing keys read as empty.
Question readQuestion(const QString& definition, const QString& number);
// Writes q1 .. q5, then b1 .. b5 into the section `number`, all or none.
platform::WriteResult writeQuestion(const QString& definition, const QString& number,
                                    const Question& question);
// The same, saved together with the question's text `file` (vtN.txt, `text` followed by
// CR LF): both or neither.
platform::WriteResult writeQuestionAndText(const QString& definition, const QString& number,
                                           const Question& question, const QString& file,
                                           const QString& text);

// The whole file, its final line end included; empty optional when it cannot be read.
std::optional<QString> readTextFile(const QString& path);
// Replaces the file with `text` followed by CR LF. False when it could not be written.
platform::WriteResult writeTextFile(const QString& path, const QString& text);

// The number of questions: how many of vt1.txt, vt2.txt, ... exist without a gap. Other
// files a folder picks up (Thumbs.db, desktop.ini, a backup copy) do not count.
int countQuestions(const QString& testFolder);

// The question number a text stands for: a whole number 1 .. 32767; nothing otherwise.
std::optional<int> questionNumber(const QString& text);

} // namespace questionnaire_files
