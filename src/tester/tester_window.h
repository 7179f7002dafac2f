#pragma once
// The test window: a student chooses a test, answers its questions one by one, and the
// sum of the points of the chosen answers selects one of three conclusions; every step
// can go to the test report. The same window holds the test editor, the only writer of
// test files (its operations live in tester_editor.cpp).

#include "common/class_status.h"
#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"

#include <array>
#include <cstdint>
#include <optional>

class Form6 : public forms::Window {
public:
    static constexpr char kName[] = "Form6";
    // Sizes in twips: the taking layout, and the larger one while the editor panel shows.
    static constexpr int kTakingWidth = 10800;
    static constexpr int kEditorWidth = 13200;
    static constexpr int kHeight = 6600;

    explicit Form6(App& app);
    void load() override;

    // Question.
    forms::Label Label2{*this, "Label2"};             // "вопрос" before the number
    forms::TextBox Text1{*this, "Text1"};             // question number; a change loads it
    forms::Label Label14{*this, "Label14"};           // "из N"
    forms::CommandButton Command1{*this, "Command1"}; // ">>": next question in the editor
    forms::Frame Frame1{*this, "Frame1"};             // around the question text
    forms::TextBox txtV{*this, "txtV"};               // question text

    // Answers.
    forms::Frame Frame2{*this, "Frame2"};                                // answer area
    forms::Frame Frame7{*this, "Frame7"};                                // answer options
    forms::ControlArray<forms::OptionButton, 5> Option{*this, "Option"}; // choose answer k
    forms::OptionButton Option6{*this, "Option6"}; // hidden: selecting it deselects 1..5
    forms::ControlArray<forms::TextBox, 5> txtq{*this, "txtq"}; // answer texts
    forms::Frame Frame5{*this, "Frame5"};                       // points panel (editor)
    forms::ControlArray<forms::TextBox, 5> txtb{*this, "txtb"}; // points of answer k

    // Conclusion panel.
    forms::Frame Frame6{*this, "Frame6"};               // shown at the end of the test
    forms::Label Label11{*this, "Label11"};             // the selected conclusion
    forms::CommandButton Command15{*this, "Command15"}; // hides the panel

    // Commands of the taking layout.
    forms::CommandButton Command5{*this, "Command5"};   // choose a test
    forms::CommandButton Command3{*this, "Command3"};   // reset to question 1
    forms::CheckBox Check1{*this, "Check1"};            // append the run to the report
    forms::CommandButton Command18{*this, "Command18"}; // open the test report
    forms::CommandButton Command10{*this, "Command10"}; // help
    forms::CommandButton Command2{*this, "Command2"};   // exit the program
    forms::CommandButton Command6{*this, "Command6"};   // open the editor
    forms::Label Label13{*this, "Label13"};             // link: back to the start window
    forms::Label Label16{*this, "Label16"};             // path line
    forms::CommandButton Command7{*this, "Command7"};   // hidden, no effect

    // The password, asked before the editor or the report opens while one is set.
    forms::Frame Frame9{*this, "Frame9"};               // password panel
    forms::Label Label18{*this, "Label18"};             // "Ввод пароля"
    forms::TextBox Text13{*this, "Text13"};             // password entry
    forms::CommandButton Command19{*this, "Command19"}; // check it and go on
    forms::CommandButton Command20{*this, "Command20"}; // close the panel

    // Editor: the name panel.
    forms::Frame Frame3{*this, "Frame3"};               // test name panel
    forms::Label Label9{*this, "Label9"};               // prompt for the name
    forms::TextBox Text2{*this, "Text2"};               // test name (key t); copied to Text12
    forms::CommandButton Command11{*this, "Command11"}; // create a test
    forms::CommandButton Command13{*this, "Command13"}; // edit a test
    forms::CommandButton Command12{*this, "Command12"}; // close the name panel
    forms::Label Label15{*this, "Label15"};             // path line; copied to Label17

    // Editor: conclusions, thresholds and its commands.
    forms::Frame Frame4{*this, "Frame4"};               // editor panel
    forms::Label Label3{*this, "Label3"};               // "Вывод 1"
    forms::TextBox Text5{*this, "Text5"};               // conclusion 1 (v1.txt)
    forms::Label Label6{*this, "Label6"};               // "Общий балл 1"
    forms::TextBox Text8{*this, "Text8"};               // threshold 1 (t1)
    forms::Label Label4{*this, "Label4"};               // "Вывод 2"
    forms::TextBox Text7{*this, "Text7"};               // conclusion 2 (v3.txt)
    forms::Label Label7{*this, "Label7"};               // "Общий балл 2"
    forms::TextBox Text9{*this, "Text9"};               // threshold 2 (t2)
    forms::Label Label5{*this, "Label5"};               // "Вывод 3"
    forms::TextBox Text6{*this, "Text6"};               // conclusion 3 (v2.txt)
    forms::Label Label8{*this, "Label8"};               // "Общий балл 3"
    forms::TextBox Text10{*this, "Text10"};             // threshold 3 (t3)
    forms::CommandButton Command4{*this, "Command4"};   // save the question
    forms::CommandButton Command9{*this, "Command9"};   // save the conclusions
    forms::CommandButton Command8{*this, "Command8"};   // close the editor
    forms::CommandButton Command17{*this, "Command17"}; // help

    // Editor: the next-question prompt.
    forms::Frame Frame8{*this, "Frame8"};               // next-question prompt
    forms::TextBox Text11{*this, "Text11"};             // number of the next question
    forms::CommandButton Command14{*this, "Command14"}; // accept the number
    forms::CommandButton Command16{*this, "Command16"}; // close the prompt

    // Hidden state.
    forms::TextBox Text3{*this, "Text3"};   // path of the chosen .tst; a change loads it
    forms::TextBox Text4{*this, "Text4"};   // question count; a change sets Label14
    forms::TextBox Text12{*this, "Text12"}; // report test name; a change writes a header
    forms::ControlArray<forms::TextBox, 5> txtn{*this, "txtn"}; // points gathered per answer
    forms::TextBox txtnTotal{*this, "txtn"}; // total, set at the end; a change concludes
    forms::Label Label1{*this, "Label1"};    // "3" test chosen, "1" editor opened
    forms::Label Label10{*this, "Label10"};  // editor mode: "0" taking, "1" editing
    forms::Label Label12{*this, "Label12"};  // "1" while a new test is being created
    forms::Label Label17{*this, "Label17"};  // copy of the editor's path line

    // The number of the current question as the window counts it (16 bits).
    std::int16_t positionCounter() const { return intCntr_; }
    // The editor's own step counter for ">>"; 0 in a new window.
    std::int16_t editorStepCounter() const { return editorStep_; }

private:
    // Frames, built-in values and kinds of field, before any handler is wired.
    void arrangeControls();

    // Taking (tester_window.cpp).
    void chooseTest();
    void testPathChanged();
    void questionNumberChanged();
    void questionCountChanged();
    void answerTextChanged(int k);
    void chooseAnswer(int k);
    void next();
    void totalChanged();
    void reset();
    void reportSwitched();
    void reportNameChanged();
    void openReport();
    void exitProgram();
    void backToStart();
    // Runs the action at once when no password is set, else after the password panel.
    void behindPassword(void (Form6::*action)());
    bool passwordIsSet();
    bool passwordAccepts(const QString& typed);
    void checkPassword();
    void closePasswordPanel();

    // Shared steps.
    QString language() const override;
    void tell(const texts::Text& message, const QString& detail = QString());
    QString pathMessage() const;
    QString askForTest();
    bool editing() const;
    bool acceptTestName(const QString& name, const QString& definition);
    std::optional<QString> readQuestionText(const QString& name, const QString& number);
    void assignQuestion(const QString& definition);
    void readThresholds(const QString& definition);
    void finishLoadingTest(bool showEditor);
    void readConclusions();
    void clearQuestionFields();
    void lockQuestion(bool locked);
    void enableAnsweredOptions();
    forms::TextBox& conclusionField(int k);
    forms::TextBox& thresholdField(int k);
    void numberFieldChanged(forms::TextBox& field, QString& accepted);
    // False (after telling the student) when the record could not be written.
    bool appendToReport(const QString& record);
    // Tells the class view where the student is in the test.
    void tellClass(class_status::State state);
    void writeHeader();

    // Editor (tester_editor.cpp).
    void openEditor();
    void createTest();
    bool makeTestFiles(const QString& name);
    void startNewTest();
    void editTest();
    void saveQuestion();
    void saveConclusions();
    void writeBackConclusions();
    void stepInEditor();
    void promptForNextNumber();
    void nextNumberChanged();
    void acceptNextNumber();
    void closePrompt();
    void closeNamePanel();
    void closeEditor();
    void reloadTextsForTaking();
    void showEditorPanel(bool shown);

    void (Form6::*afterPassword_)() = nullptr;
    std::int16_t intCntr_ = 0;
    std::int16_t editorStep_ = 0;
    // The question number whose files were loaded last: a number whose files cannot be
    // read is put back to it.
    QString loadedNumber_;
    QString language_; // the interface language, as App gave it at load
    // The conclusions as last read from or written to their files, as the fields show them.
    std::array<QString, 3> storedConclusions_{};
    // The last accepted text of each points and threshold field.
    std::array<QString, 5> acceptedPoints_{};
    std::array<QString, 3> acceptedThresholds_{};

    const forms::CaptionTable takingCaptions_{
        {&Command5, "Выбрать тест", "Выбрать тест", "To Choose a test"},
        {&Command1, ">>", ">>", ">>"},
        {&Command3, "Сброс", "Сброс", "Unset"},
        {&Check1, "формировать отчет", "формировать отчет", "to form report"},
        {&Command18, "Отчет", "Отчет", "Report"},
        {&Command10, "Помощь", "Помощь", "Help"},
        {&Command2, "Выход", "Выход", "Output"},
        {&Command6, "Редактор-тест", "Редактор-тест", "Editor"},
        {&Label13, "Вернутся к выбору", "Вернутся к выбору", "Returned to the choice"},
        {&Frame1, "Вопрос", "Вопрос", "Question"},
        {&Frame2, "Выбрать ответ", "Выбрать ответ", "To Choose an answer"},
        {&Label2, "вопрос", "вопрос", "question"},
        {&Frame6, "Вывод", "Вывод", "Conclusion"},
        {&Command15, "X", "X", "X"},
        {&Frame9, "Пароль", "Пароль", "Password"},
        {&Label18, "Ввод пароля", "Ввод пароля", "Entering a password"},
        {&Command19, "OK", "OK", "OK"},
        {&Command20, "Закрыть", "Закрыть", "To Close"},
    };
    const forms::CaptionTable editorCaptions_{
        {&Frame3, "Имя теста", "Имя теста", "Name of test"},
        {&Label9, "Ввод имени теста", "Ввод имени теста", "Entering a name of test"},
        {&Command11, "Создать тест", "Создать тест", "To Create a test"},
        {&Command13, "Редактировать тест", "Редактировать тест", "To Edit a test"},
        {&Command12, "Закрыть", "Закрыть", "To Close"},
        {&Frame4, "Редактор-тест", "Редактор-тест", "Editor"},
        {&Label3, "Вывод 1", "Вывод 1", "Conclusion 1"},
        {&Label4, "Вывод 2", "Вывод 2", "Conclusion 2"},
        {&Label5, "Вывод 3", "Вывод 3", "Conclusion 3"},
        {&Label6, "Общий балл 1", "Общий балл 1", "General ballet 1"},
        {&Label7, "Общий балл 2", "Общий балл 2", "General ballet 2"},
        {&Label8, "Общий балл 3", "Общий балл 3", "General ballet 3"},
        {&Command4, "Сохранить вопрос", "Сохранить вопрос", "To Save a question"},
        {&Command9, "Сохранить выводы", "Сохранить выводы", "To Save findings"},
        {&Command8, "Закрыть", "Закрыть", "To Close"},
        {&Command17, "Помощь", "Помощь", "Help"},
        // The points column is headed, so the numbers beside the answers explain themselves.
        {&Frame5, "Баллы", "Баллы", "Points"},
        {&Frame8, "Введите номер следующего вопроса", "Введите номер следующего вопроса",
         "Enter following question number"},
        {&Command14, "ОК", "ОК", "ОК"},
        {&Command16, "Закрыть", "Закрыть", "To Close"},
    };
};
