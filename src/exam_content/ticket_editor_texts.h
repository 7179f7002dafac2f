#pragma once
// The ticket editor's messages, status lines and headings in both languages.

#include "common/language.h"

namespace ticket_editor_texts {

inline constexpr texts::Text kTexts[] = {
    {"notWritten",
     "Не удалось записать «%1». Проверьте, что в эту папку можно писать и на диске есть место.",
     "Could not write \"%1\". Check that this folder may be written to and that the disk has "
     "room."},
    {"notWrittenBecause", "Не удалось записать «%1».", "Could not write \"%1\"."},
    {"noTicketNumber",
     "Номер билета «%1» не годится: пишите его цифрами, без нулей впереди (1, 2, 3 ...).",
     "\"%1\" is no ticket number: write it in digits without leading zeros (1, 2, 3 ...)."},
    {"bankFilter", "Aiken, GIFT, Moodle XML (*.txt *.gift *.xml);;Все файлы (*)",
     "Aiken, GIFT, Moodle XML (*.txt *.gift *.xml);;All files (*)"},
    {"chooseBankFile", "Выберите файл с вопросами.", "Please choose the question file."},
    {"noExamName", "Не введено имя папки экзамена", "Not incorporated a name of file of exam"},
    {"perTicketRange", "Вопросов в билете: число от 1 до 20.",
     "Questions per ticket: a number from 1 to 20."},
    {"shuffleNumber", "Перемешать: целое число от 0 или пусто.",
     "Shuffle: a whole number from 0, or empty."},
    {"examImported",
     "Экзамен «%1» создан. Вопросов: %2, билетов: %3, вопросов в билете: %4. Пропущено "
     "вопросов: %5. Чтобы экзамен шёл по этим билетам, установите в настройках билетов %3 и "
     "вопросов %4.",
     "The exam \"%1\" is made. Questions: %2, tickets: %3, questions per ticket: %4. Questions "
     "skipped: %5. To hold the exam on these tickets, set %3 tickets and %4 questions in the "
     "settings."},
    {"bankReadUpTo",
     " Файл прочитан только до строки %1: дальше он испорчен, и вопросы после неё не взяты.",
     " The file was read only up to line %1: it is broken from there, and no question after it "
     "was taken."},
    {"noExamToExport", "Нет экзамена для экспорта: выберите папку экзамена в настройках.",
     "There is no exam to export: choose the exam folder in the settings."},
    {"examExported",
     "Экзамен записан для Moodle, вопросов: %1. GIFT: %2 (картинки рядом), Moodle XML: %3.",
     "The exam is written for Moodle, questions: %1. GIFT: %2 (the pictures beside it), "
     "Moodle XML: %3."},
    {"exportLeftOut", "\nБилет %1: %2.", "\nTicket %1: %2."},
    {"editing", "Редактировать: ", "To Edit: "},
    {"new", "Новый: ", "New: "},
    {"unwritableName",
     "В имени папки экзамена есть знак «%1», которого нет в кодировке Windows-1251. Замените "
     "его.",
     "The exam folder's name holds the character \"%1\", which Windows-1251 cannot hold. Please "
     "replace it."},
    {"examExists",
     "Экзамен «%1» уже есть. Чтобы дописать его, выберите его кнопкой «Редактировать».",
     "The exam \"%1\" exists already. To add to it, choose it with \"To Edit\"."},
    {"noExamChosen", "Не выбрана папка с экзаменом", "Not choose file with exam"},
    {"ticketNotCreated", "Билет № %1 не создан", "Ticket № %1 not created"},
    {"ticketExists", "Билет № %1 уже создан", "Ticket № %1 already created"},
    {"createTicket", "Создать билет № %1", "To Create ticket № %1"},
    {"fileUnreadable", "Не удалось прочитать файл «%1».", "Could not read the file \"%1\"."},
    {"pictureUnreadable", "Картинку «%1» не удалось прочитать.",
     "The picture \"%1\" cannot be read."},
    {"saved", "Сохранено!", "Preserved!"},
    {"questionOnDisk",
     "Вопрос № %1 билета № %2 уже есть на диске, но в редактор не загружен (его могла записать "
     "другая копия программы). Ничего не записано. Нажмите «Сохранить» еще раз, чтобы заменить "
     "его.",
     "Question № %1 of ticket № %2 is on disk already but was not loaded here (another copy of "
     "the program may have written it). Nothing was written. Press \"To Save\" again to replace "
     "it."},
    {"emptyField", "Отсутствует текст в одном из полей", "Is Absent text in one of the floors"},
    {"chooseQuestion", "Выберите номер вопроса из списка от 1 до 20.",
     "Choose a question number from the list, 1 to 20."},
    {"unwritableField",
     "В поле «%1» есть знак «%2», которого нет в кодировке Windows-1251. Замените его.",
     "The field \"%1\" holds the character \"%2\", which Windows-1251 cannot hold. Please "
     "replace it."},
    {"looksLikeVariant", "Похоже на вариант %1 «%2»: %3.", "It looks like variant %1 \"%2\": %3."},
    {"answerMatchesNothing",
     "Правильный ответ не совпадает ни с одной строкой предложенных ответов: на этот вопрос "
     "нельзя будет ответить верно.%1 Ничего не записано. Нажмите «%2» еще раз, чтобы сохранить "
     "вопрос как есть.",
     "The correct answer matches none of the offered answer lines: nobody will be able to "
     "answer this question right.%1 Nothing was written. Press \"%2\" again to save the question "
     "as it is."},
    {"pictures", "Картинки", "Pictures"},
    {"pictureTooLarge", "Картинка слишком большая: %1 пикселей. Можно не больше %2 x %2.",
     "The picture is too large: %1 pixels. At most %2 x %2."},
    {"notAPicture", "Это не картинка, или ее не удалось прочитать: «%1».",
     "This is no picture, or it cannot be read: \"%1\"."},
    {"notDeleted", "Не удалось удалить файл «%1».", "Could not delete the file \"%1\"."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace ticket_editor_texts
