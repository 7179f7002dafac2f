#pragma once
// The exam folder chooser. The teacher browses to an exam folder, which is checked on the
// fly; accepting it hands the folder to the settings window and, when its ticket and
// question counts differ from the settings, offers to take them over too. Opened by the
// settings window and by the start window's draw when no exam folder is set; it always
// goes back to the settings window.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"

class Form9 : public forms::Window {
public:
    static constexpr char kName[] = "Form9";
    explicit Form9(App& app);
    void load() override;

    forms::Frame Frame11{*this, "Frame11"};           // the whole chooser
    forms::DriveList Drive1{*this, "Drive1"};         // drives and mounted volumes
    forms::FolderList Dir1{*this, "Dir1"};            // folders of the drive
    forms::TextBox Text1{*this, "Text1"};             // chosen folder, as Dir1 shows it
    forms::TextBox Text4{*this, "Text4"};             // status line; hidden when the check passes
    forms::Label Label8{*this, "Label8"};             // link: back to the exams folder "b"
    forms::CommandButton Command1{*this, "Command1"}; // accept the chosen folder
    forms::CommandButton Command2{*this, "Command2"}; // close the chooser

    // The count question, shown when the folder's counts differ from the settings.
    forms::Frame Frame1{*this, "Frame1"};
    forms::Label Label1{*this, "Label1"};             // the question
    forms::Label Label2{*this, "Label2"};             // column head: set
    forms::Label Label3{*this, "Label3"};             // column head: new
    forms::Label Label5{*this, "Label5"};             // row head: tickets
    forms::Label Label6{*this, "Label6"};             // row head: questions
    forms::TextBox Text6{*this, "Text6"};             // tickets set (settings window)
    forms::TextBox Text2{*this, "Text2"};             // tickets found in the folder
    forms::TextBox Text7{*this, "Text7"};             // questions set (settings window)
    forms::TextBox Text8{*this, "Text8"};             // questions found in ticket 1
    forms::CommandButton Command4{*this, "Command4"}; // yes: take the new counts over
    forms::CommandButton Command5{*this, "Command5"}; // no: keep the counts

    // State holders, never shown.
    forms::TextBox Text3{*this, "Text3"}; // name found for "b1" in the chosen folder
    forms::TextBox Text5{*this, "Text5"}; // name found for "v1.txt" in that b1
    forms::Label Label4{*this, "Label4"}; // interface language
    forms::ListBox List1{*this, "List1"}; // entries of the accepted folder
    forms::ListBox List2{*this, "List2"}; // question files of its ticket 1

private:
    QString examsFolder() const;
    void showStatus(const QString& status, forms::Color color = forms::colors::Red);

    void driveChanged();
    void folderChanged();
    void checkFolder();
    void accept();
    bool survey(QStringList& entries, QStringList& questions);
    void takeCounts();
    void keepCounts();
    void close();
    // The chosen folder as the settings keep it.
    QString chosenFolderToStore() const;
    // Puts the drive list on the drive that holds the folder list's folder.
    void followFolderWithDrive();

    const forms::CaptionTable captions_{
        {&Frame11, "Выбрать Проверон", "Выбрать Проверон", "To Choose a Proveron"},
        {&Label8, "Вернутся к папке с экзаменами", "Вернутся к папке с экзаменами",
         "Returned to file with exams"},
        {&Command1, "Принять", "Принять", "To Take"},
        {&Command2, "Закрыть", "Закрыть", "To Close"},
        {&Frame1, "Внимание!", "Внимание!", "Attention!"},
        {&Label1,
         "Количество билетов не соответствует настройкам! Установить новое  количество билетов в "
         "настройках?",
         "Количество билетов не соответствует настройкам! Установить новое  количество билетов в "
         "настройках?",
         "Amount of tickets does not correspond adjustment! To Install a new amount of tickets in "
         "adjustment?"},
        {&Label2, "Установлено", "Установлено", "Stated"},
        {&Label3, "Новое", "Новое", "New"},
        {&Label5, "Билетов", "Билетов", "Tickets"},
        {&Label6, "Вопросов", "Вопросов", "Questions"},
        {&Command4, "Да", "Да", "Yes"},
        {&Command5, "Нет", "Нет", "No"},
    };
};
