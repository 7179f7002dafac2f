#pragma once
// Qt's own texts (file dialogs, standard buttons, context menus) in the interface
// language: Russian unless the interface is English, followed through every switch.

#include <QTranslator>

class App;

namespace gui {

class QtTranslations {
public:
    explicit QtTranslations(App& app);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Whether Qt's texts are now Russian (false when the translation is not installed).
    bool russian() const { return installed_; }

private:
    void follow(const QString& language);

    App& app_;
    QTranslator translator_;
    bool installed_ = false;
    int subscription_ = 0;
};

} // namespace gui
