#include "common/file_messages.h"

#include <QDir>

QString writeFailureNote(const platform::WriteResult& result, bool english) {
    const QString file = QDir::toNativeSeparators(result.file());
    switch (result.kind()) {
    case platform::WriteResult::Busy:
        return english ? QStringLiteral("\nAnother copy of the program is writing this file.")
                       : QStringLiteral("\nФайл занят другой копией программы.");
    case platform::WriteResult::NotPlain:
        return english ? QStringLiteral("\n\"%1\" is a symbolic link or not an ordinary file: "
                                        "the program does not write through it. Remove it.")
                             .arg(file)
                       : QStringLiteral("\n«%1» - символическая ссылка или не обычный файл: "
                                        "программа через неё не пишет. Удалите её.")
                             .arg(file);
    case platform::WriteResult::StuckLock:
        return english ? QStringLiteral("\nThe lock \"%1\" was left by a copy of the program "
                                        "that is gone, and this copy may not remove it. Remove "
                                        "it by hand.")
                             .arg(file)
                       : QStringLiteral("\nБлокировку «%1» оставила копия программы, которой уже "
                                        "нет, а эта копия удалить её не может. Удалите её вручную.")
                             .arg(file);
    case platform::WriteResult::TooLarge:
        return english
                   ? QStringLiteral("\nThe file \"%1\" is larger than 16 MB: the program "
                                    "does not read it.")
                         .arg(file)
                   : QStringLiteral("\nФайл «%1» больше 16 МБ: программа его не читает.").arg(file);
    case platform::WriteResult::Written:
    case platform::WriteResult::Failed:
        break;
    }
    return {};
}

QString examNameRefusal(platform::NameProblem problem, const QString& name, bool english) {
    using platform::NameProblem;
    QString why;
    switch (problem) {
    case NameProblem::None:
        return {};
    case NameProblem::Empty:
        why = english ? QStringLiteral("the name is empty.") : QStringLiteral("имя пустое.");
        break;
    case NameProblem::Separator:
    case NameProblem::Character:
        why = english ? QStringLiteral("a name may not hold \\ / : * ? \" < > | or control "
                                       "characters, nor be \".\" or \"..\".")
                      : QStringLiteral("в имени не может быть знаков \\ / : * ? \" < > | и "
                                       "управляющих знаков, оно не может быть «.» или «..».");
        break;
    case NameProblem::BadEnd:
        why = english ? QStringLiteral("a name may not end in a blank or a dot.")
                      : QStringLiteral("имя не может кончаться пробелом или точкой.");
        break;
    case NameProblem::DeviceName:
        why = english ? QStringLiteral("Windows keeps this name for a device (CON, PRN, AUX, NUL, "
                                       "COM1, LPT1, CONIN$, CONOUT$ ...).")
                      : QStringLiteral("это имя Windows оставляет устройству (CON, PRN, AUX, NUL, "
                                       "COM1, LPT1, CONIN$, CONOUT$ ...).");
        break;
    case NameProblem::TooLong:
        why = english ? QStringLiteral("the name is too long for the file system (at most 255 "
                                       "characters, fewer for Cyrillic letters).")
                      : QStringLiteral("имя слишком длинное для файловой системы (не больше 255 "
                                       "знаков, для русских букв меньше).");
        break;
    }
    return english ? QStringLiteral("This name cannot be an exam folder's name: \"%1\": %2")
                         .arg(name, why)
                   : QStringLiteral("Такое имя папки экзамена нельзя использовать: «%1»: %2")
                         .arg(name, why);
}

QString systemReasonNote(const platform::WriteResult& result, bool english) {
    if (result.kind() != platform::WriteResult::Failed || result.reason().isEmpty()) return {};
    return english ? QStringLiteral("\nThe system says: %1").arg(result.reason())
                   : QStringLiteral("\nСистема сообщает: %1").arg(result.reason());
}
