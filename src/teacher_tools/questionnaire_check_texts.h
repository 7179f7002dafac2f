#pragma once
// What the check of a test folder finds, in both languages.

#include "common/language.h"

namespace questionnaire_check_texts {

inline constexpr texts::Text kTexts[] = {
    {"keyTSectionV",
     "Ключ t раздела [v] — «%1», а тест называется «%2»: вопросы будут искаться в папке «%1».",
     "Key t of section [v] is \"%1\", but the test is called \"%2\": its questions are looked for "
     "in the folder \"%1\"."},
    {"thresholdNoNumberFrom", "Порог %1 («%2») не число от -32768 до 32767: он читается как 0.",
     "Threshold %1 (\"%2\") is no number from -32768 to 32767: it reads as 0."},
    {"testHasNoQuestion", "В тесте нет ни одного вопроса (нет файла vt1.txt).",
     "The test has no question (there is no vt1.txt)."},
    {"largestPossibleTotalAbove",
     "Наибольшая возможная сумма баллов %1 больше порога 3 (%2): для неё не найдётся заключения.",
     "The largest possible total %1 is above threshold 3 (%2): no conclusion fits it."},
    {"missingTestSFile", "Нет файла %1: файл теста должен называться по его папке.",
     "%1 is missing: a test's file is named after its folder."},
    {"conclusionCanNeverBe",
     "Заключение %1 никогда не будет выбрано: пороги должны возрастать, а они %2.",
     "Conclusion %1 can never be chosen: the thresholds must rise, and they are %2."},
    {"questionAnswerFollowsEmpty",
     "Вопрос %1: ответ %2 стоит после пустого ответа %3, в окне теста между ними будет пропуск.",
     "Question %1: answer %2 follows the empty answer %3; the test window shows a gap between "
     "them."},
    {"questionAnswerPointsAre",
     "Вопрос %1, ответ %2: баллы «%3» не число от -32768 до 32767, они читаются как 0.",
     "Question %1, answer %2: the points \"%3\" are no number from -32768 to 32767; they read as "
     "0."},
    {"questionHasNoAnswer", "У вопроса %1 нет ни одного ответа: на нём тест остановится.",
     "Question %1 has no answer: the test stops there."},
    {"vtTxtMissingQuestion", "Нет файла vt%1.txt: вопрос %1 и все после него не будут заданы.",
     "vt%1.txt is missing: question %1 and all after it are never asked."},
    {"fileConclusionMissing", "Нет файла %1 с заключением %2.",
     "%1, the file of conclusion %2, is missing."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace questionnaire_check_texts
