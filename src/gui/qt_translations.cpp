#include "gui/qt_translations.h"

#include "common/settings_file.h"
#include "forms/app.h"
#include "forms/captions.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace gui {

QtTranslations::QtTranslations(App& app) : app_(app) {
    follow(app.language());
    subscription_ =
        app.languageSwitched.subscribe([this](const QString& language) { follow(language); });
}

QtTranslations::~QtTranslations() {
    app_.languageSwitched.unsubscribe(subscription_);
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

void QtTranslations::follow(const QString& language) {
    // Any language value but English keeps the built-in Russian texts, Qt's among them.
    const bool russian = !texts::speaksEnglish(language);
    if (russian == installed_) return;
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
        return;
    }
    if (translator_.isEmpty() &&
        !translator_.load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    installed_ = QCoreApplication::installTranslator(&translator_);
}

} // namespace gui
