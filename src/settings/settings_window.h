#pragma once
// The settings window. Created hidden together with the start window, it holds the
// settings in force: the other windows read and write its fields (Text3, Combo1, Text5,
// Text2, Label15, Text12, Text4, Text1, Label16, Text6, Label17, Check1, Check2) while it
// is hidden. It also holds the evaluation table that yields the passing score.

#include "common/picture_captions.h"
#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "settings/settings_window_texts.h"

#include <array>

class Form4 : public forms::Window {
public:
    static constexpr char kName[] = "Form4";
    explicit Form4(App& app);
    void load() override;

    // Settings in force.
    forms::TextBox Text3{*this, "Text3"};    // ticket count (bilet)
    forms::ComboBox Combo1{*this, "Combo1"}; // question count (vopros), "1" .. "20"
    forms::TextBox Text5{*this, "Text5"};    // passing score (ball); empty or "0": not set
    forms::TextBox Text2{*this, "Text2"};    // timer minutes as typed (time)
    forms::Label Label15{*this, "Label15"};  // minutes in force, never "0"
    forms::TextBox Text12{*this, "Text12"};  // settings password (pass)
    forms::TextBox Text4{*this, "Text4"};    // fixed picture width in pixels (l)
    forms::TextBox Text1{*this, "Text1"};    // fixed picture height in pixels (h)
    forms::Label Label16{*this, "Label16"};  // picture mode (k): "1" fixed, "2" real size
    forms::TextBox Text6{*this, "Text6"};    // exam folder in use (z), no trailing separator
    forms::Label Label17{*this, "Label17"};  // interface language (re)
    forms::CheckBox Check1{*this, "Check1"}; // ticket timer on (never stored)
    forms::CheckBox Check2{*this, "Check2"}; // question timer on (never stored)

    // Panels.
    forms::Frame Frame3{*this, "Frame3"};   // main panel
    forms::Frame Frame4{*this, "Frame4"};   // evaluation panel
    forms::Frame Frame12{*this, "Frame12"}; // confirmation panel over the main panel
    forms::Frame Frame9{*this, "Frame9"};   // language buttons, always hidden
    forms::Frame Frame2{*this, "Frame2"};   // ticket count
    forms::Frame Frame5{*this, "Frame5"};   // question count
    forms::Frame Frame6{*this, "Frame6"};   // evaluation of the ticket
    forms::Frame Frame1{*this, "Frame1"};   // timers and clock
    forms::Frame Frame10{*this, "Frame10"}; // password
    forms::Frame Frame8{*this, "Frame8"};   // picture size
    forms::Frame Frame11{*this, "Frame11"}; // exam folder
    forms::Frame Frame7{*this, "Frame7"};   // ticket editor link

    // Main panel.
    forms::Label Label2{*this, "Label2"};             // "Проходной балл" beside Text5
    forms::Label Label6{*this, "Label6"};             // link: open the evaluation panel
    forms::CommandButton Command5{*this, "Command5"}; // hidden: opens the evaluation panel
    forms::Label Label10{*this, "Label10"};           // heading over the clock
    forms::Label Label11{*this, "Label11"};           // "Установить минуты"
    forms::Label Label13{*this, "Label13"};           // timer status text
    forms::Label Label35{*this, "Label35"};           // clock: current time
    forms::Label Label36{*this, "Label36"};           // clock: current date
    forms::Label Label32{*this, "Label32"};           // "Ввод" beside the password
    forms::OptionButton Option1{*this, "Option1"};    // picture mode: fixed size
    forms::OptionButton Option2{*this, "Option2"};    // picture mode: real size
    forms::Label Label14{*this, "Label14"};           // "х" between width and height
    forms::Label Label12{*this, "Label12"};           // unit after the picture size
    forms::Label Label18{*this, "Label18"};           // link: choose the exam folder
    forms::Label Label19{*this, "Label19"};           // "Выбранная папка"
    forms::CommandButton Command12{*this, "Command12"}; // check the exam folder in use
    forms::Label Label8{*this, "Label8"};               // link: open the ticket editor
    forms::CheckBox Check3{*this, "Check3"};            // save the settings on close
    forms::CheckBox Check4{*this, "Check4"};            // results are always saved (key save)
    forms::CheckBox Check5{*this, "Check5"}; // results show the right answers (key answers)
    forms::CommandButton Command6{*this, "Command6"};   // close the window
    forms::CommandButton Command3{*this, "Command3"};   // open the exam report
    forms::CommandButton classView{*this, "cmdClass"};  // the class live: «Класс»
    forms::CommandButton Command10{*this, "Command10"}; // open the help
    forms::CommandButton Command2{*this, "Command2"};   // language: Russian (hidden panel)
    forms::CommandButton Command4{*this, "Command4"};   // language: English (hidden panel)
    forms::Timer Timer1{*this, "Timer1"};               // clock, 500 ms

    // Confirmation panel.
    forms::Label Label20{*this, "Label20"}; // "Не установлена оценка за билет..."
    forms::CommandButton Command7{*this, "Command7"}; // yes: open the evaluation panel
    forms::CommandButton Command8{*this, "Command8"}; // no: close without an evaluation

    // Evaluation panel.
    forms::ControlArray<forms::TextBox, 20> txt{*this, "txt"}; // evaluation of question N
    forms::TextBox txtV{*this, "txtV"};                 // question count used for the average
    forms::TextBox txtZ{*this, "txtZ"};                 // the computed passing score
    forms::CommandButton Command11{*this, "Command11"}; // set all to 5
    forms::CommandButton Command1{*this, "Command1"};   // OK: take the score over
    forms::CommandButton Command9{*this, "Command9"};   // close the panel
    forms::Label Label4{*this, "Label4"};               // heading over the fields
    forms::Label Label1{*this, "Label1"};               // legend "2 - неуд", red
    forms::Label Label7{*this, "Label7"};               // legend "5 - зачет", green
    forms::Label Label3{*this, "Label3"};               // "Количество вопросов"
    forms::Label Label5{*this, "Label5"}; // "Выбран проходной балл"

    // The minutes text as minutes in force; "1" when it cannot be counted in seconds.
    void applyMinutesRule();
    // Relabels this window in the language ("rus" or "eng").
    void applyLanguage(const QString& language);
    // The start value of the exam timers in seconds, from the minutes in force.
    int timerSeconds() const;
    // The exam folder in use as a full path: the folder field, taken from the application
    // folder when it is relative.
    QString examFolder() const;
    // The message when a language switch did not reach the settings file (the language
    // still holds for this run).
    void tellLanguageNotStored();

private:
    // Puts every control into its frame.
    void arrangePanels();
    void switchLanguage(const QString& language);
    void close();
    void finishClose();
    // Writes the nine settings keys; false (after telling the teacher) when it could not.
    bool saveSettings();
    void confirmNo();
    void confirmYes();
    // One timer switch clicked; the timers exclude each other.
    void timerSwitchClicked(forms::CheckBox& clicked, forms::CheckBox& other);
    void clockTick();
    void openEvaluationPanel();
    void evaluationChanged(int n);
    void countChanged();
    void setAllToFive();
    void takeOver();
    void closeEvaluationPanel();
    // The score of the table from the fields as they stand, or the reason there is none.
    void showScore();
    void showNoValues();
    // The table gives no score: a field in use that holds no number (its number), or
    // else a question count that is no whole number above zero.
    void showTableFault(int badField);

    // Whether test.ini holds the keys of the two exam switches (save, answers).
    std::array<bool, 2> switchesStored_{};

    const forms::CaptionTable captions_{
        {
            {&Frame3, "Настройка ", "Настройка", "Adjustment"},
            {&Frame1, "Установка таймера", "Установка таймера", "Installing a timer"},
            {&Label10, "Время            Дата ", "Время            Дата", "Time            Date"},
            {&Check1, "Активировать таймер  билета", "Активировать таймер билета",
             "To Actuate a timer of ticket"},
            {&Check2, "Активировать таймер вопросов", "Активировать таймер вопросов",
             "To Actuate a timer of questions"},
            {&Frame2, "Число билетов", "Число билетов", "Number of tickets"},
            {&Frame5, "Число вопросов", "Число вопросов", "Number of questions"},
            {&Frame6, "Оценка билета", "Оценка билета", "Evaluation of ticket"},
            {&Label6, "Настроить проходной балл", "Настроить проходной балл",
             "To Adjust a communicating ballet"},
            {&Frame10, "Пароль", "Пароль", "Password"},
            {&Label32, "Ввод", "Ввод", "Entering"},
            {&Frame8, picture_captions::kPanelRu, picture_captions::kPanelRu,
             picture_captions::kPanelEn},
            {&Option1, picture_captions::kFixedRu, picture_captions::kFixedRu,
             picture_captions::kFixedEn},
            {&Option2, "Размер соответствует реальному размеру  картинки",
             "Размер соответствует реальному размеру  картинки",
             "Size corresponds a real the size pictures"},
            {&Label12, "пик", "пик", "pik"},
            {&Label14, "х", nullptr, nullptr},
            {&Frame9, "Язык", "Язык", "Language"},
            {&Check3, "Сохранить настройки", "Сохранить настройки", "To Save adjustment"},
            {&Check4, "Результаты всегда сохраняются в отчет",
             "Результаты всегда сохраняются в отчет", "Results are always saved in the report"},
            {&Check5, "Результаты показывают правильные ответы",
             "Результаты показывают правильные ответы", "Results show the right answers"},
            {&Label11, "Установить минуты ", "Установить минуты", "To Install a minute"},
            {&Label2, "Проходной балл", "Проходной балл", "Communicating ballet"},
            {&Label8, "Создать/Редактировать билет", "Создать\\Редактировать билет",
             "To Create ticket"},
            {&Command6, "Закрыть", "Закрыть", "To Close"},
            {&Command3, "Отчет", "Отчет", "Report"},
            {&classView, "Класс", "Класс", "Class"},
            {&Command10, "Помощь", "Помощь", "Help"},
            {&Frame4, "Настройка проходного балла", "Настройка проходного балла",
             "Adjustment communicating ballet"},
            {&Label4, "Оценка билета", "Оценка билета", "Evaluation of ticket"},
            {&Label1, "2 - неуд ", "2 - неуд", "2 - bad"},
            {&Label7, "5 - зачет", "5 - зачет", "5 - well"},
            {&Label3, "Количество вопросов", "Количество вопросов", "Amount of questions"},
            {&Label5, "Выбран проходной балл", "Выбран проходной балл",
             "Choose communicating ballet"},
            {&Frame11, "Выбор", "Выбор", "To Choose Proveron"},
            {&Label18, "Выбрать папку с экзаменом или тестом",
             "Выбрать папку с экзаменом или тестом", "To Choose a file with the exam or test"},
            {&Label19, "Выбранная папка ", "Выбранная папка", "Chosen file"},
            {&Command12, "Проверить", "Проверить", "Check"},
            {&Frame12, "Внимание!", "Внимание!", "Attention!"},
            {&Label20, "Не установлена оценка за билет. Хотите установить?",
             "Не установлена оценка за билет. Хотите установить?",
             "Not installed evaluation for the ticket. Want to install?"},
            {&Command7, "Да", "Да", "Yes"},
            {&Command8, "Нет", "Нет", "No"},
            {&Command11, "Установить 5", "Установить 5", "to install 5"},
            {&Command1, "ОК", nullptr, nullptr},
            // The close of the evaluation panel is relabelled too, not left Russian in English.
            {&Command9, "Закрыть", "Закрыть", "To Close"},
            {&Command2, "rus", nullptr, nullptr},
            {&Command4, "eng", nullptr, nullptr},
            {&Command5, "Command5", nullptr, nullptr},
        },
        {
            {&Check1, settings_window_texts::text("tipTicketTimer")},
            {&Check2, settings_window_texts::text("tipQuestionTimer")},
            {&Text2, settings_window_texts::text("tipMinutes")},
            {&Label35, settings_window_texts::text("tipTime")},
            {&Label36, settings_window_texts::text("tipDate")},
            {&Text12, settings_window_texts::text("tipPassword")},
            {&Command6, settings_window_texts::text("tipClose")},
            {&Command3, settings_window_texts::text("tipReport")},
            {&classView, settings_window_texts::text("tipClass")},
            {&Command10, settings_window_texts::text("tipHelp")},
            {&Command1, settings_window_texts::text("tipTakeScore")},
            {&Command9, settings_window_texts::text("tipCloseScore")},
            {&Command12, settings_window_texts::text("tipCheck")},
        }};
};
