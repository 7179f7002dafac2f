#pragma once
// The class window («Класс»): every computer of the lab live, from the status files each
// copy of the program writes into the shared folder. One row per computer, problems first
// (a result not saved, a result told saved but missing from the report, a computer silent
// while its student is at work, a status that cannot be read), refreshed every few
// seconds. «Очистить» (with the password) moves the statuses of finished computers into
// an archive, ready for the next class. Opened from the settings window.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "teacher_tools/class_board.h"

class Form11 : public forms::Window {
public:
    static constexpr char kName[] = "Form11";
    explicit Form11(App& app);
    void load() override;

    forms::Label summary{*this, "Summary"}; // the counts: in progress, finished, ...
    forms::ListBox rows{*this, "Rows"};     // one line per computer, cells joined by " | "
    forms::Label note{*this, "Note"};       // when it was refreshed, what «Очистить» did
    forms::CommandButton refreshNow{*this, "Refresh"};
    forms::CommandButton clear{*this, "Clear"}; // asks for the password
    forms::CommandButton closeWindow{*this, "Close"};
    forms::Frame passwordPanel{*this, "PasswordPanel"};
    forms::Label passwordPrompt{*this, "PasswordPrompt"};
    forms::TextBox password{*this, "Password"};
    forms::CommandButton confirmClear{*this, "ConfirmClear"};
    forms::CommandButton cancelClear{*this, "CancelClear"};
    forms::Timer refreshTimer{*this, "Timer1"};    // every few seconds while shown
    forms::Label languageLabel{*this, "Language"}; // hidden: interface language

    const class_board::Board& board() const { return board_; }
    // The interface language the rows are shown in.
    QString rowLanguage() const { return languageLabel.caption(); }

private:
    void refresh();
    void askPassword();
    void archive();
    void closePasswordPanel();
    void close();

    class_board::Board board_;

    const forms::CaptionTable captions_{
        {&refreshNow, "Обновить", "Обновить", "Refresh"},
        {&clear, "Очистить...", "Очистить...", "Clear..."},
        {&closeWindow, "Закрыть", "Закрыть", "Close"},
        {&passwordPrompt, "Пароль для очистки:", "Пароль для очистки:", "Password to clear:"},
        {&confirmClear, "Очистить", "Очистить", "Clear"},
        {&cancelClear, "Отмена", "Отмена", "Cancel"},
    };
};
