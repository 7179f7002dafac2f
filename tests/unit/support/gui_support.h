#pragma once
// What the GUI tests share: the one widgets application, drawing offscreen.

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QTemporaryDir>
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

// The widgets application on a 1366 x 768 screen at 150 %. ctest runs every test in a
// process of its own, so the screen is set up before the application exists; run
// together in one process, such a test finds another screen and gets null (and skips).
inline QApplication* smallScreenApplication() {
    if (!QCoreApplication::instance()) {
        static QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("screen.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens":[{"name":"laptop","x":0,"y":0,"width":1366,)"
                       R"("height":768,"logicalDpi":96,"dpr":1}]})");
        }
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
        qputenv("QT_SCALE_FACTOR", "1.5");
    }
    QApplication* application = widgetsApplication();
    if (!application || application->primaryScreen()->availableGeometry().height() > 600)
        return nullptr;
    return application;
}

// The first child widget of type W showing `text`.
template <class W> W* withText(QWidget& view, const QString& text) {
    for (W* widget : view.findChildren<W*>()) {
        if (widget->text() == text) return widget;
    }
    return nullptr;
}

// The texts of one column of a table as it is shown (sorted, filtered).
inline QStringList column(const QSortFilterProxyModel* rows, int column) {
    QStringList texts;
    for (int r = 0; r < rows->rowCount(); ++r)
        texts.append(rows->index(r, column).data().toString());
    return texts;
}
