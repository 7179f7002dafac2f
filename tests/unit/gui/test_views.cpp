// The Qt front end: every view builds offscreen and follows its model, and views come and
// go with the windows App loads and unloads.

#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "gui/start_window_view.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Views, EveryWindowOfAnExamDrawsOffscreen) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    writeExam(f.folder.path(), 1);
    Form1& start = f.app.window<Form1>();
    f.app.userEvent([&] {
        start.show();
        start.Option1.click();
        start.Text9.setText("Иванов");
        start.Command14.press();
        start.Check1.click();
        start.Text1.setText("1");
        start.Command3.press();
    });
    ASSERT_NE(f.app.loadedWindow("Form2"), nullptr);
    Form2& ticket = f.app.window<Form2>();
    f.app.userEvent([&] {
        ticket.List1.setListIndex(0);
        ticket.Command4.press();
    });
    f.desktop.messages.clear();
    for (const char* name : {"Form1", "Form2", "Form3", "Form4", "Form5"}) {
        forms::Window* window = f.app.loadedWindow(name);
        ASSERT_NE(window, nullptr) << name;
        auto view = gui::programWindows().createView(f.app, *window);
        ASSERT_TRUE(view) << name;
        view->setAttribute(Qt::WA_DontShowOnScreen, true);
        view->show();
        EXPECT_FALSE(view->grab().isNull()) << name;
        EXPECT_EQ(view->windowTitle(), window->caption()) << name;
    }
}

TEST(Views, SettingsViewFollowsTheModelBothWays) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "1");
    Form4& settings = f.app.window<Form4>();
    auto view = gui::programWindows().createView(f.app, settings);
    ASSERT_TRUE(view);

    QLineEdit* score = nullptr;
    for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
        if (edit->text() == settings.txtZ.text() && edit->isReadOnly()) score = edit;
    }
    ASSERT_TRUE(score);
    f.app.userEvent([&] { settings.txtZ.setText("4,7"); });
    EXPECT_EQ(score->text(), "4,7");
    EXPECT_EQ(score->focusPolicy(), Qt::NoFocus) << "a computed field takes no Tab stop";

    // Tab stops at the fields of the questions in use only.
    f.app.userEvent([&] {
        settings.Combo1.setText("3");
        settings.Command5.press();
    });
    int stops = 0;
    for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
        if (edit->isReadOnly() && edit->focusPolicy() != Qt::NoFocus) ++stops;
    }
    EXPECT_EQ(stops, 0) << "a blackened field takes no Tab stop";

    // A typed minutes text the rule refuses comes back as "1" on screen too.
    QLineEdit* minutes = nullptr;
    for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
        if (edit->toolTip() == settings.Text2.toolTip()) minutes = edit;
    }
    ASSERT_TRUE(minutes);
    // It refuses partial input, so it takes the text when editing finishes.
    minutes->setText("abc");
    emit minutes->textEdited("abc");
    EXPECT_EQ(settings.Text2.text(), "1") << "not per keystroke";
    emit minutes->editingFinished();
    EXPECT_EQ(settings.Text2.text(), "1");
    EXPECT_EQ(minutes->text(), "1");
    EXPECT_EQ(f.desktop.messages.size(), 1u);

    // Buttons reach the model: "Закрыть" with no passing score asks for one.
    QPushButton* close = withText<QPushButton>(*view, settings.Command6.caption());
    ASSERT_TRUE(close);
    close->click();
    EXPECT_TRUE(settings.Frame12.visible());
}

TEST(Views, ViewsComeAndGoWithTheirWindows) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "1");
    auto views = [] {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += bool(dynamic_cast<gui::View*>(widget));
        return count;
    };
    const int before = views();
    {
        gui::ViewManager manager(f.app, gui::programWindows());
        f.app.userEvent([&] { gui::programWindows().start(f.app); });
        // The settings window exists hidden from the start; its view waits for its showing.
        EXPECT_EQ(views(), before + 1);
        // The language switch discards the start window from its own handler.
        f.app.userEvent([&] { f.app.window<Form1>().Label7.click(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(views(), before + 1);
        EXPECT_TRUE(f.app.window<Form1>().visible());
        f.app.userEvent([&] { f.app.window<Form4>().show(); });
        EXPECT_EQ(views(), before + 2);
        f.app.userEvent([&] { f.app.end(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(views(), before);
    }
}

TEST(StartWindowView, FollowsTheModelBothWays) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "re", "rus");
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "5");
    platform::writeProfileString(f.app.settingsFile(), "test", "pass", "секрет");
    Form1& model = f.app.window<Form1>();
    gui::StartWindowView view(f.app, model);
    QRadioButton* exam = withText<QRadioButton>(view, model.Option1.caption());
    ASSERT_TRUE(exam);
    exam->click();

    // Typing a name reaches the model; the confirmation shows the ticket panel.
    QLineEdit* name = nullptr;
    for (QLineEdit* edit : view.findChildren<QLineEdit*>()) {
        if (edit->toolTip() == model.Text9.toolTip()) name = edit;
    }
    ASSERT_TRUE(name);
    emit name->textEdited(QStringLiteral("Иванов"));
    EXPECT_EQ(model.Text9.text(), "Иванов");
    QPushButton* ok = withText<QPushButton>(view, "OK");
    ASSERT_TRUE(ok);
    ok->click();
    QGroupBox* ticketPanel = nullptr;
    for (QGroupBox* box : view.findChildren<QGroupBox*>()) {
        if (box->title() == model.Frame1.caption()) ticketPanel = box;
    }
    ASSERT_TRUE(ticketPanel);
    EXPECT_FALSE(ticketPanel->isHidden());

    // The panels behind the name are built as they show; the password is never shown.
    QLineEdit* password = nullptr;
    for (QLineEdit* edit : view.findChildren<QLineEdit*>()) {
        if (edit->echoMode() == QLineEdit::Password) password = edit;
    }
    ASSERT_TRUE(password);
    EXPECT_EQ(password->toolTip(), model.Text2.toolTip());
    EXPECT_TRUE(name->isHidden() || !name->parentWidget()->isVisibleTo(&view));

    // A refused tick leaves the box unticked on screen as in the model.
    QCheckBox* manual = withText<QCheckBox>(view, model.Check1.caption());
    ASSERT_TRUE(manual);
    manual->click();
    EXPECT_FALSE(manual->isChecked());
    EXPECT_EQ(model.Check1.value(), 0);
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages.front().text, "Не правильный пароль!");
    f.desktop.messages.clear();

    emit password->textEdited(QStringLiteral("секрет"));
    manual->click();
    EXPECT_TRUE(manual->isChecked());
    EXPECT_EQ(model.Check1.value(), 1);
    EXPECT_TRUE(f.desktop.messages.empty());

    // The delay timer runs a real timer exactly while the model's is enabled.
    auto activeTimers = [&] {
        int active = 0;
        for (QTimer* timer : view.findChildren<QTimer*>())
            if (timer->isActive() && timer->interval() == 500) ++active;
        return active;
    };
    EXPECT_EQ(activeTimers(), 0);
    model.Timer1.setEnabled(true);
    EXPECT_EQ(activeTimers(), 1);
    model.Timer1.setEnabled(false);
    EXPECT_EQ(activeTimers(), 0);
    view.detach();
}
