#pragma once
// The findings window: what a check of an exam or test folder found (and what an import
// left out), one line each, "file: what is wrong". A double-click or "Открыть файл" opens
// the file; "Перекодировать" rewrites the files saved in another encoding in
// Windows-1251, keeping their originals; "Проверить снова" checks again.

#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"
#include "teacher_tools/bank_import.h"
#include "teacher_tools/findings.h"

class Form10 : public forms::Window {
public:
    static constexpr char kName[] = "Form10";
    explicit Form10(App& app);
    void load() override;

    forms::Label Label1{*this, "Label1"};             // what was checked
    forms::ListBox List1{*this, "List1"};             // the findings, "file: what is wrong"
    forms::Label Label2{*this, "Label2"};             // how many, and the offer to convert
    forms::CommandButton Command1{*this, "Command1"}; // convert to Windows-1251
    forms::CommandButton Command2{*this, "Command2"}; // open the chosen finding's file
    forms::CommandButton Command3{*this, "Command3"}; // check again
    forms::CommandButton Command4{*this, "Command4"}; // close
    forms::Label Label3{*this, "Label3"};             // hidden: interface language

    // Checks the folder (an exam, a test, or a folder holding them) and shows the window
    // with what was found. The exam folder in use is held to the settings in force. A
    // folder that holds nothing to check is refused with a message, and the window goes.
    void checkFolder(const QString& folder);
    // What an import left out and remarked on, then the check of what it made (nothing
    // when it made nothing). The window shows only when there is something to show.
    void showImport(const QString& bankFile, const teacher_tools::ImportResult& result);

private:
    teacher_tools::Wording wording() const { return teacher_tools::Wording(language()); }
    void runCheck();
    void showFindings();
    QString shownPath(const QString& path) const;
    void convert();
    void openChosen();
    void close();

    std::vector<const teacher_tools::Finding*> entries() const;

    QString folder_;                     // the folder checked; empty when none was
    QString bankFile_;                   // the file an import read
    teacher_tools::Findings notes_;      // the import's notes, kept over a new check
    teacher_tools::Findings findings_;   // the check's findings
    teacher_tools::Findings conversion_; // files a conversion had to leave as they were

    const forms::CaptionTable captions_{
        {&Command1, "Перекодировать в Windows-1251", "Перекодировать в Windows-1251",
         "Convert to Windows-1251"},
        {&Command2, "Открыть файл", "Открыть файл", "Open the file"},
        {&Command3, "Проверить снова", "Проверить снова", "Check again"},
        {&Command4, "Закрыть", "Закрыть", "Close"},
    };
};
