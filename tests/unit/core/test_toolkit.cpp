// The window toolkit's rules: a changed value runs its handler at once and nested, the
// same value runs nothing; option groups; reachability through frames; deferred unload.

#include "forms/app.h"
#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "platform/fake_services.h"
#include "settings/settings_window.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace forms;

namespace {

using Fixture = AppFixture;

class TestWindow : public Window {
public:
    explicit TestWindow(App& app) : Window(app, "Test") {}
    Frame Frame1{*this, "Frame1"};
    Frame Frame2{*this, "Frame2"};
    TextBox Text1{*this, "Text1"};
    TextBox Text2{*this, "Text2"};
    Label Label1{*this, "Label1"};
    CheckBox Check1{*this, "Check1"};
    OptionButton Option1{*this, "Option1"};
    OptionButton Option2{*this, "Option2"};
    OptionButton Option3{*this, "Option3"};
    CommandButton Command1{*this, "Command1"};
    ListBox List1{*this, "List1"};
};

} // namespace

TEST(Toolkit, ChangedValuesRunHandlersNestedAndSameValuesRunNothing) {
    Fixture f;
    TestWindow w(f.app);
    std::vector<QString> trace;
    w.Text1.onChange = [&] {
        trace.push_back("Text1:" + w.Text1.text());
        w.Label1.setCaption("b" + w.Text1.text()); // a chain, as the ticket choice uses
        trace.push_back("Text1 done");
    };
    w.Label1.onChange = [&] { trace.push_back("Label1:" + w.Label1.caption()); };

    w.Text1.setText("7");
    EXPECT_EQ(trace, (std::vector<QString>{"Text1:7", "Label1:b7", "Text1 done"}));

    trace.clear();
    w.Text1.setText("7");
    w.Label1.setCaption("b7");
    EXPECT_TRUE(trace.empty());

    // A handler that changes its own control's value runs again, nested, and settles.
    int runs = 0;
    w.Text2.onChange = [&] {
        ++runs;
        if (w.Text2.text() != "1") w.Text2.setText("1");
    };
    w.Text2.setText("abc");
    EXPECT_EQ(w.Text2.text(), "1");
    EXPECT_EQ(runs, 2);
}

TEST(Toolkit, CheckBoxesListsAndButtonsRunTheirClickHandlers) {
    Fixture f;
    TestWindow w(f.app);
    int checks = 0, presses = 0, picks = 0;
    w.Check1.onClick = [&] { ++checks; };
    w.Command1.onClick = [&] { ++presses; };
    w.List1.onClick = [&] { ++picks; };

    w.Check1.setValue(0);
    EXPECT_EQ(checks, 0);
    w.Check1.click();
    w.Check1.setValue(1);
    EXPECT_EQ(w.Check1.value(), 1);
    EXPECT_EQ(checks, 1);
    // A handler may refuse the change; that second change runs the handler again.
    w.Check1.onClick = [&] {
        ++checks;
        w.Check1.setValue(0);
    };
    w.Check1.setValue(0);
    EXPECT_EQ(checks, 2);
    w.Check1.setValue(1);
    EXPECT_EQ(w.Check1.value(), 0);
    EXPECT_EQ(checks, 4);

    w.Command1.press();
    w.Command1.press();
    EXPECT_EQ(presses, 2);

    w.List1.addItem("a");
    w.List1.addItem("b");
    w.List1.setListIndex(1);
    w.List1.setListIndex(1);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(w.List1.selectedText(), "b");
    w.List1.clear();
    EXPECT_EQ(w.List1.listIndex(), -1);
    EXPECT_EQ(picks, 1);
    w.List1.setListIndex(5); // out of range selects nothing
    EXPECT_EQ(w.List1.listIndex(), -1);
}

TEST(Toolkit, OptionButtonsFormGroupsByContainer) {
    Fixture f;
    TestWindow w(f.app);
    w.Option1.setContainer(&w.Frame1);
    w.Option2.setContainer(&w.Frame1);
    w.Option3.setContainer(&w.Frame2);
    int clicks1 = 0, clicks2 = 0;
    w.Option1.onClick = [&] { ++clicks1; };
    w.Option2.onClick = [&] { ++clicks2; };

    w.Option3.setValue(true);
    w.Option1.setValue(true);
    w.Option2.click();
    EXPECT_FALSE(w.Option1.value());
    EXPECT_TRUE(w.Option2.value());
    EXPECT_TRUE(w.Option3.value()) << "another frame is another group";
    EXPECT_EQ(clicks1, 1) << "being switched off runs nothing";
    w.Option2.click();
    EXPECT_EQ(clicks2, 1) << "selecting the selected option runs nothing";
}

TEST(Toolkit, ControlsAreUsableOnlyWhenTheyTheirFramesAndWindowAreShownAndEnabled) {
    Fixture f;
    TestWindow w(f.app);
    w.Frame2.setContainer(&w.Frame1);
    w.Text1.setContainer(&w.Frame2);
    EXPECT_FALSE(w.Text1.usable()) << "the window is hidden";
    w.show();
    EXPECT_TRUE(w.Text1.usable());
    w.Frame1.setEnabled(false);
    EXPECT_FALSE(w.Text1.usable());
    w.Frame1.setEnabled(true);
    w.Frame2.hide();
    EXPECT_FALSE(w.Text1.usable());
    EXPECT_TRUE(w.Text1.visible()) << "visible reads the control's own flag";
    EXPECT_EQ(w.control("text1"), &w.Text1);
    EXPECT_EQ(w.control("Nothing"), nullptr);
}

TEST(Toolkit, ObserversFollowChangesAndPropertiesReadAsText) {
    Fixture f;
    TestWindow w(f.app);
    int redraws = 0;
    const int id = w.Label1.subscribe([&] { ++redraws; });
    w.Label1.setForeColor(colors::Red);
    w.Label1.setForeColor(colors::Red);
    w.Label1.setCaption("x");
    EXPECT_EQ(redraws, 2);
    w.Label1.unsubscribe(id);
    w.Label1.setCaption("y");
    EXPECT_EQ(redraws, 2);

    // A listener keeps its own state between notifications (a panel built on its first
    // show is built once), and one unsubscribed by an earlier listener is not called.
    int builds = 0;
    w.Frame1.subscribe([&builds, built = false]() mutable {
        if (!built) ++builds;
        built = true;
    });
    int late = 0;
    int lateId = 0;
    w.Frame1.subscribe([&] { w.Frame1.unsubscribe(lateId); });
    lateId = w.Frame1.subscribe([&] { ++late; });
    w.Frame1.hide();
    w.Frame1.show();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(late, 0);

    EXPECT_EQ(*w.Label1.property("forecolor"), "0x000000FF");
    EXPECT_EQ(*w.Label1.property("caption"), "y");
    EXPECT_EQ(*w.Check1.property("value"), "0");
    EXPECT_EQ(*w.Option1.property("value"), "false");
    EXPECT_FALSE(w.Text1.property("listcount").has_value());
    w.List1.addItem("first");
    EXPECT_EQ(*w.List1.property("list(0)"), "first");
    EXPECT_EQ(*w.List1.property("listcount"), "1");
}

TEST(Toolkit, CaptionTablesHoldTheDesignAndBothLanguages) {
    Fixture f;
    TestWindow w(f.app);
    const CaptionTable captions{{&w.Label1, "как задумано ", "по-русски", "in English"},
                                {&w.Command1, "Да", "Да", "Yes"},
                                {&w.Text1, "поле", nullptr, nullptr}};
    captions.applyDesign();
    EXPECT_EQ(w.Label1.caption(), "как задумано ");
    EXPECT_EQ(w.Text1.text(), "поле") << "a text box shows its caption as its text";
    captions.apply("RUS");
    EXPECT_EQ(w.Label1.caption(), "как задумано ") << "another language keeps the design";
    captions.apply("eng");
    EXPECT_EQ(w.Label1.caption(), "in English");
    EXPECT_EQ(w.Command1.caption(), "Yes");
    EXPECT_EQ(w.Text1.text(), "поле") << "a row without languages keeps its design caption";
}

TEST(Toolkit, ABlockerSilencesHandlersAndAssignAndRunRunsThemAlways) {
    Fixture f;
    TestWindow w(f.app);
    int clicks = 0, changes = 0;
    w.Check1.onClick = [&] { ++clicks; };
    w.Text1.onChange = [&] { ++changes; };
    {
        HandlerBlocker quiet(w.Check1);
        w.Check1.setValue(1);
        EXPECT_EQ(w.Check1.value(), 1) << "the change itself happens";
    }
    EXPECT_EQ(clicks, 0);
    w.Check1.setValue(0);
    EXPECT_EQ(clicks, 1) << "the blocker is gone with its scope";

    w.Text1.assignAndRun("5");
    w.Text1.assignAndRun("5");
    EXPECT_EQ(changes, 2) << "the same text runs the handler again";
}

TEST(App, UnloadFromAHandlerOfTheSameWindowDefersDestructionToTheEventsEnd) {
    Fixture f;
    Form4& first = f.app.window<Form4>();
    f.desktop.messages.clear(); // the minutes message of a missing test.ini
    bool sawWindowAfterUnload = false;
    first.Command9.onClick = [&] {
        f.app.unload(first);
        // The object lives on until the event is over, so the handler can go on.
        first.Text3.setText("42");
        sawWindowAfterUnload = first.Text3.text() == "42";
        EXPECT_EQ(f.app.loadedWindow("Form4"), nullptr);
    };
    f.app.userEvent([&] { first.Command9.press(); });
    EXPECT_TRUE(sawWindowAfterUnload);
    EXPECT_EQ(f.app.loadedWindow("Form4"), nullptr);

    Form4& second = f.app.window<Form4>();
    f.desktop.messages.clear();
    EXPECT_EQ(second.Text3.text(), "") << "a new window loads afresh";
    EXPECT_EQ(f.app.loadedWindow("Form4"), &second);
}

TEST(App, EndUnloadsEveryWindow) {
    Fixture f;
    f.app.window<Form4>();
    f.desktop.messages.clear();
    int unloaded = 0;
    f.app.windowUnloading.subscribe([&](Window&) { ++unloaded; });
    f.app.userEvent([&] { f.app.end(); });
    EXPECT_TRUE(f.app.ended());
    EXPECT_EQ(unloaded, 1);
    EXPECT_TRUE(f.app.loadedWindows().empty());
}
