#include "common/file_messages.h"

#include "common/file_messages_texts.h"

#include <QDir>

using file_messages_texts::text;

QString writeFailureNote(const platform::WriteResult& result, const QString& language) {
    const QString file = QDir::toNativeSeparators(result.file());
    switch (result.kind()) {
    case platform::WriteResult::Busy:
        return texts::say(language, text("busy"));
    case platform::WriteResult::NotPlain:
        return texts::say(language, text("notPlain")).arg(file);
    case platform::WriteResult::StuckLock:
        return texts::say(language, text("stuckLock")).arg(file);
    case platform::WriteResult::TooLarge:
        return texts::say(language, text("tooLarge")).arg(file);
    case platform::WriteResult::Failed:
        if (result.reason().isEmpty()) break;
        return texts::say(language, text("systemSays")).arg(result.reason());
    case platform::WriteResult::Written:
        break;
    }
    return {};
}

QString examNameRefusal(platform::NameProblem problem, const QString& name,
                        const QString& language) {
    using platform::NameProblem;
    const texts::Text* why = nullptr;
    switch (problem) {
    case NameProblem::None:
        return {};
    case NameProblem::Empty:
        why = &text("nameEmpty");
        break;
    case NameProblem::Separator:
    case NameProblem::Character:
        why = &text("nameCharacters");
        break;
    case NameProblem::BadEnd:
        why = &text("nameEnd");
        break;
    case NameProblem::DeviceName:
        why = &text("nameDevice");
        break;
    case NameProblem::TooLong:
        why = &text("nameTooLong");
        break;
    }
    return texts::say(language, text("badExamName")).arg(name, texts::say(language, *why));
}
