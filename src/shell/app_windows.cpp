// The windows App knows by name. Kept apart from the toolkit so that the toolkit does not
// depend on the windows built on it.

#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"

template <class W> W& App::ensure(const QString& name) {
    if (auto* existing = loadedWindow(name)) return static_cast<W&>(*existing);
    auto created = std::make_unique<W>(*this);
    W& window = *created;
    windows_[name] = std::move(created);
    window.load();
    // The load may have ended the program or discarded the window again.
    if (loadedWindow(name) == &window) {
        for (auto& listener : windowLoaded)
            listener(window);
    }
    return window;
}

Form1& App::form1() { return ensure<Form1>(QStringLiteral("Form1")); }
Form2& App::form2() { return ensure<Form2>(QStringLiteral("Form2")); }
Form3& App::form3() { return ensure<Form3>(QStringLiteral("Form3")); }
Form4& App::form4() { return ensure<Form4>(QStringLiteral("Form4")); }
Form5& App::form5() { return ensure<Form5>(QStringLiteral("Form5")); }

const QStringList& App::windowNames() {
    static const QStringList names{"Form1", "Form2", "Form3", "Form4",
                                   "Form5", "Form6", "Form7", "Form9"};
    return names;
}

bool App::windowBuilt(const QString& name) {
    // The test window, the ticket editor and the exam folder chooser come later.
    static const QStringList built{"Form1", "Form2", "Form3", "Form4", "Form5"};
    return built.contains(name);
}
