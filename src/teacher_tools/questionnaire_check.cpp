#include "teacher_tools/questionnaire_check.h"

#include "common/decimal.h"
#include "platform/app_context.h"
#include "platform/folders.h"
#include "teacher_tools/questionnaire_check_texts.h"
#include "tester/questionnaire_files.h"
#include "tester/scoring.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace teacher_tools {

namespace {

const char* const kConclusionFiles[questionnaire_files::kConclusions] = {"v1.txt", "v3.txt",
                                                                         "v2.txt"};

Decimal storedValue(const QString& text) {
    return Decimal::parse(scoring::storedFieldNumber(text)).value_or(Decimal());
}

class TestChecker {
public:
    TestChecker(const platform::AppContext& app, const QString& folder, const Wording& say)
        : app_(app), folder_(QDir::cleanPath(folder)), name_(QFileInfo(folder_).fileName()),
          say_(say) {}
    Findings run();

private:
    void add(const QString& path, const char* code, const QString& message) {
        found_.push_back({path, QString::fromLatin1(code), message, false, {}});
    }
    QString questionFile(int n) const {
        return platform::childPath(folder_, QStringLiteral("vt%1.txt").arg(n));
    }
    bool findDefinition();
    void checkThresholds();
    void checkQuestion(int n);
    void checkQuestionsAfter(int count);
    void checkConclusions();

    const platform::AppContext& app_;
    QString folder_;
    QString name_;
    const Wording& say_;
    Findings found_;
    QString definition_;
    std::array<Decimal, questionnaire_files::kConclusions> thresholds_{};
    Decimal highest_; // the largest total a student can reach
};

Findings TestChecker::run() {
    if (!findDefinition()) return found_;
    checkEncoding(definition_, found_, say_);
    const questionnaire_files::Header header = questionnaire_files::readHeader(definition_);
    if (header.name != name_) {
        add(definition_, "test-name-mismatch",
            say_(questionnaire_check_texts::text("keyTSectionV")).arg(header.name, name_));
    }
    for (int k = 0; k < questionnaire_files::kConclusions; ++k)
        thresholds_[std::size_t(k)] = storedValue(header.thresholds[std::size_t(k)]);
    for (int k = 0; k < questionnaire_files::kConclusions; ++k) {
        const QString& text = header.thresholds[std::size_t(k)];
        if (scoring::checkFieldNumber(text) == scoring::FieldNumber::Kept) continue;
        add(definition_, "threshold-not-numeric",
            say_(questionnaire_check_texts::text("thresholdNoNumberFrom")).arg(k + 1).arg(text));
    }
    const int count = questionnaire_files::countQuestions(folder_);
    if (count == 0) {
        add(questionFile(1), "no-questions",
            say_(questionnaire_check_texts::text("testHasNoQuestion")));
    }
    for (int n = 1; n <= count; ++n)
        checkQuestion(n);
    checkQuestionsAfter(count);
    checkThresholds();
    if (count > 0 && highest_ > thresholds_[2]) {
        add(definition_, "total-above-thresholds",
            say_(questionnaire_check_texts::text("largestPossibleTotalAbove"))
                .arg(highest_.toText(app_.locale().decimalSeparator()),
                     thresholds_[2].toText(app_.locale().decimalSeparator())));
    }
    checkConclusions();
    return found_;
}

bool TestChecker::findDefinition() {
    const QString wanted = name_ + QStringLiteral(".tst");
    const QString stored = platform::lookUpName(folder_, wanted);
    definition_ = QDir(folder_).filePath(stored.isEmpty() ? wanted : stored);
    if (!stored.isEmpty() && QFileInfo(definition_).isFile()) return true;
    add(definition_, "definition-missing",
        say_(questionnaire_check_texts::text("missingTestSFile")).arg(wanted));
    return false;
}

void TestChecker::checkThresholds() {
    const Decimal t1 = thresholds_[0], t2 = thresholds_[1], t3 = thresholds_[2];
    const QChar separator = app_.locale().decimalSeparator();
    const QString values =
        QStringLiteral("%1; %2; %3")
            .arg(t1.toText(separator), t2.toText(separator), t3.toText(separator));
    // Conclusion 2 takes totals from t1 (exclusive) up to t2 and t3; conclusion 3 those
    // above t2 up to t3. Thresholds that do not rise strictly leave them empty.
    const bool secondReachable = t1 < t2 && t1 < t3;
    const bool thirdReachable = t2 < t3 && t1 <= t3;
    for (const auto& [reachable, number] : {std::pair{secondReachable, 2}, {thirdReachable, 3}}) {
        if (reachable) continue;
        add(definition_, "conclusion-unreachable",
            say_(questionnaire_check_texts::text("conclusionCanNeverBe")).arg(number).arg(values));
    }
}

void TestChecker::checkQuestion(int n) {
    checkEncoding(questionFile(n), found_, say_);
    const questionnaire_files::Question question =
        questionnaire_files::readQuestion(definition_, QString::number(n));
    std::optional<Decimal> most;
    int firstEmpty = 0;
    for (int k = 1; k <= questionnaire_files::kAnswers; ++k) {
        const QString& answer = question.answers[std::size_t(k - 1)];
        const QString& points = question.points[std::size_t(k - 1)];
        if (answer.isEmpty()) {
            if (firstEmpty == 0) firstEmpty = k;
            continue;
        }
        if (firstEmpty != 0) {
            add(definition_, "answer-after-empty",
                say_(questionnaire_check_texts::text("questionAnswerFollowsEmpty"))
                    .arg(n)
                    .arg(k)
                    .arg(firstEmpty));
        }
        if (scoring::checkFieldNumber(points) != scoring::FieldNumber::Kept) {
            add(definition_, "points-not-numeric",
                say_(questionnaire_check_texts::text("questionAnswerPointsAre"))
                    .arg(n)
                    .arg(k)
                    .arg(points));
        }
        const Decimal value = storedValue(points);
        most = most ? std::max(*most, value) : value;
    }
    if (!most) {
        add(definition_, "question-no-answers",
            say_(questionnaire_check_texts::text("questionHasNoAnswer")).arg(n));
        return;
    }
    highest_ = Decimal::add(highest_, *most).value_or(highest_);
}

void TestChecker::checkQuestionsAfter(int count) {
    // Questions are counted as vt1.txt, vt2.txt, ... without a gap: a question file after a
    // gap, or answers in the .tst for the next number, point at a file that is missing.
    static const QRegularExpression pattern(QStringLiteral("^vt([1-9][0-9]{0,4})\\.txt$"),
                                            QRegularExpression::CaseInsensitiveOption);
    bool beyond = false;
    for (const QString& name : platform::GetFolders(folder_)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch() &&
            wholeNumber(match.captured(1), count + 2, questionnaire_files::kMaxQuestion))
            beyond = true;
    }
    const questionnaire_files::Question next =
        questionnaire_files::readQuestion(definition_, QString::number(count + 1));
    for (const QString& answer : next.answers)
        beyond = beyond || !answer.isEmpty();
    if (!beyond) return;
    add(questionFile(count + 1), "question-file-missing",
        say_(questionnaire_check_texts::text("vtTxtMissingQuestion")).arg(count + 1));
}

void TestChecker::checkConclusions() {
    for (int k = 1; k <= questionnaire_files::kConclusions; ++k) {
        const QString file = QString::fromLatin1(kConclusionFiles[k - 1]);
        const QString path = platform::childPath(folder_, file);
        if (QFileInfo(path).isFile()) {
            checkEncoding(path, found_, say_);
            continue;
        }
        add(path, "conclusion-missing",
            say_(questionnaire_check_texts::text("fileConclusionMissing")).arg(file).arg(k));
    }
}

} // namespace

bool looksLikeTestFolder(const QString& folder) {
    for (const QString& name : platform::GetFolders(folder)) {
        if (name.endsWith(QLatin1String(".tst"), Qt::CaseInsensitive) &&
            QFileInfo(QDir(folder).filePath(name)).isFile()) {
            return true;
        }
    }
    return false;
}

Findings checkTestFolder(const platform::AppContext& app, const QString& folder,
                         const Wording& say) {
    return TestChecker(app, folder, say).run();
}

} // namespace teacher_tools
