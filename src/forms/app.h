#pragma once
// App owns the windows and the services. Windows reach each other only through it: a
// window is created on first use (running its load) and discarded with unload().

#include "platform/services.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace forms {
class Window;
}

class Form1;
class Form2;
class Form3;
class Form4;
class Form5;

class App {
public:
    App(QString folder, platform::Services services);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The application folder: the folder that holds the program (no trailing separator).
    const QString& folder() const { return folder_; }
    // A file or folder of the application folder, from a relative path with '/'.
    QString path(const QString& relative) const;
    QString settingsFile() const { return path(QStringLiteral("test.ini")); }

    platform::Services& services() { return services_; }
    const platform::UserLocale& locale() const { return services_.locale; }
    void message(const QString& text, const QString& title, bool informationIcon = false);

    // The windows, created on first use.
    Form1& form1();
    Form2& form2();
    Form3& form3();
    Form4& form4();
    Form5& form5();

    // The window if it exists now, else null. Names are "Form1" ... "Form9".
    forms::Window* loadedWindow(const QString& name) const;
    // Every window name this program has, and whether its window exists in this build.
    static const QStringList& windowNames();
    static bool windowBuilt(const QString& name);
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

    // Front ends follow the windows' lives through these.
    std::vector<std::function<void(forms::Window&)>> windowLoaded;
    std::vector<std::function<void(forms::Window&)>> windowUnloading;

private:
    template <class W> W& ensure(const QString& name);
    void flush();

    QString folder_;
    platform::Services services_;
    std::map<QString, std::unique_ptr<forms::Window>> windows_;
    std::vector<std::unique_ptr<forms::Window>> unloaded_;
    int eventDepth_ = 0;
    bool ended_ = false;
};
