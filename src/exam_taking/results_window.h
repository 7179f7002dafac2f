#pragma once
// The results window: the end of an exam. One line per answered question, the verdict,
// the question details on hover, and the record in the exam report on close.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"

class Form5 : public forms::Window {
public:
    static constexpr char kName[] = "Form5";
    static constexpr int kNarrowWidth = 4920; // twips: the question lines alone
    static constexpr int kWideWidth = 9510;   // twips: room for the detail line beside them

    explicit Form5(App& app);
    void load() override;

    // Copies the results out of the ticket window, shows this window and releases the
    // ticket window and the picture viewer.
    void fillFromTicketWindow();

    forms::Label Label1{*this, "Label1"};                // name line
    forms::Label Label2{*this, "Label2"};                // ticket caption
    forms::Label Label3{*this, "Label3"};                // verdict
    forms::Label Label4{*this, "Label4"};                // detail line while hovering
    forms::Label Label5{*this, "Label5"};                // interface language, hidden
    forms::Label Label6{*this, "Label6"};                // date of the exam
    forms::Label Label7{*this, "Label7"};                // time of the exam
    forms::Frame Frame1{*this, "Frame1"};                // around the question lines
    forms::ControlArray<forms::Label, 20> l{*this, "l"}; // question lines
    forms::CheckBox Check2{*this, "Check2"};             // show question details on hover
    forms::CheckBox Check1{*this, "Check1"};             // append to the exam report on close
    forms::CommandButton Command2{*this, "Command2"};    // close
    forms::Frame Frame3{*this, "Frame3"};                // hidden, holds the given answers
    forms::Frame Frame4{*this, "Frame4"};                // hidden, holds the correct answers
    forms::ControlArray<forms::Label, 20> v{*this, "v"}; // answer given to question N
    forms::ControlArray<forms::Label, 20> o{*this, "o"}; // correct answer of question N
    forms::ControlArray<forms::Label, 20> q{*this, "q"}; // text of question N

    // Shown while the report cannot take the result: it stays here until written, or
    // until the teacher discards it with the password.
    forms::Frame Frame5{*this, "Frame5"};             // discard panel
    forms::Label Label8{*this, "Label8"};             // what happened, what can be done
    forms::TextBox Text1{*this, "Text1"};             // the teacher's password
    forms::CommandButton Command3{*this, "Command3"}; // close without saving

private:
    void showQuestionsChanged();
    void showDetail(int n);
    void hideDetail();
    void verdictChanged();
    void close();
    void discard();
    void backToStart();
    // Appends the record; false (after telling why) when the report did not take it.
    bool saveReport();

    const forms::CaptionTable captions_{
        {&Check2, "Показывать вопросы", "Показывать вопросы", "To Show questions"},
        {&Check1, "Сохранить в отчет", "Сохранить в отчет", "To Save in the report"},
        {&Command2, "Закрыть", "Закрыть", "To Close"},
        {&Frame5, "Результат не сохранен", "Результат не сохранен", "The result is not saved"},
        {&Label8,
         "«Закрыть» пробует записать его еще раз. Закрыть окно без сохранения может только "
         "преподаватель, введя пароль.",
         "«Закрыть» пробует записать его еще раз. Закрыть окно без сохранения может только "
         "преподаватель, введя пароль.",
         "\"To Close\" tries to write it again. Only the teacher can close the window without "
         "saving, by entering the password."},
        {&Command3, "Не сохранять", "Не сохранять", "Do not save"},
    };
};
