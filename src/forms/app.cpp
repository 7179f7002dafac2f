#include "forms/app.h"

#include "common/settings_file.h"
#include "forms/window.h"
#include "platform/pictures.h"
#include "platform/read_cache.h"

App::App(QString folder, platform::Services services)
    : AppContext(folder), services_(std::move(services)) {}

App::~App() {
    ++eventDepth_; // nothing below may destroy windows while we tear down
    for (auto& [name, window] : windows_)
        unloaded_.push_back(std::move(window));
    windows_.clear();
    unloaded_.clear();
}

void App::startTellingClass(const QString& computer, const QString& user) {
    classStatus_.computer = computer;
    classStatus_.user = user;
    classWriter_.start(folder(), computer);
    tellClass();
}

void App::tellClass() {
    classStatus_.written = services_.clock.now();
    classWriter_.publish(classStatus_);
}

const platform::PictureCodec& App::pictures() const { return platform::qtPictureCodec(); }

void App::message(const QString& text, const QString& title, bool informationIcon) {
    services_.dialogs.showMessage({text, title, informationIcon});
}

forms::Window* App::loadedWindow(const QString& name) const {
    auto found = windows_.find(name);
    return found == windows_.end() ? nullptr : found->second.get();
}

std::vector<forms::Window*> App::loadedWindows() const {
    std::vector<forms::Window*> result;
    for (const auto& entry : windows_)
        result.push_back(entry.second.get());
    return result;
}

void App::adopt(std::unique_ptr<forms::Window> created) {
    forms::Window& window = *created;
    const QString name = window.name();
    windows_[name] = std::move(created);
    window.load();
    // The load may have ended the program or discarded the window again.
    if (loadedWindow(name) == &window) windowLoaded.notify(window);
}

void App::unload(forms::Window& window) {
    auto found = windows_.find(window.name());
    if (found == windows_.end() || found->second.get() != &window) return;
    std::unique_ptr<forms::Window> owned = std::move(found->second);
    windows_.erase(found);
    owned->hide();
    windowUnloading.notify(*owned);
    unloaded_.push_back(std::move(owned));
    if (eventDepth_ == 0) flush();
}

void App::end() {
    ended_ = true;
    while (!windows_.empty())
        unload(*windows_.begin()->second);
}

void App::userEvent(const std::function<void()>& event) {
    const platform::ReadCacheScope reads;
    ++eventDepth_;
    event();
    --eventDepth_;
    if (eventDepth_ == 0) flush();
}

void App::flush() { unloaded_.clear(); }

QString App::language() const {
    return switched_ ? *switched_ : readSetting(*this, settings_keys::kLanguage);
}

platform::WriteResult App::switchLanguage(const QString& language) {
    switched_ = language;
    languageSwitched.notify(language);
    return storeSetting(*this, settings_keys::kLanguage, language);
}
