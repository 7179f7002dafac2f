#pragma once
// What "proveron lab" says, in both languages.

#include "common/language.h"

namespace lab_check_texts {

inline constexpr texts::Text kTexts[] = {
    {"usage",
     "Использование:\n  proveron lab check [--folder ПАПКА_ПРОГРАММЫ]\n  proveron lab password "
     "[--folder ПАПКА_ПРОГРАММЫ]\n",
     "Usage:\n  proveron lab check [--folder APP_FOLDER]\n  proveron lab password [--folder "
     "APP_FOLDER]\n"},
    {"unknownLabCommand", "Неизвестная команда «lab %1».", "Unknown command \"lab %1\"."},
    {"unexpectedArgument", "Лишний параметр %1.", "Unexpected argument %1."},
    // lab check: the settings file
    {"settingsUnreadable",
     "Файл настроек нельзя прочитать с этой учетной записи: программа на этом компьютере не "
     "откроет окно «Настройка».",
     "The settings file cannot be read from this account: the program on this computer will "
     "not open the settings window."},
    {"passwordEmpty",
     "Пароль не задан: окно «Настройка» (ответы, ручной выбор билета) открывает любой ученик.",
     "No password is set: any student opens the settings window (the answers, a ticket chosen "
     "by hand)."},
    {"passwordReadable",
     "Пароль хранится открытым текстом (ключ pass), а этот файл читает каждый, кто запускает "
     "программу. Сохраните его как хэш: proveron lab password.",
     "The password is stored as plain text (key pass), and everyone who starts the program "
     "reads this file. Store it as a hash: proveron lab password."},
    // lab check: what students could change
    {"fileWritable",
     "Ученики могут изменить этот файл (запись разрешена группе или всем). Ученикам нужна "
     "запись только в папку s и в отчеты.",
     "Students can change this file (the group or everyone may write it). Students need to "
     "write only the folder s and the reports."},
    {"folderWritable",
     "Ученики могут добавлять, удалять и переименовывать файлы в этой папке (запись разрешена "
     "группе или всем). Ученикам нужна запись только в папку s.",
     "Students can add, delete and rename files in this folder (the group or everyone may write "
     "it). Students need to write only the folder s."},
    {"writableHere",
     "Эта учетная запись может изменить это, хотя это не ее файл: если это учетная запись "
     "ученика, ученики могут изменить это.",
     "This account can change this, though it is not its own: if this is a student's account, "
     "students can change it."},
    {"reportsDeletable",
     "Ученики могут удалить или переименовать отчеты в этой папке: поставьте на нее бит sticky "
     "(chmod +t), тогда удалять и переименовывать файл может только его владелец.",
     "Students can delete or rename the reports in this folder: set its sticky bit (chmod +t), "
     "so that only a file's owner may delete or rename it."},
    {"reportsFolderClosed",
     "С этой учетной записи в папке s нельзя создать файл: здесь результаты в отчет не "
     "сохранятся, и часы общей папки не сверить.",
     "No file can be made in the folder s from this account: results will not be saved in the "
     "report here, and the share's clock cannot be read."},
    {"link",
     "Это ссылка на «%1». Программа не пишет через ссылки, но читает через них: в общей "
     "папке ссылок быть не должно.",
     "This is a link to \"%1\". The program never writes through a link but reads through one: "
     "a shared folder should hold none."},
    {"moreEntries", "И еще %1 таких мест.", "And %1 more such places."},
    // lab check: locks, computers, temporaries, clock
    {"lockHeld",
     "Замок взят: компьютер %1, процесс %2, с %3 (%4 назад). Запись держит замок доли секунды; "
     "если он остается, другие копии ждут и сообщают, что файл занят.",
     "The lock is held: computer %1, process %2, since %3 (%4 ago). A write holds it for a "
     "fraction of a second; while it stays, other copies wait and say the file is in use."},
    {"lockLeftOver",
     "Замок оставлен: компьютер %1, процесс %2, с %3 (%4 назад). Программа снимет его сама; "
     "если он появляется снова, на компьютере %1 что-то держит его.",
     "A lock is left over: computer %1, process %2, since %3 (%4 ago). The program takes it "
     "over by itself; if it comes back, something on computer %1 keeps it."},
    {"lockUnknown",
     "Замок с %1 (%2 назад), но чей, не сказано (файла owner нет или он не программы).",
     "A lock since %1 (%2 ago), but it does not say whose (its file owner is missing or not the "
     "program's)."},
    {"lockNotFolder",
     "Это не замок программы (папка с файлом owner), а ссылка или файл: его подложили. Удалите "
     "его.",
     "This is no lock of the program (a folder holding the file owner) but a link or a file: it "
     "was planted. Delete it."},
    {"sameComputerName",
     "Другой компьютер с именем этого (%1) взял здесь замок в %2, когда этот уже работал: у "
     "компьютеров, установленных с одного образа диска, одно имя и один machine-id. Дайте "
     "каждому свое имя.",
     "Another computer with this computer's name (%1) took a lock here at %2, while this one was "
     "running: computers installed from one disk image share a name and a machine id. Give each "
     "a name of its own."},
    {"staleTemporary",
     "Остался временный файл программы (сохранение или замок прервались %1 назад). Его уберет "
     "следующий запуск программы; его можно и удалить.",
     "A temporary file of the program is left (a save or a lock broken off %1 ago). The next "
     "start of the program removes it; it may be deleted as well."},
    {"clockOff",
     "Часы этого компьютера расходятся с часами общей папки на %1: время в записях отчета "
     "с этого компьютера будет неверным. Сверьте часы (NTP).",
     "This computer's clock is %1 off the share's: the times of the report records made here "
     "will be wrong. Set the clocks right (NTP)."},
    {"clockAhead", "Часы общей папки: на %1 впереди часов этого компьютера.",
     "The share's clock: %1 ahead of this computer's."},
    {"clockBehind", "Часы общей папки: на %1 позади часов этого компьютера.",
     "The share's clock: %1 behind this computer's."},
    {"clockSame", "Часы общей папки идут вровень с часами этого компьютера.",
     "The share's clock agrees with this computer's."},
    {"clockUnknown", "Часы общей папки не сверены.", "The share's clock was not read."},
    {"summary", "Просмотрено файлов и папок: %1. Замечаний: %2.",
     "Files and folders looked at: %1. Findings: %2."},
    {"seconds", "%1 с", "%1 s"},
    {"minutes", "%1 мин", "%1 min"},
    {"hours", "%1 ч %2 мин", "%1 h %2 min"},
    {"days", "%1 дн.", "%1 days"},
    // lab password
    {"newPassword", "Новый пароль: ", "New password: "},
    {"againPassword", "Еще раз: ", "Once more: "},
    {"passwordsDiffer", "Пароли не совпали; ничего не записано.",
     "The passwords differ; nothing is written."},
    {"passwordNeeded",
     "Пустой пароль не хранят как хэш. Чтобы снять пароль, очистите его в окне «Настройка».",
     "An empty password is not stored as a hash. To remove the password, clear it in the "
     "settings window."},
    {"passwordStored",
     "Пароль записан в %1 как хэш (ключ pass). Окно «Настройка» показывает хэш; введенный там "
     "новый пароль снова запишется открытым текстом.",
     "The password is stored in %1 as a hash (key pass). The settings window shows the hash; a "
     "new password typed there is stored as plain text again."},
    {"passwordNotStored", "Пароль не записан в %1.", "The password is not stored in %1."},
};

consteval const texts::Text& text(std::string_view key) { return texts::lookUp(kTexts, key); }

} // namespace lab_check_texts
