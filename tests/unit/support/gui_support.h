#pragma once
// What the GUI tests share: the one widgets application, drawing offscreen.

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace gui_support {
inline QApplication*& application() {
    static QApplication* instance = nullptr;
    return instance;
}

// The application goes when the tests are over, before the exit handlers tear down the
// statics Qt still needs for it.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        delete application();
        application() = nullptr;
    }
};
inline ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
} // namespace gui_support

// The one QApplication of the test program, drawing offscreen.
inline QApplication* widgetsApplication() {
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "proveron_gui_tests";
        static char* argv[] = {name, nullptr};
        gui_support::application() = new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The first child widget of type W showing `text`.
template <class W> W* withText(QWidget& view, const QString& text) {
    for (W* widget : view.findChildren<W*>()) {
        if (widget->text() == text) return widget;
    }
    return nullptr;
}
