// The ticket editor's view: both panels draw offscreen, the ticket number is taken once
// typed, multi-line texts keep their CR LF, and the question list loads what it names.

#include "exam_content/ticket_editor.h"
#include "gui/ticket_editor_view.h"
#include "gui_support.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(TicketEditorView, DrawsBothPanelsAndFollowsTheModelBothWays) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    const QString exam = f.app.path("b/exam");
    QDir().mkpath(exam + "/b1");
    platform::writeWholeFile(exam + "/lzm.lzm", "Экзамен");
    platform::writeWholeFile(exam + "/b1/q1.txt", "Первая строка\r\nвторая");
    platform::writeWholeFile(exam + "/b1/v1.txt", "да\r\nнет");
    platform::writeWholeFile(exam + "/b1/o1.txt", "да");
    for (auto [key, value] : {std::pair{"re", "rus"}, {"time", "1"}})
        platform::writeProfileString(f.app.settingsFile(), "test", key, value);
    Form7& model = f.app.window<Form7>();
    gui::TicketEditorView view(f.app, model);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    f.app.userEvent([&] { model.show(); });
    EXPECT_FALSE(view.grab().isNull());
    auto box = [&](const forms::Frame& frame) {
        for (QGroupBox* found : view.findChildren<QGroupBox*>())
            if (found->title() == frame.caption()) return found;
        return static_cast<QGroupBox*>(nullptr);
    };
    ASSERT_TRUE(box(model.Frame6) && box(model.Frame1));
    EXPECT_TRUE(box(model.Frame1)->isHidden());

    // The folder browser follows the model and moves it.
    f.app.userEvent([&] { model.Command8.press(); });
    auto* folders = view.findChild<QListWidget*>();
    ASSERT_TRUE(folders);
    EXPECT_TRUE(folders->isVisibleTo(&view));
    f.app.userEvent([&] { model.Dir1.setPath(exam); });
    EXPECT_EQ(folders->currentItem()->data(Qt::UserRole).toString(), exam);
    // The model moves the window as it changes panels: the window stays up (keeping the
    // keyboard) instead of being hidden and shown again.
    struct HideCounter : QObject {
        int hides = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            hides += event->type() == QEvent::Hide;
            return false;
        }
    } counter;
    view.installEventFilter(&counter);
    f.app.userEvent([&] { model.Command6.press(); });
    EXPECT_EQ(counter.hides, 0);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(view.windowFlags() & Qt::CustomizeWindowHint);
    view.removeEventFilter(&counter);
    EXPECT_FALSE(box(model.Frame6)->isVisibleTo(&view));
    EXPECT_TRUE(box(model.Frame1)->isVisibleTo(&view));
    EXPECT_LE(view.sizeHint().height(), 480) << "fits a 1366 x 768 screen at 150 %";

    // The ticket number is taken when editing finishes: "12" is never looked up as "1".
    QLineEdit* ticket = nullptr;
    for (QLineEdit* edit : view.findChildren<QLineEdit*>())
        if (edit->isVisibleTo(&view) && !ticket) ticket = edit;
    ASSERT_TRUE(ticket);
    ticket->setText("1");
    emit ticket->textEdited("1");
    EXPECT_EQ(model.Text6.text(), "");
    emit ticket->editingFinished();
    EXPECT_EQ(model.Label9.caption(), "Билет № 1 уже создан");

    // Choosing question 1 from the list loads its lines; edits come back with CR LF.
    auto* questions = view.findChild<QComboBox*>();
    ASSERT_TRUE(questions);
    emit questions->activated(0);
    auto* question = view.findChildren<QPlainTextEdit*>().value(0);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->toPlainText(), "Первая строка\nвторая");
    question->setPlainText("Новая\nстрока");
    EXPECT_EQ(model.Text1.text(), "Новая\r\nстрока");
    EXPECT_TRUE(f.desktop.messages.empty());
    view.detach();
}

// The flow without interruptions: a click on a folder only chooses it and "OK" takes the
// row chosen; "Новый билет" offers the next free number ready to be typed over; a ticket
// not made yet is a note in the window, not a message box.
TEST(TicketEditorView, TakesTheChosenRowOffersTheNextTicketAndNotesInTheWindow) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    const QString exam = f.app.path("b/exam");
    QDir().mkpath(exam + "/b1");
    platform::writeWholeFile(exam + "/lzm.lzm", "Экзамен");
    for (auto [key, value] : {std::pair{"re", "rus"}, {"time", "1"}})
        platform::writeProfileString(f.app.settingsFile(), "test", key, value);
    Form7& model = f.app.window<Form7>();
    gui::TicketEditorView view(f.app, model);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    f.app.userEvent([&] {
        model.show();
        model.Command8.press();
    });

    auto* folders = view.findChild<QListWidget*>();
    ASSERT_TRUE(folders);
    const QList<QListWidgetItem*> rows = folders->findItems("exam", Qt::MatchEndsWith);
    ASSERT_EQ(rows.size(), 1);
    folders->setCurrentItem(rows.front());
    emit folders->itemClicked(rows.front());
    EXPECT_EQ(model.Dir1.path(), f.app.path("b")) << "a click opens nothing";
    QPushButton* ok = nullptr;
    for (QPushButton* button : view.findChildren<QPushButton*>())
        if (button->text() == "OK" && button->isVisibleTo(&view)) ok = button;
    ASSERT_TRUE(ok);
    ok->click();
    EXPECT_TRUE(model.Frame1.visible());
    EXPECT_EQ(model.Label22.caption(), "Редактировать: " + exam);

    QPushButton* newTicket = withText<QPushButton>(view, "Новый билет");
    ASSERT_TRUE(newTicket);
    newTicket->click();
    QLineEdit* ticket = withText<QLineEdit>(view, "2");
    ASSERT_TRUE(ticket);
    EXPECT_EQ(ticket->selectedText(), "2");
    ticket->setText("7");
    emit ticket->editingFinished();
    QLabel* note = withText<QLabel>(view, "Билет № 7 не создан");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->isVisibleTo(&view));
    EXPECT_TRUE(f.desktop.messages.empty());
    view.detach();
}
