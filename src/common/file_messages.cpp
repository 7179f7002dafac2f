#include "common/file_messages.h"

QString writeFailureNote(const platform::WriteResult& result, bool english) {
    if (!result.busy()) return {};
    return english ? QStringLiteral("\nAnother copy of the program is writing this file.")
                   : QStringLiteral("\nФайл занят другой копией программы.");
}
