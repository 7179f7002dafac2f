// The readers of exam folders and test files on any file content. The first byte picks
// the file, the rest is its content: the marker file, a question, its variants, its answer,
// its picture, a test's .tst file or one of its texts. Nothing may crash, and what is read
// must be what the file holds.

#include "fuzz_entry.h"

#include "common/decimal.h"
#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"
#include "forms/app.h"
#include "platform/ansi_codec.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "tester/questionnaire_files.h"
#include "tester/scoring.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct Folder {
    QTemporaryDir dir;
    platform::FakeDesktop desktop;
    App app{dir.path(), platform::Services{desktop, desktop, desktop, desktop, desktop, desktop,
                                           platform::UserLocale::russian(), desktop}};
    Folder() {
        QDir(dir.path()).mkpath(QStringLiteral("b/exam/b1"));
        QDir(dir.path()).mkpath(QStringLiteral("t/T"));
    }
    QString exam() const { return dir.path() + QStringLiteral("/b/exam"); }
    QString ticket() const { return exam() + QStringLiteral("/b1"); }
};

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzFailure("cannot write the fuzz input");
}

// The lines readLines must give: CR LF and LF end lines, a CR before the end goes too.
QStringList expectedLines(const QByteArray& bytes) {
    QStringList lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        lines << platform::fromAnsi(line);
    }
    if (bytes.isEmpty() || bytes.endsWith('\n')) lines.removeLast();
    return lines;
}

void readExam(Folder& folder, int which, const QByteArray& bytes) {
    static const char* const kFiles[] = {"/lzm.lzm", "/b1/q1.txt", "/b1/v1.txt", "/b1/o1.txt",
                                         "/b1/k1.bmp"};
    put(folder.exam() + QLatin1String(kFiles[which]), bytes);
    switch (which) {
    case 0:
        fuzzCheck(exam_folder::readExamTitle(folder.exam()) == platform::fromAnsi(bytes),
                  "the exam title is not the marker file");
        break;
    case 1:
        fuzzCheck(exam_folder::readQuestionText(folder.ticket(), 1) == platform::fromAnsi(bytes),
                  "the question is not its file");
        break;
    case 2:
        fuzzCheck(exam_folder::readVariants(folder.ticket(), 1) == expectedLines(bytes),
                  "the variants are not the file's lines");
        break;
    case 3:
        fuzzCheck(exam_folder::readAnswerLines(folder.ticket(), 1) == expectedLines(bytes),
                  "the answer lines are not the file's lines");
        break;
    default:
        exam_folder::loadPicture(folder.ticket(), 1);
    }
}

void readTest(Folder& folder, const QByteArray& bytes) {
    const QString definition = folder.dir.path() + QStringLiteral("/t/T/T.tst");
    put(definition, bytes);
    const questionnaire_files::Header header = questionnaire_files::readHeader(definition);
    fuzzCheck(header.name ==
                  platform::profileLookup(bytes, QStringLiteral("v"), QStringLiteral("t"))
                      .left(platform::kProfileValueLimit),
              "the test name is not the file's");
    const questionnaire_files::Question question =
        questionnaire_files::readQuestion(definition, QStringLiteral("1"));
    for (const QString& points : question.points)
        Decimal::parse(points);
    for (const QString& threshold : header.thresholds)
        Decimal::parse(threshold);
    questionnaire_files::countQuestions(folder.dir.path() + QStringLiteral("/t/T"));
}

} // namespace

extern "C" int PROVERON_FUZZ_ENTRY(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const int which = data[0] % 6;
    if (which < 5)
        readExam(folder, which, bytes);
    else
        readTest(folder, bytes);
    return 0;
}
