#include "exam_content/ticket_editor.h"

#include "common/file_messages.h"

#include "common/documents.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "exam_content/question_pictures.h"
#include "exam_content/ticket_editor_texts.h"
#include "exam_taking/picture_viewer.h"
#include "forms/app.h"
#include "platform/folders.h"
#include "platform/text_encoding.h"
#include "settings/settings_window.h"
#include "teacher_tools/answer_match.h"
#include "teacher_tools/bank_export.h"
#include "teacher_tools/findings_window.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace forms;
using ticket_editor_texts::text;

namespace {

const QString kProduct = QStringLiteral("Проверон");

// Window and panel sizes in twips: the small folder panel, the large editing panel.
constexpr int kFolderWindowWidth = 4605;
constexpr int kFolderWindowHeight = 4890;
constexpr int kFolderPanelSize = 4575;
constexpr int kEditingWindowPlace = 240;
constexpr int kEditingWindowWidth = 10605;
constexpr int kEditingWindowHeight = 8625;
constexpr int kEditingPanelWidth = 10455;
constexpr int kEditingPanelHeight = 8175;

const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");
QString flag(bool value) { return value ? kTrue : kFalse; }

// What the picture links show besides the picture: the size lines and the viewer link.
std::array<Control*, 4> pictureLabels(Form7& editor) {
    return {&editor.Label11, &editor.Label12, &editor.Label13, &editor.Label14};
}

} // namespace

Form7::Form7(App& app) : Window(app, kName) {
    setCaption(kProduct);
    place(Frame6, {&Frame10, &Frame9, &Frame5, &Frame7, &Frame8, &Frame11});
    place(Frame10, {&Command9, &Command8, &Command15, &Command20, &Command12});
    place(Frame5, {&Label23, &Text9, &Command5, &Command13});
    place(Frame7, {&Dir1, &Command6, &Command16, &Command14});
    place(Frame11, {&Label24, &Text13, &Command17, &Frame12, &Label25, &Text14, &Label26, &Text15,
                    &Label27, &Text16, &Command18, &Command19});
    place(Frame12, {&Option1, &Option2, &Option3});
    place(Frame8, {&Text10, &Text11, &Text12});
    place(Frame1,
          {&Label22,  &Label6,   &Text6,    &Label9,    &Label7,  &Combo1,  &Label10, &Label28,
           &Frame2,   &Label4,   &Label1,   &Frame3,    &Label2,  &Frame4,  &Label3,  &Command2,
           &Command1, &Command7, &Command4, &Command10, &Label5,  &Label14, &Label18, &Label19,
           &Label11,  &Label12,  &Label13,  &Image1,    &Picture1});
    place(Frame2, {&Text1});
    place(Frame3, {&Text2});
    place(Frame4, {&Text3});

    keepLanguageIn(Label21);
    captions_.applyDesign();
    Text12.setText(exam_writer::kMarkerFileName);
    Text8.setText(QStringLiteral("0"));
    Label20.setCaption(QStringLiteral("0"));
    for (Label* present : {&Label8, &Label15, &Label16, &Label17})
        present->setCaption(kFalse);
    for (int n = 1; n <= exam_folder::kMaxQuestions; ++n)
        Combo1.addItem(QString::number(n));
    Text1.setMultiLine(true);
    Text2.setMultiLine(true);
    // The ticket number is looked up, and a missing ticket reported, once it is typed,
    // not at every keystroke on the way to "12".
    Text6.setCommitOnFinish(true);
    // A typed question file is read for its format once the path is whole.
    Text13.setCommitOnFinish(true);
    Option1.setValue(true);

    // Event table.
    Command9.onClick = [this] { showCreatePanel(); };
    Command8.onClick = [this] { showChoosePanel(); };
    Command13.onClick = [this] { closeSubPanels(); };
    Command14.onClick = [this] { closeSubPanels(); };
    Command19.onClick = [this] { closeSubPanels(); };
    Command15.onClick = [this] { showImportPanel(); };
    Command16.onClick = [this] { this->app().window<Form10>().checkFolder(Dir1.path()); };
    Command17.onClick = [this] { chooseBankFile(); };
    Text13.onChange = [this] { bankFileChanged(); };
    Command18.onClick = [this] { importBank(); };
    Command20.onClick = [this] { exportExam(); };
    Dir1.onChange = [this] { Text10.setText(Dir1.path()); };
    Command5.onClick = [this] { createExamFolder(); };
    Command6.onClick = [this] { chooseExamFolder(); };
    Command12.onClick = [this] { closeEditor(); };
    Text6.onChange = [this] { ticketNumberChanged(); };
    Text7.onChange = [this] { showTicketStatus(); };
    Combo1.onChange = [this] { questionNumberEdited(); };
    Combo1.onClick = [this] { questionChosen(); };
    Command2.onClick = [this] { saveQuestion(); };
    Text4.onChange = [this] { Text5.setText(QFileInfo(Text4.text()).fileName()); };
    Label5.onClick = [this] { choosePicture(); };
    Label14.onClick = [this] { viewPicture(); };
    Label18.onClick = [this] { takePictureAway(); };
    Label19.onClick = [this] { deletePictureFromTicket(); };
    Command1.onClick = [this] { newTicket(); };
    Command7.onClick = [this] { backToFolderPanel(); };
    Command4.onClick = [this] { closeFromEditingPanel(); };
    Command10.onClick = [this] { openHelp(this->app()); };
}

void Form7::load() {
    DisableXbutton(*this);
    // The small folder panel opens in the middle of the screen.
    const QSize screen = app().services().screen.sizePixels();
    move(std::max(0, (screen.width() * kTwipsPerPixel - kFolderWindowWidth) / 2),
         std::max(0, (screen.height() * kTwipsPerPixel - kFolderWindowHeight) / 2),
         kFolderWindowWidth, kFolderWindowHeight);
    Frame6.move(0, 0, kFolderPanelSize, kFolderPanelSize);
    Label21.setCaption(app().language());
    examFolderAtOpen_ = app().window<Form4>().Text6.text();
    for (Control* hidden : std::initializer_list<Control*>{
             &Command3, &Label21, &Command11, &Text4, &Text5, &Text8, &Picture1, &Text7, &Label8,
             &Label15, &Label16, &Label17, &Label19, &Label20}) {
        hidden->hide();
    }
    for (Control* label : pictureLabels(*this))
        label->hide();
    Label9.setCaption(QString());
    Label10.setCaption(QString());
    Label28.setCaption(QString());
    Dir1.setPath(app().path(QStringLiteral("b")));
    for (Control* hidden :
         std::initializer_list<Control*>{&Frame1, &Frame7, &Frame5, &Frame8, &Frame11})
        hidden->hide();
    captions_.apply(Label21.caption());
}

// Messages.

void Form7::tell(const texts::Text& message, const QString& argument) {
    QString shown = say(message);
    if (!argument.isNull()) shown = shown.arg(argument);
    app().message(shown, kProduct);
}

void Form7::tellNotWritten(const platform::WriteResult& result) {
    const QString path = QDir::toNativeSeparators(result.file());
    const QString why = writeFailureNote(result, language());
    // Without the system's reason the two usual causes are named.
    if (why.isEmpty()) {
        tell(text("notWritten"), path);
    } else {
        app().message(say(text("notWrittenBecause")).arg(path) + why, kProduct);
    }
}

void Form7::tellNoTicketNumber(const QString& number) { tell(text("noTicketNumber"), number); }

// Where the editor writes.

QString Form7::examFolder() const { return app().window<Form4>().examFolder(); }

QString Form7::ticketFolder() const {
    const QString number = Text6.text();
    if (!exam_writer::isTicketNumber(number)) return {};
    return exam_folder::ticketFolderPath(examFolder(), exam_folder::ticketFolderName(number));
}

std::optional<int> Form7::question() const { return exam_writer::questionNumber(Combo1.text()); }

// Folder panel.

void Form7::showCreatePanel() {
    Frame5.show();
    Frame7.hide();
    Frame11.hide();
    Frame9.hide();
    Frame10.hide();
}

void Form7::showChoosePanel() {
    Frame7.show();
    Frame5.hide();
    Frame11.hide();
    Dir1.setPath(app().path(QStringLiteral("b")));
    Frame9.hide();
    Frame10.hide();
}

void Form7::closeSubPanels() {
    Frame5.hide();
    Frame7.hide();
    Frame11.hide();
    Frame9.show();
    Frame10.show();
}

void Form7::showImportPanel() {
    Frame11.show();
    Frame5.hide();
    Frame7.hide();
    Frame9.hide();
    Frame10.hide();
    // Tickets as long as the settings ask for, unless the teacher says otherwise.
    if (Text15.text().isEmpty()) {
        const QString questions = app().window<Form4>().Combo1.text();
        Text15.setText(teacher_tools::wholeNumber(questions, 1, exam_folder::kMaxQuestions)
                           ? questions
                           : QStringLiteral("5"));
    }
}

void Form7::chooseBankFile() {
    const QString path = app().services().dialogs.openFile(Frame11.caption(),
                                                           say(text("bankFilter")), app().folder());
    if (!path.isEmpty()) Text13.setText(path);
}

void Form7::bankFileChanged() {
    const QString path = Text13.text();
    // The format the file is written in, as far as its text tells.
    if (const std::optional<QByteArray> bytes = platform::readBytes(path)) {
        switch (teacher_tools::guessFormat(platform::decodeDetected(*bytes))) {
        case teacher_tools::BankFormat::Aiken:
            Option1.setValue(true);
            break;
        case teacher_tools::BankFormat::Gift:
            Option2.setValue(true);
            break;
        case teacher_tools::BankFormat::MoodleXml:
            Option3.setValue(true);
            break;
        }
    }
    // The name follows the file until the teacher types one of their own.
    const QString name = QFileInfo(path).completeBaseName();
    if (Text14.text().isEmpty() || Text14.text() == proposedName_) Text14.setText(name);
    proposedName_ = name;
}

std::optional<teacher_tools::ExamImportOptions> Form7::importOptions() {
    const std::optional<int> perTicket =
        teacher_tools::wholeNumber(Text15.text(), 1, exam_folder::kMaxQuestions);
    const std::optional<int> seed = teacher_tools::wholeNumber(Text16.text(), 0, 2147483647);
    if (Text13.text().isEmpty()) {
        tell(text("chooseBankFile"));
    } else if (Text14.text().isEmpty()) {
        tell(text("noExamName"));
    } else if (!perTicket) {
        tell(text("perTicketRange"));
    } else if (!Text16.text().isEmpty() && !seed) {
        tell(text("shuffleNumber"));
    } else {
        teacher_tools::ExamImportOptions options{*perTicket, std::nullopt};
        if (seed && !Text16.text().isEmpty()) options.seed = std::uint32_t(*seed);
        return options;
    }
    return std::nullopt;
}

void Form7::importBank() {
    const std::optional<teacher_tools::ExamImportOptions> options = importOptions();
    if (!options) return;
    const QString file = Text13.text();
    const QString name = Text14.text();
    const teacher_tools::Wording wording(language());
    const auto format = Option3.value()   ? teacher_tools::BankFormat::MoodleXml
                        : Option2.value() ? teacher_tools::BankFormat::Gift
                                          : teacher_tools::BankFormat::Aiken;
    const teacher_tools::ImportResult result =
        teacher_tools::importExam(app(), format, file, name, *options, wording);
    if (!result.made()) {
        // What was left out explains an import that found nothing to take; an import that
        // failed to write has only its failure to show.
        app().message(result.error, kProduct);
        if (!result.skipped.empty() || !result.notes.empty())
            app().window<Form10>().showImport(file, result);
        return;
    }
    const QString skipped = QString::number(result.skipped.size());
    QString summary = say(text("examImported"))
                          .arg(name)
                          .arg(result.questions)
                          .arg(result.tickets)
                          .arg(options->perTicket)
                          .arg(skipped);
    if (result.readUpTo > 0) summary += say(text("bankReadUpTo")).arg(result.readUpTo);
    app().message(summary, kProduct);
    openImportedExam(result.folder);
    app().window<Form10>().showImport(file, result);
}

// The exam in use as GIFT (its pictures beside it) and as Moodle XML, in the folder
// "export" of the application folder, named after the exam's folder.
void Form7::exportExam() {
    const QString exam = examFolder();
    if (exam.isEmpty() || !exam_writer::isExamFolder(exam)) {
        tell(text("noExamToExport"));
        return;
    }
    const QString folder = app().path(QStringLiteral("export"));
    if (!platform::MakeDirPath(folder)) {
        tellNotWritten(platform::WriteResult::systemFailure(folder));
        return;
    }
    const teacher_tools::Wording wording(language());
    QStringList files;
    std::vector<teacher_tools::BankNote> notes;
    int questions = 0;
    for (const auto& [format, suffix] : {std::pair{teacher_tools::ExportFormat::Gift, ".gift"},
                                         {teacher_tools::ExportFormat::MoodleXml, ".xml"}}) {
        const QString file =
            QDir(folder).filePath(QFileInfo(exam).fileName() + QString::fromLatin1(suffix));
        const teacher_tools::ExportResult result =
            teacher_tools::exportBank(app(), exam, format, file, wording);
        if (!result.done()) {
            app().message(result.error, kProduct);
            return;
        }
        files.append(QDir::toNativeSeparators(file));
        questions = result.questions;
        notes = result.notes;
    }
    // What could not be written is said with the rest: the two files leave out the same.
    QString message = say(text("examExported")).arg(questions).arg(files.at(0), files.at(1));
    for (const teacher_tools::BankNote& note : notes)
        message += say(text("exportLeftOut")).arg(note.line).arg(note.text);
    app().message(message, kProduct);
}

void Form7::openImportedExam(const QString& folder) {
    // Like a folder created here, the imported exam is the exam folder in use.
    Dir1.setPath(folder);
    app().window<Form4>().Text6.setText(folder);
    Text6.setText(QString());
    clearQuestionNumber();
    Frame11.hide();
    Frame6.hide();
    openEditingPanel(say(text("editing")) + folder);
}

bool Form7::acceptableExamName(const QString& name) {
    if (const platform::NameProblem problem = platform::newNameProblem(name);
        problem != platform::NameProblem::None) {
        app().message(examNameRefusal(problem, name, language()), kProduct);
        return false;
    }
    if (const auto character = exam_writer::firstUnwritableCharacter(name)) {
        tell(text("unwritableName"), *character);
        return false;
    }
    return true;
}

void Form7::createExamFolder() {
    const QString name = Text9.text();
    if (name.isEmpty()) {
        tell(text("noExamName"));
        return;
    }
    if (!acceptableExamName(name)) return;
    const QString folder = platform::childPath(app().path(QStringLiteral("b")), name);
    // An exam of that name is opened with "Редактировать"; creating it again would
    // overwrite its title.
    if (!platform::lookUpName(folder, exam_writer::kMarkerFileName).isEmpty()) {
        tell(text("examExists"), name);
        return;
    }
    if (const platform::WriteResult made = exam_writer::createExamFolder(folder, name); !made) {
        tellNotWritten(made);
        return;
    }
    Dir1.setPath(folder);
    app().window<Form4>().Text6.setText(folder);
    Text6.setText(QString());
    clearQuestionNumber();
    Frame5.hide();
    Frame6.hide();
    openEditingPanel(say(text("new")) + folder);
}

void Form7::chooseExamFolder() {
    Text11.setText(exam_writer::firstMarkerName(Text10.text()));
    if (Text11.text() != Text12.text()) {
        // The settings keep the exam folder they had: a folder that is no exam never
        // reaches them.
        tell(text("noExamChosen"));
        Dir1.setPath(app().path(QStringLiteral("b")));
        return;
    }
    const QString folder = Dir1.path();
    app().window<Form4>().Text6.setText(folder);
    Frame7.hide();
    Frame6.hide();
    clearQuestionNumber();
    openEditingPanel(say(text("editing")) + folder);
}

void Form7::openEditingPanel(const QString& header) {
    Label22.setCaption(header);
    move(kEditingWindowPlace, kEditingWindowPlace, kEditingWindowWidth, kEditingWindowHeight);
    Frame1.move(0, 0, kEditingPanelWidth, kEditingPanelHeight);
    Frame1.show();
}

// Ticket and question numbers.

void Form7::ticketNumberChanged() {
    Text1.setText(QString());
    Text2.setText(QString());
    Text3.setText(QString());
    clearQuestionNumber();
    Label10.setCaption(QString());
    Label28.setCaption(QString());
    const QString number = Text6.text();
    if (!exam_writer::isTicketNumber(number)) {
        // Nothing is looked up for a text that is no ticket number.
        {
            HandlerBlocker quiet(Text7);
            Text7.setText(QString());
        }
        Label9.setCaption(QString());
        if (!number.isEmpty()) tellNoTicketNumber(number);
        return;
    }
    // The status line follows every number typed, also when two tickets in a row are
    // both missing or both there.
    Text7.assignAndRun(
        exam_folder::lookUpEntry(examFolder(), exam_folder::ticketFolderName(number)));
    const QString folder = ticketFolder();
    if (QFileInfo(folder).isDir()) {
        Dir1.setPath(folder);
    } else {
        Label28.setCaption(say(text("ticketNotCreated")).arg(number));
    }
}

void Form7::showTicketStatus() {
    // A status in a language that is neither keeps the caption it had, like the captions.
    const QString number = Text6.text();
    if (!Text7.text().isEmpty()) {
        Label9.setForeColor(colors::Red);
        if (const auto status = texts::byLanguage(language(), text("ticketExists")))
            Label9.setCaption(status->arg(number));
        return;
    }
    Label9.setForeColor(colors::Green);
    if (const auto status = texts::byLanguage(language(), text("createTicket")))
        Label9.setCaption(status->arg(number));
    Dir1.setPath(examFolder());
    clearQuestionNumber();
}

void Form7::clearQuestionNumber() {
    {
        // Choosing the same number again afterwards must load it again.
        HandlerBlocker quiet(Combo1);
        Combo1.setListIndex(-1);
    }
    Combo1.setText(QString());
}

void Form7::questionNumberEdited() {
    // The picture on show, and the status line, belong to the question they were loaded
    // or chosen for.
    takePictureAway();
    Label10.setCaption(QString());
    const int index = Combo1.listIndex();
    if (index >= 0 && Combo1.text() != Combo1.items().at(index)) {
        // A number typed over the chosen one: choosing that entry again loads it.
        HandlerBlocker quiet(Combo1);
        Combo1.setListIndex(-1);
    }
    // A number typed is a number chosen: its question is loaded, so a save never writes
    // over a question the teacher has not seen.
    const int typed = int(Combo1.items().indexOf(Combo1.text()));
    if (typed >= 0 && typed != Combo1.listIndex()) {
        {
            HandlerBlocker quiet(Combo1);
            Combo1.setListIndex(typed);
        }
        questionChosen();
    }
}

void Form7::questionChosen() {
    const std::optional<int> n = question();
    if (!n) return;
    const QString folder = ticketFolder();
    auto present = [&](char kind) {
        return !exam_folder::lookUpQuestionFile(folder, kind, *n).isEmpty();
    };
    Label8.setCaption(flag(present('q')));
    Label15.setCaption(flag(present('v')));
    Label16.setCaption(flag(present('o')));
    Label17.setCaption(flag(present('k')));
    shownQuestion_ = {folder, *n, Label8.caption() == kTrue};
    overwriteAllowed_.reset();
    showQuestionStatus(*n);
    loadQuestionTexts(*n);
    loadTicketPicture(*n);
}

void Form7::showQuestionStatus(int n) {
    // These lines have no English form.
    if (Label8.caption() == kTrue) {
        Label10.setForeColor(colors::Red);
        Label10.setCaption(QStringLiteral("Вопрос № %1 уже создан").arg(n));
    } else {
        Label10.setForeColor(colors::Green);
        Label10.setCaption(QStringLiteral("Создать вопрос № %1").arg(n));
    }
}

void Form7::loadQuestionTexts(int n) {
    exam_writer::QuestionTexts texts;
    if (Label8.caption() == kTrue && Label15.caption() == kTrue && Label16.caption() == kTrue) {
        const exam_writer::QuestionRead read = exam_writer::readQuestion(ticketFolder(), n);
        if (!read.unreadableFile.isEmpty()) {
            tell(text("fileUnreadable"), read.unreadableFile);
        }
        texts = read.texts;
    }
    Text2.setText(texts.variants);
    Text1.setText(texts.question);
    Text3.setText(texts.answer);
}

void Form7::loadTicketPicture(int n) {
    if (Label17.caption() != kTrue) {
        Label20.setCaption(QStringLiteral("0"));
        Image1.clearPicture();
        Picture1.clearPicture();
        for (Control* label : pictureLabels(*this))
            label->hide();
        Label19.hide();
        return;
    }
    Label20.setCaption(QStringLiteral("1"));
    const QImage picture = exam_folder::loadPicture(ticketFolder(), n);
    if (picture.isNull()) {
        // Shown as no picture; the teacher may still delete the broken file.
        const QString file = exam_folder::questionFileName('k', n);
        tell(text("pictureUnreadable"), file);
        Image1.clearPicture();
        Picture1.clearPicture();
        for (Control* label : pictureLabels(*this))
            label->hide();
    } else {
        showPicture(picture);
    }
    Label19.show();
}

// Saving.

void Form7::saveQuestion() {
    if (!questionCanBeSaved()) return;
    const int n = *question();
    const QString folder = ticketFolder();
    if (!overwriteIsKnown(folder, n) || !answerMayBeSaved(folder, n)) return;
    // The question's files and a picture chosen for it are saved together or not at all.
    const bool withPicture = Text8.text() == QStringLiteral("1") && !Picture1.picture().isNull();
    const platform::WriteResult written =
        exam_writer::writeQuestion(folder, n, {Text1.text(), Text2.text(), Text3.text()},
                                   withPicture ? Picture1.picture() : QImage());
    if (!written) {
        tellNotWritten(written);
        return;
    }
    shownQuestion_ = {folder, n, true};
    overwriteAllowed_.reset();
    unanswerableAllowed_.reset();
    Label28.setCaption(QString());
    Dir1.setPath(folder);
    // The status lines now tell what is on disk.
    Text7.assignAndRun(exam_folder::lookUpEntry(examFolder(), QFileInfo(folder).fileName()));
    for (Label* present : {&Label8, &Label15, &Label16})
        present->setCaption(kTrue);
    showQuestionStatus(n);
    if (withPicture) showSavedPicture();
    tell(text("saved"));
}

bool Form7::overwriteIsKnown(const QString& folder, int n) {
    const bool onDisk = !exam_folder::lookUpQuestionFile(folder, 'q', n).isEmpty();
    const ShownQuestion here{folder, n, true};
    if (!onDisk || shownQuestion_ == here || overwriteAllowed_ == here) return true;
    // Written meanwhile (another copy of the program, say) or never loaded here: the
    // teacher hears of it once, and a second save replaces it.
    overwriteAllowed_ = here;
    app().message(say(text("questionOnDisk")).arg(n).arg(Text6.text()), kProduct);
    return false;
}

bool Form7::questionCanBeSaved() {
    if (Text1.text().isEmpty() || Text2.text().isEmpty() || Text3.text().isEmpty() ||
        Text6.text().isEmpty() || Combo1.text().isEmpty()) {
        tell(text("emptyField"));
        return false;
    }
    if (!exam_writer::isTicketNumber(Text6.text())) {
        tellNoTicketNumber(Text6.text());
        return false;
    }
    if (!question()) {
        tell(text("chooseQuestion"));
        return false;
    }
    for (const auto& [field, frame] :
         {std::pair{&Text1, &Frame2}, {&Text2, &Frame3}, {&Text3, &Frame4}}) {
        if (const auto character = exam_writer::firstUnwritableCharacter(field->text())) {
            app().message(say(text("unwritableField")).arg(frame->caption(), *character), kProduct);
            return false;
        }
    }
    return true;
}

void Form7::showSavedPicture() {
    // The picture chosen for this question went with its files: it is the ticket's now.
    forgetChosenPicture();
    Label17.setCaption(kTrue);
    Label20.setCaption(QStringLiteral("1"));
    Label19.show();
}

bool Form7::answerMayBeSaved(const QString& folder, int n) {
    if (exam_writer::answerIsAVariant(Text2.text(), Text3.text())) return true;
    const UnanswerableSave here{{folder, n, true}, Text2.text(), Text3.text()};
    if (unanswerableAllowed_ == here) return true;
    unanswerableAllowed_ = here;
    // The variant the teacher most likely meant, and what differs from it.
    auto lines = [](QString text) {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    };
    const QStringList variants = lines(Text2.text());
    const teacher_tools::Mismatch mismatch = teacher_tools::explainMismatch(
        lines(Text3.text()).constFirst(), variants, teacher_tools::Wording(language()));
    const QString likely =
        mismatch.variant < 0
            ? QString()
            : QLatin1Char(' ') + say(text("looksLikeVariant"))
                                     .arg(mismatch.variant + 1)
                                     .arg(variants.at(mismatch.variant), mismatch.cause);
    app().message(say(text("answerMatchesNothing")).arg(likely, Command2.caption()), kProduct);
    return false;
}

// Pictures.

void Form7::choosePicture() {
    const QString path = app().services().dialogs.openFile(
        Label5.caption(),
        // Every format the editor reads comes first; a picture is saved as a bitmap.
        QStringLiteral("%1 (*.bmp *.png *.jpg *.jpeg *.gif);;Файлы bmp (*.bmp)")
            .arg(say(text("pictures"))),
        // Pictures are kept beside the exams.
        QFileInfo(examFolder()).isDir() ? examFolder() : app().path(QStringLiteral("b")));
    // A cancelled dialog changes nothing.
    if (path.isEmpty()) return;
    const exam_writer::ChosenPicture chosen = exam_writer::loadChosenPicture(path);
    using Problem = exam_writer::ChosenPicture::Problem;
    if (chosen.problem == Problem::TooLarge) {
        const QString size =
            QStringLiteral("%1 x %2").arg(chosen.size.width()).arg(chosen.size.height());
        const QString limit = QString::number(exam_writer::kLargestPicture);
        app().message(say(text("pictureTooLarge")).arg(size, limit), kProduct);
        return;
    }
    if (chosen.problem == Problem::Unreadable) {
        tell(text("notAPicture"), path);
        return;
    }
    Text4.setText(path);
    Text8.setText(QStringLiteral("1"));
    showPicture(chosen.picture);
    Label19.hide();
    Label20.setCaption(QStringLiteral("0"));
}

void Form7::showPicture(const QImage& picture) {
    Image1.setPicture(picture);
    Picture1.setPicture(picture);
    for (Control* label : pictureLabels(*this))
        label->show();
    Label12.setCaption(QStringLiteral("Длина: ") + QString::number(Picture1.picture().width()));
    Label13.setCaption(QStringLiteral("Высота: ") + QString::number(Picture1.picture().height()));
}

void Form7::viewPicture() {
    Form3& viewer = app().window<Form3>();
    viewer.Label1.setCaption(QStringLiteral("1"));
    viewer.show();
}

void Form7::takePictureAway() {
    Image1.clearPicture();
    Picture1.clearPicture();
    for (Control* label : pictureLabels(*this))
        label->hide();
    Label19.hide();
    Label20.setCaption(QStringLiteral("0"));
    forgetChosenPicture();
}

void Form7::forgetChosenPicture() {
    Text4.setText(QString());
    Text8.setText(QStringLiteral("0"));
}

void Form7::deletePictureFromTicket() {
    if (Label20.caption() != QStringLiteral("1")) return;
    const std::optional<int> n = question();
    const QString folder = ticketFolder();
    if (!n || folder.isEmpty()) return;
    if (const QString failed = exam_writer::deleteQuestionPicture(folder, *n); !failed.isEmpty()) {
        tell(text("notDeleted"), failed);
        return;
    }
    Image1.clearPicture();
    Picture1.clearPicture();
    for (Control* label : pictureLabels(*this))
        label->hide();
    Label17.setCaption(kFalse);
    Label20.setCaption(QStringLiteral("0"));
    Label19.hide();
}

// Leaving.

void Form7::newTicket() {
    clearTicket();
    // The next ticket to write is offered; the teacher may type another.
    Text6.setText(nextFreeTicket());
    Label28.setCaption(QString());
}

QString Form7::nextFreeTicket() const {
    const QString exam = examFolder();
    int number = 1;
    while (number < 999999999 &&
           !exam_folder::lookUpEntry(exam, exam_folder::ticketFolderName(QString::number(number)))
                .isEmpty())
        ++number;
    return QString::number(number);
}

void Form7::clearTicket() {
    Text6.setText(QString());
    clearQuestionNumber();
    Text1.setText(QString());
    Text2.setText(QString());
    Text3.setText(QString());
    takePictureAway();
    Label9.setCaption(QString());
    Label10.setCaption(QString());
    Label28.setCaption(QString());
    Dir1.setPath(examFolder());
}

void Form7::backToFolderPanel() {
    // The three buttons come back too, or the folder panel could not even be closed.
    Frame6.show();
    Frame9.show();
    Frame10.show();
    Frame1.hide();
    move(left(), top(), kFolderWindowWidth, kFolderWindowHeight);
    clearTicket();
}

void Form7::closeFromEditingPanel() {
    // The settings window gets back the exam folder it held: the one in test.ini may be
    // another exam than the counts and passing score in force (the chooser sets them all
    // without saving).
    app().window<Form4>().Text6.setText(examFolderAtOpen_);
    closeEditor();
}

void Form7::closeEditor() {
    Form4& settings = app().window<Form4>();
    hide();
    app().unload(*this);
    settings.show();
}
