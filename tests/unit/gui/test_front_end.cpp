// The front end's machinery with a window of the test's own: registered once, it is
// drawn, driven by the runner and followed by the view manager; the binder's folder and
// drive lists, lossless multi-line text and title bars follow the model.

#include "forms/captions.h"
#include "gui/qt_translations.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "runner.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

class FormT : public forms::Window {
public:
    static constexpr char kName[] = "FormT";
    explicit FormT(App& app) : Window(app, kName) {
        Command1.onClick = [this] { Text1.setText(QStringLiteral("pressed")); };
        Label1.onClick = [this] { setClosable(!closable()); };
    }
    forms::TextBox Text1{*this, "Text1"};
    forms::TextBox Text2{*this, "Text2"};
    forms::CommandButton Command1{*this, "Command1"};
    forms::Label Label1{*this, "Label1"};
    forms::FolderList Dir1{*this, "Dir1"};
    forms::DriveList Drive1{*this, "Drive1"};
};

class FormTView : public gui::View {
public:
    FormTView(App& app, FormT& model) : View(app, model) {
        text = new QPlainTextEdit(this);
        folders = new QListWidget(this);
        drives = new QComboBox(this);
        binder().bind(model.Text2, text);
        binder().bind(model.Dir1, folders);
        binder().bind(model.Drive1, drives);
        binder().bindWindow(model, this);
    }
    QPlainTextEdit* text;
    QListWidget* folders;
    QComboBox* drives;
};

const gui::WindowTable& testWindows() {
    static const gui::WindowTable table{
        {gui::windowEntry<FormT, FormTView>(), gui::plannedWindow("FormU")}};
    return table;
}

} // namespace

TEST(FrontEnd, AWindowRegisteredOnceIsDrawnAndDrivenByTheRunner) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    const auto passed = scenario::runScript(QStringLiteral("start\n"
                                                           "expect FormT.visible \"true\"\n"
                                                           "click FormT.Command1\n"
                                                           "expect FormT.Text1.text \"pressed\"\n"),
                                            {}, testWindows());
    EXPECT_EQ(passed.outcome, scenario::Outcome::Pass) << passed.what.toStdString();

    const auto planned =
        scenario::runScript(QStringLiteral("start\nclick FormU.Command1\n"), {}, testWindows());
    EXPECT_EQ(planned.outcome, scenario::Outcome::Error);
    EXPECT_EQ(planned.what, "window FormU is not built yet");
    const auto unknown =
        scenario::runScript(QStringLiteral("start\nclick Form1.Command1\n"), {}, testWindows());
    EXPECT_EQ(unknown.what, "unknown window Form1");
    const auto outside = scenario::runScript(QStringLiteral("remove ..\n"), {}, testWindows());
    EXPECT_EQ(outside.outcome, scenario::Outcome::Error) << "set-up stays in its folder";

    AppFixture f;
    FormT& model = f.app.window<FormT>();
    auto view = testWindows().createView(f.app, model);
    ASSERT_TRUE(dynamic_cast<FormTView*>(view.get()));
}

TEST(FrontEnd, AViewManagerGoneBeforeItsAppLeavesNoListenerBehind) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    {
        gui::ViewManager manager(f.app, testWindows());
        f.app.userEvent([&] { f.app.window<FormT>().show(); });
        f.app.userEvent([&] { f.app.unload(*f.app.loaded<FormT>()); });
    }
    // Under AddressSanitizer a listener left behind is a use after scope here.
    f.app.userEvent([&] { f.app.window<FormT>().show(); });
    f.app.userEvent([&] { f.app.end(); });
    EXPECT_TRUE(f.app.ended());
}

TEST(FrontEnd, MultiLineTextIsLosslessWhileEditableAndTrimmedWhileReadOnly) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    FormT& model = f.app.window<FormT>();
    FormTView view(f.app, model);
    model.Text2.setText(QStringLiteral("первая\r\nвторая\r\n"));
    EXPECT_EQ(view.text->toPlainText(), "первая\nвторая\n") << "the final line end stays";
    view.text->setPlainText(QStringLiteral("one\n\ntwo\n"));
    EXPECT_EQ(model.Text2.text(), "one\r\n\r\ntwo\r\n");
    view.text->setPlainText(QStringLiteral("no end"));
    EXPECT_EQ(model.Text2.text(), "no end");

    model.Text2.setLocked(true);
    model.Text2.setText(QStringLiteral("вопрос\r\n"));
    EXPECT_EQ(view.text->toPlainText(), "вопрос");
    EXPECT_TRUE(view.text->isReadOnly());
    EXPECT_EQ(model.Text2.text(), "вопрос\r\n") << "drawing never writes back";
}

TEST(FrontEnd, FolderAndDriveListsFollowTheModelAndMoveIt) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    ASSERT_TRUE(QDir(f.folder.path()).mkpath("b/Физика/b1"));
    ASSERT_TRUE(QDir(f.folder.path()).mkpath("b/Химия"));
    ASSERT_TRUE(QDir(f.folder.path()).mkpath("b/биология"));
    ASSERT_TRUE(putBytes(f.folder.filePath("b/file.txt"), "not a folder"));
    FormT& model = f.app.window<FormT>();
    model.show();
    FormTView view(f.app, model);

    const QString b = QDir::toNativeSeparators(f.folder.filePath("b"));
    model.Dir1.setPath(b);
    QStringList shown;
    for (int i = 0; i < view.folders->count(); ++i)
        shown << view.folders->item(i)->text().trimmed();
    ASSERT_GE(shown.size(), 4);
    EXPECT_EQ(shown.mid(shown.size() - 4), (QStringList{"b", "биология", "Физика", "Химия"}))
        << "the folder shown, then the folders inside it as a person sorts them, no files";
    EXPECT_EQ(view.folders->currentItem()->text().trimmed(), "b");

    // A click only chooses the row; a double-click or Enter opens the folder.
    QListWidgetItem* physics = view.folders->item(int(shown.size()) - 2);
    emit view.folders->itemClicked(physics);
    EXPECT_EQ(model.Dir1.path(), b);
    emit view.folders->itemActivated(physics);
    EXPECT_EQ(model.Dir1.path(), QDir::toNativeSeparators(f.folder.filePath("b/Физика")));

    model.Drive1.setDrives({{QStringLiteral("/"), QStringLiteral("Система")},
                            {QStringLiteral("/media/usb"), QStringLiteral("Флешка")}});
    model.Drive1.setDrive(QStringLiteral("/"));
    EXPECT_EQ(view.drives->count(), 2);
    EXPECT_EQ(view.drives->currentText(), "Система");
    emit view.drives->activated(1);
    EXPECT_EQ(model.Drive1.drive(), "/media/usb");
}

TEST(FrontEnd, TitleBarsHaveACloseButtonOnlyWhenTheModelHasItsCloseCommand) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    gui::ViewManager manager(f.app, testWindows());
    FormT& model = f.app.window<FormT>();
    FormTView view(f.app, model);
    EXPECT_FALSE(view.windowFlags().testFlag(Qt::CustomizeWindowHint));

    f.app.userEvent([&] { model.Label1.click(); });
    ASSERT_FALSE(model.closable());
    EXPECT_TRUE(view.windowFlags().testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(view.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    view.close();
    EXPECT_EQ(f.app.loaded<FormT>(), &model) << "the window manager's close is ignored";

    f.app.userEvent([&] { model.Label1.click(); });
    view.detach();
    view.close();
    EXPECT_EQ(f.app.loaded<FormT>(), nullptr) << "a closable window is unloaded";
}

TEST(FrontEnd, QtsOwnTextsFollowTheInterfaceLanguage) {
    if (!widgetsApplication()) GTEST_SKIP() << "needs a process of its own";
    AppFixture f;
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    {
        // No language stored: the built-in Russian, Qt's dialogs included.
        gui::QtTranslations translations(f.app);
        ASSERT_TRUE(translations.russian()) << "Qt's Russian translation must be installed";
        EXPECT_NE(lookIn(), "Look in:");
        EXPECT_TRUE(f.app.switchLanguage(forms::kEnglish));
        EXPECT_EQ(lookIn(), "Look in:");
        EXPECT_TRUE(f.app.switchLanguage(forms::kRussian));
        EXPECT_NE(lookIn(), "Look in:");
    }
    // Gone with its owner: nothing is left installed, and no listener either.
    EXPECT_EQ(lookIn(), "Look in:");
    EXPECT_TRUE(f.app.switchLanguage(forms::kEnglish));
}
