#pragma once
// The ticket window: one student, one ticket. Twenty numbered question buttons with
// their marks, the current question, its answer variants, the check, the grade, the
// verdict and the exam timers.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"

#include <QDateTime>
#include <cstdint>

class Form2 : public forms::Window {
public:
    static constexpr char kName[] = "Form2";
    explicit Form2(App& app);
    void load() override;

    forms::Frame Frame2{*this, "Frame2"};                                 // the question buttons
    forms::ControlArray<forms::OptionButton, 20> Option{*this, "Option"}; // select question N
    forms::ControlArray<forms::Shape, 20> Shape{*this, "Shape"};          // mark beside button N
    forms::Label Label12{*this, "Label12"};                               // heading of the question
    forms::TextBox Text3{*this, "Text3"};                                 // question text
    forms::Label Label13{*this, "Label13"};                               // heading of the answers
    forms::ListBox List1{*this, "List1"};                                 // answer variants
    forms::TextBox Text2{*this, "Text2"};                                 // chosen answer
    forms::CommandButton Command4{*this, "Command4"};                     // check the answer
    forms::CommandButton Command1{*this, "Command1"};                     // grade the ticket
    forms::CommandButton Command2{*this, "Command2"};                     // close, show results
    forms::Label Label14{*this, "Label14"}; // heading of the countdown
    forms::Label Label28{*this, "Label28"}; // countdown seconds
    forms::Label Label5{*this, "Label5"};   // verdict
    forms::Label Label17{*this, "Label17"}; // ticket caption
    forms::Label Label27{*this, "Label27"}; // exam title
    forms::Image Image1{*this, "Image1"};   // picture of the question
    forms::Timer Timer2{*this, "Timer2"};   // ticket timer, 1000 ms
    forms::Timer Timer3{*this, "Timer3"};   // question timer, 1000 ms

    // Hidden state.
    forms::Frame Frame1{*this, "Frame1"};                      // holds the evaluations
    forms::ControlArray<forms::TextBox, 20> txt{*this, "txt"}; // evaluation: 0, 2 or 5
    forms::TextBox txtV{*this, "txtV"};                        // question count
    forms::TextBox txtZ{*this, "txtZ"};                        // average grade
    forms::TextBox Text5{*this, "Text5"};                      // passing score at load
    forms::ListBox List2{*this, "List2"};                      // lines of the o-file
    forms::CommandButton Command3{*this, "Command3"};          // no action
    forms::Label Label15{*this, "Label15"};                    // interface language
    forms::TextBox Text1{*this, "Text1"};                      // ticket number
    forms::TextBox Text4{*this, "Text4"};                      // picture file of the question
    forms::ControlArray<forms::Label, 20> v{*this, "v"};       // "vN.txt" when present
    forms::ControlArray<forms::Label, 20> o{*this, "o"};       // "oN.txt" when present
    forms::ControlArray<forms::Label, 20> q{*this, "q"};       // "qN.txt"; the text once checked

    // The shared countdown of both timers, in seconds.
    std::int16_t countdown() const { return countdown_; }

private:
    // Tells the class view where the student is (question, answers, time, verdict).
    void tellClass();
    bool timed() const;
    void selectQuestion(int n);
    void chooseAnswer();
    void checkAnswer();
    void grade();
    void showVerdict();
    void ticketTimerTick();
    void questionTimerTick();
    void close();

    QString ticketFolder() const;
    void startQuestionTimer();
    void startCountdown(int seconds);
    void countDown();
    void showTimeUp();
    void failOnTime();
    void endOfTicket();
    // A question whose file (or, with an empty name, picture) cannot be read stays
    // unloaded, and the student is told.
    void refuseQuestion(int n, const QString& unreadableFile);
    // Question N (2 or later) cannot be opened: its text is gone, or the exam folder is no
    // longer reachable. The exam ends there and goes to the results with what was answered.
    void interruptExam(int n);
    // A message in the interface language; Russian for any other language.
    void tell(const QString& message);

    std::int16_t countdown_ = 0;
    // When the running timer's time is up, by the clock service.
    QDateTime deadline_;
    bool ticketTimeUp_ = false;
    bool failedOnTime_ = false;

    const forms::CaptionTable captions_{
        {&Frame2, "Вопросы", "Вопросы", "Questions"},
        {&Label12, "Вопрос", "Вопрос", "Question"},
        {&Label13, "Выбрать ответ", "Выбрать ответ", "To Choose an answer"},
        {&Command4, "Ответ", "Ответ", "Ответ"},
        {&Command1, "Оценка ", "Оценка", "Evaluation"},
        {&Command2, "Закрыть", "Закрыть", "To Close"},
        {&Label14, "Время ", "Время", "Time"},
    };
};
