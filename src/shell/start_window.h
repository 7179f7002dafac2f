#pragma once
// The start window: the first window of every run and the hub it returns to. Mode
// choice, the student's name, the ticket draw, the password, the languages, exit.

#include "common/password.h"
#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "shell/start_window_texts.h"

class Form1 : public forms::Window {
public:
    static constexpr char kName[] = "Form1";
    explicit Form1(App& app);
    void load() override;
    // Sets the captions of the language ("rus" or "eng"; nothing for another).
    void relabel(const QString& language) { captions_.apply(language); }
    // Whether the teacher's password guards anything: a password is set, or the settings
    // file could not be read and so nothing opens.
    bool passwordIsSet() const { return passwordUnknown_ || !Text12.text().isEmpty(); }
    bool passwordAccepts(const QString& typed) const {
        return !passwordUnknown_ && password::matches(typed, Text12.text());
    }
    // The settings window saved a new password: it is the one in force from now on.
    void passwordSaved(const QString& password) {
        Text12.setText(password);
        passwordUnknown_ = false;
    }

    // Mode choice.
    forms::Frame Frame3{*this, "Frame3"};             // mode panel
    forms::OptionButton Option1{*this, "Option1"};    // exam mode
    forms::OptionButton Option2{*this, "Option2"};    // test mode
    forms::OptionButton Option3{*this, "Option3"};    // hidden, deselects the other two
    forms::CommandButton Command4{*this, "Command4"}; // exit

    // Name entry.
    forms::Frame Frame9{*this, "Frame9"};               // name panel
    forms::TextBox Text9{*this, "Text9"};               // student name, mandatory
    forms::TextBox Text10{*this, "Text10"};             // additional data 1
    forms::TextBox Text11{*this, "Text11"};             // additional data 2
    forms::TextBox Text13{*this, "Text13"};             // additional data 3
    forms::Label Label31{*this, "Label31"};             // mandatory-field note
    forms::CommandButton Command14{*this, "Command14"}; // confirm the name
    forms::Label Label6{*this, "Label6"};               // link: back to mode choice

    // Ticket choice.
    forms::Frame Frame1{*this, "Frame1"};             // ticket panel
    forms::CommandButton Command1{*this, "Command1"}; // random ticket
    forms::CheckBox Check1{*this, "Check1"};          // manual ticket number entry
    forms::TextBox Text1{*this, "Text1"};             // ticket number
    forms::Label Label1{*this, "Label1"};             // chosen ticket folder name ("b7")
    forms::Label Label2{*this, "Label2"};             // link: reset the chosen ticket
    forms::CommandButton Command3{*this, "Command3"}; // open the ticket
    forms::Label Label9{*this, "Label9"};             // link: back to mode choice

    // Settings access.
    forms::Frame Frame2{*this, "Frame2"};               // settings-access panel
    forms::Label Label3{*this, "Label3"};               // password prompt
    forms::TextBox Text2{*this, "Text2"};               // password entry
    forms::CommandButton Command15{*this, "Command15"}; // open the settings window

    forms::CommandButton Command2{*this, "Command2"};   // exit
    forms::CommandButton Command10{*this, "Command10"}; // help
    forms::Label Label13{*this, "Label13"};             // link: switch to Russian
    forms::Label Label7{*this, "Label7"};               // link: switch to English
    forms::Label Label8{*this, "Label8"};               // exam title, shown
    forms::Image Image1{*this, "Image1"};               // decoration
    forms::Image Image2{*this, "Image2"};               // decoration

    // State holders.
    forms::Label q1{*this, "q1"};           // "q1.txt" when the chosen ticket holds it
    forms::Label o1{*this, "o1"};           // "o1.txt" likewise
    forms::Label v1{*this, "v1"};           // "v1.txt" likewise
    forms::TextBox Text4{*this, "Text4"};   // exam title (marker file content), hidden
    forms::TextBox Text3{*this, "Text3"};   // ticket count, hidden
    forms::TextBox Text12{*this, "Text12"}; // stored password, hidden
    forms::Label Label4{*this, "Label4"};   // interface language, hidden
    forms::Label Label10{*this, "Label10"}; // registration flag, hidden
    forms::Timer Timer1{*this, "Timer1"};   // one-shot 500 ms delay after a draw

private:
    // Shows a message in the window's language, under the product's name unless a title
    // is given.
    void tell(const texts::Text& message, const QString& suffix = QString(),
              const QString& title = QString(), const QString& argument = QString());
    void showWrongPassword();
    // The typed password is the one in force. Never while the settings file cannot be
    // read: its password is unknown then, and an empty one must not open the settings.
    bool passwordMatches() const { return passwordAccepts(Text2.text()); }

    void chooseExamMode();
    void chooseTestMode();
    void confirmName();
    void backFromNamePanel();
    void backFromTicketPanel();

    void drawRandomTicket();
    void ticketNumberChanged();
    void chosenTicketChanged();
    void delayElapsed();
    void manualEntrySwitched();
    void showDrawControls();
    void untickQuietly();
    void leaveManualEntry();
    void openTicket();

    void openSettings();
    void exitProgram();
    void switchLanguage(const QString& language);

    bool passwordUnknown_ = false;

    const forms::CaptionTable captions_{
        {
            {&Frame3, "Выбор", "Выбор", "Choice"},
            {&Option1, "Экзаменатор\\Тест", "Экзаменатор\\Тест", "Exam"},
            {&Option2, "Тест", "Тест", "Test"},
            {&Command4, "Выход", "Выход", "Output"},
            {&Frame9, "Ф.И.О ,  Данные", "Ф.И.О ,  Данные", "Surname a Name, additional data"},
            {&Label31, "Обязательно к заполнению", "Обязательно к заполнению",
             "To filling Without fall"},
            {&Command14, "OK", "OK", "OK"},
            {&Label6, "Вернуться к выбору", "Вернуться к выбору", "Returned to the choice"},
            {&Frame1, "Выбор билета", "Выбор билета", "Choice of ticket"},
            {&Command1, "Выбрать билет", "Выбрать билет", "To Choose a ticket"},
            {&Check1, "Ввод в ручную № билета.  Вводятся только цифры",
             "Ввод в ручную № билета.  Вводятся только цифры",
             "Entering in manual № ticket. Only numerals"},
            {&Label2, "Сброс", "Сброс", "Unset"},
            {&Command3, "Открыть билет", "Открыть билет", "To Open a ticket"},
            {&Label9, "Вернуться к выбору", "Вернуться к выбору", "Returned to the choice"},
            {&Frame2, "Перейти к настройке", "Перейти к настройке", "To Go Over To adjustment"},
            {&Label3, "Ввод пароля", "Ввод пароля", "Entering a password"},
            {&Command15, "Настройка", "Настройка", "Adjustment"},
            {&Command2, "Выход", "Выход", "Output"},
            {&Command10, "Помощь", "Помощь", "Help"},
            {&Label13, "rus", "rus", "rus"},
            {&Label7, "eng", "eng", "eng"},
        },
        {
            {&Option1, start_window_texts::text("tipExam")},
            {&Option2, start_window_texts::text("tipTest")},
            {&Command4, start_window_texts::text("tipExit")},
            {&Text9, start_window_texts::text("tipName")},
            {&Text10, start_window_texts::text("tipData1")},
            {&Text11, start_window_texts::text("tipData2")},
            {&Text13, start_window_texts::text("tipData3")},
            {&Command14, start_window_texts::text("tipConfirmName")},
            {&Command1, start_window_texts::text("tipDraw")},
            {&Command3, start_window_texts::text("tipOpenTicket")},
            {&Text2, start_window_texts::text("tipPassword")},
            {&Command15, start_window_texts::text("tipSettings")},
            {&Command2, start_window_texts::text("tipQuit")},
            {&Command10, start_window_texts::text("tipHelp")},
        }};
};
