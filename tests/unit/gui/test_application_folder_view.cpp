// The settings window names the application folder in use, in the interface language.

#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "settings/settings_window.h"
#include "test_support.h"

#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

TEST(SettingsWindowView, NamesTheApplicationFolderInTheInterfaceLanguage) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    Form4& settings = f.app.window<Form4>();
    auto view = gui::programWindows().createView(f.app, settings);
    ASSERT_TRUE(view);
    const QString folder = QDir::toNativeSeparators(f.app.folder());

    QLabel* shown = nullptr;
    for (QLabel* label : view->findChildren<QLabel*>()) {
        if (label->toolTip() == folder) shown = label;
    }
    ASSERT_TRUE(shown) << "no label carries the folder in its tool tip";
    EXPECT_EQ(shown->text(), "Папка программы:\n" + folder);

    f.app.userEvent([&] { settings.Label17.setCaption("eng"); });
    EXPECT_EQ(shown->text(), "Application folder:\n" + folder);
    // Any language but English keeps the Russian caption, as the other status lines do.
    f.app.userEvent([&] { settings.Label17.setCaption("deu"); });
    EXPECT_EQ(shown->text(), "Папка программы:\n" + folder);
}
