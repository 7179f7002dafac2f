#include "exam_content/folder_chooser.h"

#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_content/exam_folder.h"
#include "exam_content/folder_chooser_texts.h"
#include "exam_content/folder_survey.h"
#include "forms/app.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"

#include <QDir>
#include <algorithm>

using namespace forms;
using folder_chooser_texts::text;

namespace {

const QString kProduct = QStringLiteral("Проверон");

// Window size in twips with the count question shown, its widest; the window opens in the
// middle of the screen.
constexpr int kWidth = 12000;
constexpr int kHeight = 6600;

// The folder as the settings keep it: native separators, no trailing separator.
QString cleanFolder(const QString& path) {
    return path.isEmpty() ? path : QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

Form9::Form9(App& app) : Window(app, kName) {
    setCaption(kProduct);
    const QSize screen = app.services().screen.sizePixels();
    move(std::max(0, (screen.width() * kTwipsPerPixel - kWidth) / 2),
         std::max(0, (screen.height() * kTwipsPerPixel - kHeight) / 2), kWidth, kHeight);

    place(Frame11, {&Drive1, &Dir1, &Text1, &Text4, &Label8, &Command1, &Command2, &Frame1});
    place(Frame1, {&Label1, &Label2, &Label3, &Label5, &Label6, &Text6, &Text2, &Text7, &Text8,
                   &Command4, &Command5});
    keepLanguageIn(Label4);
    captions_.applyDesign();

    for (Control* holder : std::initializer_list<Control*>{&Text3, &Text5, &Label4, &List1, &List2})
        holder->hide();
    // Shown, never typed: the folder comes from the folder list, the rest from the check
    // and the counts.
    for (TextBox* shown : {&Text1, &Text4, &Text6, &Text2, &Text7, &Text8})
        shown->setLocked(true);
    // A warning on the window's own background, not a field to type in.
    Text4.setForeColor(colors::Red);
    Text4.setBackColor(colors::ButtonFace);
    Text4.hide();
    Frame1.hide();

    // Event table.
    Drive1.onChange = [this] { driveChanged(); };
    Dir1.onChange = [this] { folderChanged(); };
    Text1.onChange = [this] { checkFolder(); };
    Label8.onClick = [this] { Dir1.setPath(examsFolder()); };
    Command1.onClick = [this] { accept(); };
    Command2.onClick = [this] { close(); };
    Command4.onClick = [this] { takeCounts(); };
    Command5.onClick = [this] { keepCounts(); };
}

void Form9::load() {
    DisableXbutton(*this);
    Label4.setCaption(app().language());
    Form4& settings = app().window<Form4>();
    Text1.setText(settings.examFolder());
    Frame1.hide();
    List2.hide();

    std::vector<DriveList::Drive> drives;
    for (const platform::Volume& volume : app().services().volumes.list())
        drives.push_back({volume.root, volume.name});
    Drive1.setDrives(drives);
    // The list starts among the exams, whether or not an exam folder is set yet.
    Dir1.setPath(examsFolder());
    Text6.setText(settings.Text3.text());

    captions_.apply(Label4.caption());
}

QString Form9::examsFolder() const { return app().path(QStringLiteral("b")); }

void Form9::showStatus(const QString& status, Color color) {
    Text4.setForeColor(color);
    Text4.setText(status);
    Text4.show();
}

void Form9::driveChanged() {
    const QString root = Drive1.drive();
    // Asked afresh: a medium may have come or gone since the list was made.
    const auto volumes = app().services().volumes.list();
    const auto volume = std::find_if(volumes.begin(), volumes.end(),
                                     [&root](const platform::Volume& v) { return v.root == root; });
    if (volume != volumes.end() && volume->ready) {
        Dir1.setPath(root);
        return;
    }
    showStatus(say(text("driveNotReady")) + (volume != volumes.end() ? volume->name : root));
    // The list stays on the drive of the folder still shown.
    followFolderWithDrive();
}

void Form9::folderChanged() {
    followFolderWithDrive();
    Text1.setText(cleanFolder(Dir1.path()));
}

void Form9::followFolderWithDrive() {
    QStringList roots;
    for (const DriveList::Drive& drive : Drive1.drives())
        roots << drive.path;
    // Following the folder is no choice of the user's: the folder list stays where it is.
    HandlerBlocker quiet(Drive1);
    Drive1.setDrive(folder_survey::driveOf(Dir1.path(), roots));
}

void Form9::checkFolder() {
    // A count question asked of an earlier folder does not hold for this one.
    Frame1.hide();
    const folder_survey::FolderCheck check = folder_survey::checkFolder(Text1.text());
    Text3.setText(check.ticketFolder);
    // Exact comparison: "B1" made by hand is not the ticket folder the exam opens.
    if (Text3.text() != folder_survey::kFirstTicket) {
        showStatus(check.exists && !check.readable ? say(text("noAccess"))
                                                   : say(text("noTickets")));
        Command1.setEnabled(false);
        return;
    }
    Text4.setText(QString());
    Text4.hide();
    Command1.setEnabled(true);
    Text5.setText(check.firstVariants);
    if (Text5.text() != folder_survey::kFirstVariants) showStatus(say(text("questionMissing")));
}

void Form9::accept() {
    QStringList entries;
    QStringList questions;
    if (!survey(entries, questions)) return;

    // The marker file is the one entry that is no ticket.
    const QString tickets = QString::number(entries.size() - 1);
    List1.setItems(entries);
    Text2.setText(tickets);
    List2.setItems(questions);
    Text8.setText(
        folder_survey::questionCountText(questions.size(), app().locale().decimalSeparator()));
    Text4.setText(tickets);

    Form4& settings = app().window<Form4>();
    Text6.setText(settings.Text3.text());
    Text7.setText(settings.Combo1.text());
    settings.Text6.setText(chosenFolderToStore());
    // A ticket drawn from the former exam must not be opened from the new one.
    if (Form1* start = app().loaded<Form1>()) {
        start->Label1.setCaption(QString());
        start->Command3.setEnabled(false);
    }
    if (Text8.text() != Text7.text() || Text2.text() != Text6.text()) {
        Frame1.show();
        return;
    }
    // Nothing to ask: the status line says the folder was taken.
    showStatus(say(text("folderTaken")).arg(Text2.text(), Text8.text()), colors::Green);
}

bool Form9::survey(QStringList& entries, QStringList& questions) {
    const QString folder = Text1.text();
    QString unreadable = folder;
    if (const auto listed = folder_survey::listEntries(folder)) {
        const folder_survey::QuestionFiles found =
            folder_survey::questionFiles(QDir(folder).filePath(folder_survey::kFirstTicket));
        unreadable = found.unreadableFolder;
        entries = *listed;
        questions = found.files;
    }
    if (unreadable.isEmpty()) return true;
    // Counts that could not be made are never handed over: the settings keep what they
    // had, and the check shows what is left of the folder now.
    app().message(say(text("folderUnreadable")).arg(unreadable), kProduct);
    checkFolder();
    return false;
}

void Form9::takeCounts() {
    Form4& settings = app().window<Form4>();
    settings.Text6.setText(chosenFolderToStore());
    settings.Text3.setText(Text2.text());
    // New counts make the former passing score meaningless; it is set again.
    settings.Text5.setText(QStringLiteral("0"));
    settings.Combo1.setText(Text8.text());
    Frame1.hide();
    close();
}

void Form9::keepCounts() {
    app().window<Form4>().Text6.setText(chosenFolderToStore());
    Frame1.hide();
    close();
}

QString Form9::chosenFolderToStore() const {
    return exam_folder::storedExamFolder(app().folder(), Text1.text());
}

void Form9::close() {
    App& application = app();
    hide();
    application.unload(*this);
    application.window<Form4>().show();
}
