#pragma once
// App owns the windows and the services. Windows reach each other only through it: a
// window is created on first use (running its load) and discarded with unload().
//
// The toolkit knows no window of the program: a window class names itself with a
// constant (`static constexpr char kName[] = "Form4";`) and is reached with
// `app.window<Form4>()`.

#include "common/class_status.h"
#include "forms/signal.h"
#include "platform/app_context.h"
#include "platform/file_access.h"
#include "platform/services.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace forms {
class Window;
}

// The file logic sees App as its context (application folder, locale, pictures).
class App final : public platform::AppContext {
public:
    App(QString folder, platform::Services services);
    ~App() override;

    platform::Services& services() { return services_; }
    const platform::UserLocale& locale() const override { return services_.locale; }
    const platform::PictureCodec& pictures() const override;
    void message(const QString& text, const QString& title, bool informationIcon = false);

    // The interface language ("rus", "eng" or anything else the settings file holds), the
    // one value every window reads: the one switched to during this run, else the settings
    // file's, which may change under a running program (another copy, the teacher) and is
    // read where each window loads, as it always was.
    QString language() const;
    // Switches every window to the language: the one place it changes. It is stored in
    // the settings file at once; when that fails it holds until the program ends all the
    // same, and the result says why.
    [[nodiscard]] platform::WriteResult switchLanguage(const QString& language);

    // The window of class W, created (and loaded) on first use.
    template <class W> W& window() {
        if (W* existing = loaded<W>()) return *existing;
        auto created = std::make_unique<W>(*this);
        W& result = *created;
        adopt(std::move(created));
        return result;
    }
    // The window of class W if it exists now, else null.
    template <class W> W* loaded() const {
        return static_cast<W*>(loadedWindow(QLatin1String(W::kName)));
    }
    // The window of that name if it exists now, else null.
    forms::Window* loadedWindow(const QString& name) const;
    std::vector<forms::Window*> loadedWindows() const;

    // Detaches the window at once (the next use creates a new one) and destroys it once
    // the current user event has finished, since handlers often unload their own window
    // and go on running.
    void unload(forms::Window& window);

    // Ends the program: every window is unloaded.
    void end();
    bool ended() const { return ended_; }

    // Runs one user event (a click, a key, a timer tick) and then destroys the windows
    // it unloaded.
    void userEvent(const std::function<void()>& event);

    // What this computer tells the teacher's live view of the class: the windows fill it
    // in at each step a student takes and tellClass() writes it, in the background and
    // never with a message. Nothing is written until startTellingClass().
    class_status::Status& classStatus() { return classStatus_; }
    void tellClass();
    void startTellingClass(const QString& computer, const QString& user);
    // Waits at most `timeoutMs` for the last status to be written (tests, the runner).
    bool settleClassStatus(int timeoutMs) { return classWriter_.settle(timeoutMs); }

    // Front ends follow the windows' lives through these; a listener unsubscribes with
    // its id before it goes away.
    forms::Signal<forms::Window&> windowLoaded;
    forms::Signal<forms::Window&> windowUnloading;
    // The interface language was switched (the front end follows with its own texts).
    forms::Signal<const QString&> languageSwitched;

private:
    // Takes a new window over and runs its load.
    void adopt(std::unique_ptr<forms::Window> window);
    void flush();

    platform::Services services_;
    std::map<QString, std::unique_ptr<forms::Window>> windows_;
    std::vector<std::unique_ptr<forms::Window>> unloaded_;
    std::optional<QString> switched_;
    class_status::Status classStatus_;
    class_status::Writer classWriter_;
    int eventDepth_ = 0;
    bool ended_ = false;
};
