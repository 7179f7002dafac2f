#pragma once
// What the GUI tests share: the one widgets application, drawing offscreen.

#include <QApplication>
#include <QWidget>

// The one QApplication of the test program, drawing offscreen.
inline QApplication* widgetsApplication() {
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "proveron_gui_tests";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
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
