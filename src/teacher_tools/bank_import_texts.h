#pragma once
// What the import tells the teacher, in both languages.

#include "common/language.h"

namespace bank_import_texts {

inline constexpr texts::Text kTexts[] = {
    {"couldNotReadFile", "Не удалось прочитать файл «%1».", "Could not read the file \"%1\"."},
    {"encodingCannotBeTold",
     "Не удалось определить кодировку файла «%1»: в нём есть нулевые байты, как в UTF-16 без метки "
     "порядка байтов. Сохраните его в UTF-8.",
     "The encoding of \"%1\" cannot be told: it holds zero bytes, like UTF-16 without a byte-order "
     "mark. Please save it as UTF-8."},
    {"characterCannotBeWritten", "знак «%1» нельзя записать в Windows-1251",
     "the character \"%1\" cannot be written in Windows-1251"},
    {"examQuestionNeedsExactly", "в экзамене нужен ровно один верный ответ",
     "an exam question needs exactly one right answer"},
    {"rightAnswerAppearsTwice", "верный ответ повторяется среди вариантов",
     "the right answer appears twice"},
    {"questionHasOnePicture", "у вопроса одна картинка: «%1» не взята",
     "a question has one picture: \"%1\" is left out"},
    {"pictureNotBesideFile",
     "картинка «%1» не найдена рядом с файлом или не читается; вопрос взят без неё",
     "the picture \"%1\" is not beside the file or cannot be read; the question is taken without "
     "it"},
    {"cannotBeFolderS",
     "Имя «%1» не годится для папки: в нём не может быть знаков \\ / : * ? \" < > | и знаков, "
     "которых нет в Windows-1251.",
     "\"%1\" cannot be a folder's name: it may not hold \\ / : * ? \" < > | or characters "
     "Windows-1251 cannot hold."},
    {"couldNotWriteUnfinished", "Не удалось записать «%1»; недописанная папка удалена.",
     "Could not write \"%1\"; the unfinished folder was removed."},
    {"answersArePictures", "ответы вопроса — картинки, а в билете варианты ответа только текстом",
     "its answers are pictures, which an exam ticket cannot show: its variants are text"},
    {"true", "Верно", "True"},
    {"false", "Неверно", "False"},
    {"existsAlreadyImportOverwrites",
     "«%1» уже есть: импорт ничего не перезаписывает. Выберите другое имя.",
     "\"%1\" exists already: an import overwrites nothing. Please choose another name."},
    {"couldNotCreateFolder", "Не удалось создать папку «%1».",
     "Could not create the folder \"%1\"."},
    {"fileHoldsNoQuestion", "В файле не нашлось ни одного вопроса, который можно взять.",
     "The file holds no question that can be taken."},
    {"fileLooksLikeNot", "Похоже, это файл %1, а не %2: импортируйте его как %1.",
     "The file looks like %1, not %2: import it as %1."},
    {"answersTestQuestionTakes", "ответов %1, а в тесте их может быть не больше пяти",
     "%1 answers, and a test question takes five at most"},
    {"answerLongerThanCharacters", "ответ длиннее 255 знаков",
     "an answer longer than 255 characters"},
    {"pointsLieOutside", "баллы %1 вне пределов от -32768 до 32767",
     "the points %1 lie outside -32768 .. 32767"},
    {"testsHaveNoPictures", "в тестах нет картинок; вопрос взят без неё",
     "tests have no pictures; the question is taken without it"},
    {"totalOrLess", "Сумма баллов не больше %1.", "A total of %1 or less."},
    {"totalAboveUp", "Сумма баллов больше %1 и не больше %2.", "A total above %1, up to %2."},
    {"totalAbove", "Сумма баллов больше %1.", "A total above %1."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace bank_import_texts
