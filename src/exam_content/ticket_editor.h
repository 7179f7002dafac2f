#pragma once
// The ticket editor: the teacher creates an exam folder or takes an existing one, then
// writes its tickets question by question (text, answer variants, correct answer and an
// optional picture). Opened from the settings window, it works on the settings window's
// exam folder field and returns there when it closes.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "platform/file_access.h"
#include "teacher_tools/bank_import.h"

#include <optional>

class Form7 : public forms::Window {
public:
    static constexpr char kName[] = "Form7";
    explicit Form7(App& app);
    void load() override;

    // Folder panel.
    forms::Frame Frame6{*this, "Frame6"};               // folder panel
    forms::Frame Frame10{*this, "Frame10"};             // its three buttons
    forms::CommandButton Command9{*this, "Command9"};   // create a new exam folder
    forms::CommandButton Command8{*this, "Command8"};   // choose an existing exam folder
    forms::CommandButton Command15{*this, "Command15"}; // import questions from a file
    forms::CommandButton Command20{*this, "Command20"}; // export the exam in use for Moodle
    forms::CommandButton Command12{*this, "Command12"}; // close the editor
    forms::Frame Frame9{*this, "Frame9"};               // product picture
    forms::Frame Frame5{*this, "Frame5"};               // create sub-panel
    forms::Label Label23{*this, "Label23"};             // "Имя папки экзамена"
    forms::TextBox Text9{*this, "Text9"};               // name of the new exam folder
    forms::CommandButton Command5{*this, "Command5"};   // create it
    forms::CommandButton Command13{*this, "Command13"}; // close the create sub-panel
    forms::Frame Frame7{*this, "Frame7"};               // choose sub-panel
    forms::FolderList Dir1{*this, "Dir1"};              // folder browser
    forms::CommandButton Command6{*this, "Command6"};   // take the folder shown in Dir1
    forms::CommandButton Command16{*this, "Command16"}; // check the folder shown in Dir1
    forms::CommandButton Command14{*this, "Command14"}; // close the choose sub-panel
    forms::Frame Frame8{*this, "Frame8"};               // hidden: the three fields below
    forms::TextBox Text10{*this, "Text10"};             // path shown in Dir1
    forms::TextBox Text11{*this, "Text11"};             // first "*.lzm" name found there
    forms::TextBox Text12{*this, "Text12"};             // the marker name "lzm.lzm"
    forms::Frame Frame11{*this, "Frame11"};             // import sub-panel
    forms::Label Label24{*this, "Label24"};             // "Файл с вопросами"
    forms::TextBox Text13{*this, "Text13"};             // the question file (Aiken or GIFT)
    forms::CommandButton Command17{*this, "Command17"}; // choose it
    forms::Frame Frame12{*this, "Frame12"};             // its format
    forms::OptionButton Option1{*this, "Option1"};      // Aiken
    forms::OptionButton Option2{*this, "Option2"};      // GIFT
    forms::OptionButton Option3{*this, "Option3"};      // Moodle XML
    forms::Label Label25{*this, "Label25"};             // "Имя нового экзамена"
    forms::TextBox Text14{*this, "Text14"};             // the new exam's name
    forms::Label Label26{*this, "Label26"};             // "Вопросов в билете"
    forms::TextBox Text15{*this, "Text15"};             // questions per ticket
    forms::Label Label27{*this, "Label27"};             // "Перемешать: число ..."
    forms::TextBox Text16{*this, "Text16"};             // the shuffle's seed; empty: in order
    forms::CommandButton Command18{*this, "Command18"}; // import
    forms::CommandButton Command19{*this, "Command19"}; // close the import sub-panel

    // Editing panel.
    forms::Frame Frame1{*this, "Frame1"};               // editing panel
    forms::Label Label22{*this, "Label22"};             // header: mode and exam folder
    forms::Label Label6{*this, "Label6"};               // "Билет №b"
    forms::TextBox Text6{*this, "Text6"};               // ticket number
    forms::Label Label9{*this, "Label9"};               // ticket status line
    forms::Label Label7{*this, "Label7"};               // "Вопрос №"
    forms::ComboBox Combo1{*this, "Combo1"};            // question number, "1" .. "20"
    forms::Label Label10{*this, "Label10"};             // question status line
    forms::Label Label28{*this, "Label28"};             // the panel's status line: notes
    forms::Frame Frame2{*this, "Frame2"};               // holds the question text
    forms::TextBox Text1{*this, "Text1"};               // question text, several lines
    forms::Label Label4{*this, "Label4"};               // "Пример заполнения"
    forms::Label Label1{*this, "Label1"};               // sample question
    forms::Frame Frame3{*this, "Frame3"};               // holds the variants
    forms::TextBox Text2{*this, "Text2"};               // answer variants, one a line
    forms::Label Label2{*this, "Label2"};               // sample variants
    forms::Frame Frame4{*this, "Frame4"};               // holds the correct answer
    forms::TextBox Text3{*this, "Text3"};               // correct answer
    forms::Label Label3{*this, "Label3"};               // sample correct answer
    forms::CommandButton Command2{*this, "Command2"};   // save the question
    forms::CommandButton Command1{*this, "Command1"};   // new ticket
    forms::CommandButton Command7{*this, "Command7"};   // back to the folder panel
    forms::CommandButton Command4{*this, "Command4"};   // close the editor
    forms::CommandButton Command10{*this, "Command10"}; // help
    forms::Label Label5{*this, "Label5"};               // link: choose a picture file
    forms::Label Label14{*this, "Label14"};             // link: view it in the picture viewer
    forms::Label Label18{*this, "Label18"};             // link: take the picture off the form
    forms::Label Label19{*this, "Label19"};             // link: delete the ticket's picture file
    forms::Label Label11{*this, "Label11"};             // heading of the size lines
    forms::Label Label12{*this, "Label12"};             // picture width line
    forms::Label Label13{*this, "Label13"};             // picture height line
    forms::Image Image1{*this, "Image1"};               // the picture as shown
    forms::Image Picture1{*this, "Picture1"};           // hidden: the picture as saved

    // Hidden state.
    forms::TextBox Text4{*this, "Text4"};   // path of the picture chosen for this question
    forms::TextBox Text5{*this, "Text5"};   // its file name
    forms::TextBox Text7{*this, "Text7"};   // ticket folder found for the ticket number
    forms::TextBox Text8{*this, "Text8"};   // "1" while a chosen picture waits to be saved
    forms::Label Label8{*this, "Label8"};   // "true" when qN.txt exists
    forms::Label Label15{*this, "Label15"}; // "true" when vN.txt exists
    forms::Label Label16{*this, "Label16"}; // "true" when oN.txt exists
    forms::Label Label17{*this, "Label17"}; // "true" when kN.bmp exists
    forms::Label Label20{*this, "Label20"}; // "1" when the picture shown is the ticket's
    forms::Label Label21{*this, "Label21"}; // interface language
    forms::CommandButton Command3{*this, "Command3"};   // never shown
    forms::CommandButton Command11{*this, "Command11"}; // never shown

private:
    // Messages in the interface language (Russian for a language that is neither).
    // A message in the window's language, its %1 filled with `argument` when one is given.
    void tell(const texts::Text& message, const QString& argument = QString());
    void tellNotWritten(const platform::WriteResult& result);
    void tellNoTicketNumber(const QString& number);

    QString examFolder() const;
    QString ticketFolder() const;
    // The question number chosen, when it is one of the list's.
    std::optional<int> question() const;

    void showCreatePanel();
    void showChoosePanel();
    void showImportPanel();
    void chooseBankFile();
    void bankFileChanged();
    std::optional<teacher_tools::ExamImportOptions> importOptions();
    void importBank();
    void openImportedExam(const QString& folder);
    void exportExam();
    void closeSubPanels();
    void createExamFolder();
    bool acceptableExamName(const QString& name);
    void chooseExamFolder();
    void openEditingPanel(const QString& header);

    void ticketNumberChanged();
    void showTicketStatus();
    void clearQuestionNumber();
    void questionNumberEdited();
    void questionChosen();
    void showQuestionStatus(int n);
    void loadQuestionTexts(int n);
    void loadTicketPicture(int n);

    void saveQuestion();
    bool questionCanBeSaved();
    // False (after saying so, once) when the save would replace a question on disk that
    // the editor did not load.
    bool overwriteIsKnown(const QString& folder, int n);
    void showSavedPicture();
    // False (after a warning) when the correct answer is no variant line: a second save
    // of the same texts saves it as it is.
    bool answerMayBeSaved(const QString& folder, int n);

    void choosePicture();
    void showPicture(const QImage& picture);
    void viewPicture();
    void takePictureAway();
    void forgetChosenPicture();
    void deletePictureFromTicket();

    void newTicket();
    void clearTicket();
    // The smallest ticket number the exam has no ticket for yet.
    QString nextFreeTicket() const;
    void backToFolderPanel();
    void closeFromEditingPanel();
    void closeEditor();

    // The settings window's exam folder when the editor opened; closing from the editing
    // panel puts it back.
    QString examFolderAtOpen_;
    // The exam name last taken from the question file's name.
    QString proposedName_;
    // The question last loaded (or saved) here and whether its file was there then; a
    // save over any other question on disk is refused once.
    struct ShownQuestion {
        QString folder;
        int number = 0;
        bool onDisk = false;
        bool operator==(const ShownQuestion&) const = default;
    };
    ShownQuestion shownQuestion_;
    std::optional<ShownQuestion> overwriteAllowed_;
    // The question whose answer the teacher was told matches no variant, with the texts
    // they were told it of.
    struct UnanswerableSave {
        ShownQuestion question;
        QString variants;
        QString answer;
        bool operator==(const UnanswerableSave&) const = default;
    };
    std::optional<UnanswerableSave> unanswerableAllowed_;

    const forms::CaptionTable captions_{
        {&Frame6, "Редактор", "Редактор", "Editor"},
        {&Command9, "Создать", "Создать", "To Create"},
        {&Command8, "Редактировать", "Редактировать", "To Edit"},
        {&Command12, "Закрыть", "Закрыть", "To Close"},
        {&Command15, "Импорт...", "Импорт...", "Import..."},
        {&Command20, "Экспорт...", "Экспорт...", "Export..."},
        {&Command16, "Проверить", "Проверить", "Check"},
        {&Frame11, "Импорт вопросов Aiken, GIFT или Moodle XML",
         "Импорт вопросов Aiken, GIFT или Moodle XML",
         "Import Aiken, GIFT or Moodle XML questions"},
        {&Label24, "Файл с вопросами", "Файл с вопросами", "Question file"},
        {&Command17, "Обзор...", "Обзор...", "Browse..."},
        {&Frame12, "Формат", "Формат", "Format"},
        {&Option1, "Aiken", nullptr, nullptr},
        {&Option2, "GIFT", nullptr, nullptr},
        {&Option3, "Moodle XML", nullptr, nullptr},
        {&Label25, "Имя нового экзамена", "Имя нового экзамена", "Name of the new exam"},
        {&Label26, "Вопросов в билете", "Вопросов в билете", "Questions per ticket"},
        {&Label27, "Перемешать: число (пусто - по порядку)",
         "Перемешать: число (пусто - по порядку)", "Shuffle: a number (empty: in order)"},
        {&Command18, "Импортировать", "Импортировать", "To Import"},
        {&Command19, "Закрыть", "Закрыть", "To Close"},
        {&Frame5, "Создать папку для экзамена или теста", "Создать папку для экзамена или теста",
         "To Create a file for the exam or test"},
        {&Label23, "Имя папки экзамена", "Имя папки экзамена", "Name of file of exam"},
        {&Command5, "OK", "OK", "OK"},
        {&Command13, "Закрыть", "Закрыть", "To Close"},
        {&Frame7, "Выбрать папку с экзаменом", "Выбрать папку с экзаменом",
         "To Choose a file with the exam"},
        {&Command6, "OK", "OK", "OK"},
        {&Command14, "Закрыть", "Закрыть", "To Close"},
        {&Frame1, "Создать билет, вопрос, ответ, картинку",
         "Создать билет, вопрос, ответ, картинку", "To Create a ticket, question, answer, picture"},
        {&Label6, "Билет №b", "Билет №b", "Ticket №b"},
        {&Label7, "Вопрос №", "Вопрос №", "Question №"},
        {&Frame2, "Вопрос", "Вопрос", "Question"},
        {&Label4, "Пример заполнения", "Пример заполнения", "Example of filling"},
        {&Label1, "Как называется дом у лисы", nullptr, nullptr},
        {&Frame3, "Предложить ответы", "Предложить ответы", "To Offer answers"},
        {&Label2, "1.нора\n2.шалаш\n3.убежище\n4.конура", nullptr, nullptr},
        {&Frame4, "Правильный ответ", "Правильный ответ", "Correct answer"},
        {&Label3, "1.нора", nullptr, nullptr},
        {&Command2, "Сохранить", "Сохранить", "To Save"},
        {&Command1, "Новый билет", "Новый билет", "New ticket"},
        {&Command7, "Выбор", "Выбор", "Choice"},
        {&Command4, "Закрыть", "Закрыть", "To Close"},
        {&Command10, "Помощь", "Помощь", "Help"},
        {&Label5, "Выбрать картинку", "Выбрать картинку", "To Choose a picture"},
        {&Label14, "Посмотреть картинку", "Посмотреть картинку", "To Look a picture"},
        {&Label18, "Убрать картинку", "Убрать картинку", "To Take Away a picture"},
        {&Label19, "Удалить картинку из билета", "Удалить картинку из билета",
         "To Delete a picture from the ticket"},
        {&Label11, "Размер картинки в пик", "Размер картинки в пик", "Size of picture in pixels"},
    };
};
