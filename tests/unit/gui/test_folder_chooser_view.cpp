// The exam folder chooser on screen: browsing with the folder list checks the folder, the
// status line and the count question come and go with the model, and the keyboard goes
// from the folders straight to the commands.

#include "exam_content/folder_chooser.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(FolderChooserView, BrowsingChecksAcceptingAsksAndTheKeyboardFollows) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "1");
    ASSERT_TRUE(putBytes(f.app.path("b/Физика/b1/v1.txt"), "1\r\n"));
    ASSERT_TRUE(putBytes(f.app.path("b/Физика/lzm.lzm"), "Физика\r\n"));
    Form9* chooser = nullptr;
    f.app.userEvent([&] {
        f.app.window<Form4>();
        chooser = &f.app.window<Form9>();
        chooser->show();
    });
    auto view = gui::programWindows().createView(f.app, *chooser);
    ASSERT_TRUE(view);
    view->setAttribute(Qt::WA_DontShowOnScreen, true);
    view->show();

    auto* drives = view->findChild<QComboBox*>();
    auto* folders = view->findChild<QListWidget*>();
    ASSERT_TRUE(drives && folders);
    EXPECT_EQ(drives->currentText(), "/");
    QLineEdit* path = nullptr;
    QLineEdit* status = nullptr;
    for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
        if (edit->text() == f.app.path("b")) path = edit;
        if (edit->text() == QStringLiteral("В папке билетов нет")) status = edit;
    }
    ASSERT_TRUE(path && status);
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_TRUE(status->isVisible());
    QPushButton* accept = withText<QPushButton>(*view, QStringLiteral("Принять"));
    ASSERT_TRUE(accept);
    EXPECT_FALSE(accept->isEnabled());

    QList<QListWidgetItem*> exam = folders->findItems(QStringLiteral("Физика"), Qt::MatchEndsWith);
    ASSERT_EQ(exam.size(), 1);
    emit folders->itemActivated(exam.front());
    EXPECT_EQ(path->text(), f.app.path("b/Физика"));
    EXPECT_FALSE(status->isVisible());
    EXPECT_TRUE(accept->isEnabled());

    // No counts set yet: accepting asks, and the question lies beside the folders.
    QGroupBox* question = nullptr;
    for (QGroupBox* box : view->findChildren<QGroupBox*>()) {
        if (box->title() == QStringLiteral("Внимание!")) question = box;
    }
    ASSERT_TRUE(question);
    EXPECT_FALSE(question->isVisible());
    accept->click();
    EXPECT_TRUE(question->isVisible());
    EXPECT_TRUE(withText<QLineEdit>(*question, QStringLiteral("0,333333333333333")) != nullptr)
        << "one text file in b1";

    // Tab goes to the next widget in the chain that takes focus by tabbing.
    auto tab = [](QWidget* from) {
        QWidget* next = from->nextInFocusChain();
        while (next != from &&
               (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() || !next->isEnabled()))
            next = next->nextInFocusChain();
        return next;
    };
    EXPECT_EQ(tab(drives), folders);
    EXPECT_EQ(tab(folders), accept);
    QPushButton* close = withText<QPushButton>(*view, QStringLiteral("Закрыть"));
    EXPECT_EQ(tab(accept), close);
    EXPECT_EQ(tab(close), withText<QPushButton>(*view, QStringLiteral("Да")));
    view->detach();
}

// The status line keeps its room while hidden: the window does not change size under the
// mouse as the check of each folder comes and goes.
TEST(FolderChooserView, TheWindowKeepsItsSizeAsTheStatusLineHides) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    QDir().mkpath(f.app.path("b/Физика/b1"));
    platform::writeWholeFile(f.app.path("b/Физика/b1/v1.txt"), "да");
    Form9* chooser = nullptr;
    f.app.userEvent([&] {
        chooser = &f.app.window<Form9>();
        chooser->show();
    });
    auto view = gui::programWindows().createView(f.app, *chooser);
    ASSERT_TRUE(view);
    view->setAttribute(Qt::WA_DontShowOnScreen, true);
    view->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(chooser->Text4.visible());
    const QSize withStatus = view->sizeHint();
    f.app.userEvent([&] { chooser->Dir1.setPath(f.app.path("b/Физика")); });
    QCoreApplication::processEvents();
    ASSERT_FALSE(chooser->Text4.visible());
    EXPECT_EQ(view->sizeHint(), withStatus);
    view->detach();
}
