#include "teacher_tools/questionnaire_check.h"

#include "common/decimal.h"
#include "platform/app_context.h"
#include "platform/folders.h"
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
            say_("Ключ t раздела [v] — «%1», а тест называется «%2»: вопросы будут искаться "
                 "в папке «%1».",
                 "Key t of section [v] is \"%1\", but the test is called \"%2\": its questions "
                 "are looked for in the folder \"%1\".")
                .arg(header.name, name_));
    }
    for (int k = 0; k < questionnaire_files::kConclusions; ++k)
        thresholds_[std::size_t(k)] = storedValue(header.thresholds[std::size_t(k)]);
    for (int k = 0; k < questionnaire_files::kConclusions; ++k) {
        const QString& text = header.thresholds[std::size_t(k)];
        if (scoring::checkFieldNumber(text) == scoring::FieldNumber::Kept) continue;
        add(definition_, "threshold-not-numeric",
            say_("Порог %1 («%2») не число от -32768 до 32767: он читается как 0.",
                 "Threshold %1 (\"%2\") is no number from -32768 to 32767: it reads as 0.")
                .arg(k + 1)
                .arg(text));
    }
    const int count = questionnaire_files::countQuestions(folder_);
    if (count == 0) {
        add(questionFile(1), "no-questions",
            say_("В тесте нет ни одного вопроса (нет файла vt1.txt).",
                 "The test has no question (there is no vt1.txt)."));
    }
    for (int n = 1; n <= count; ++n)
        checkQuestion(n);
    checkQuestionsAfter(count);
    checkThresholds();
    if (count > 0 && highest_ > thresholds_[2]) {
        add(definition_, "total-above-thresholds",
            say_("Наибольшая возможная сумма баллов %1 больше порога 3 (%2): для неё не "
                 "найдётся заключения.",
                 "The largest possible total %1 is above threshold 3 (%2): no conclusion fits "
                 "it.")
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
        say_("Нет файла %1: файл теста должен называться по его папке.",
             "%1 is missing: a test's file is named after its folder.")
            .arg(wanted));
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
            say_("Заключение %1 никогда не будет выбрано: пороги должны возрастать, а они %2.",
                 "Conclusion %1 can never be chosen: the thresholds must rise, and they are %2.")
                .arg(number)
                .arg(values));
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
                say_("Вопрос %1: ответ %2 стоит после пустого ответа %3, в окне теста между "
                     "ними будет пропуск.",
                     "Question %1: answer %2 follows the empty answer %3; the test window shows "
                     "a gap between them.")
                    .arg(n)
                    .arg(k)
                    .arg(firstEmpty));
        }
        if (scoring::checkFieldNumber(points) != scoring::FieldNumber::Kept) {
            add(definition_, "points-not-numeric",
                say_("Вопрос %1, ответ %2: баллы «%3» не число от -32768 до 32767, они "
                     "читаются как 0.",
                     "Question %1, answer %2: the points \"%3\" are no number from -32768 to "
                     "32767; they read as 0.")
                    .arg(n)
                    .arg(k)
                    .arg(points));
        }
        const Decimal value = storedValue(points);
        most = most ? std::max(*most, value) : value;
    }
    if (!most) {
        add(definition_, "question-no-answers",
            say_("У вопроса %1 нет ни одного ответа: на нём тест остановится.",
                 "Question %1 has no answer: the test stops there.")
                .arg(n));
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
        say_("Нет файла vt%1.txt: вопрос %1 и все после него не будут заданы.",
             "vt%1.txt is missing: question %1 and all after it are never asked.")
            .arg(count + 1));
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
            say_("Нет файла %1 с заключением %2.", "%1, the file of conclusion %2, is missing.")
                .arg(file)
                .arg(k));
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
