#pragma once
// The picture viewer: a full-screen window showing the question's picture at its real
// size or at the fixed size of the settings, beside the ticket window. Opened from the
// ticket editor it also lets the teacher set that fixed size.

#include "common/picture_captions.h"
#include "forms/captions.h"
#include "forms/controls.h"
#include "forms/window.h"

class Form3 : public forms::Window {
public:
    static constexpr char kName[] = "Form3";
    explicit Form3(App& app);
    void load() override;

    forms::Label Label1{*this, "Label1"};             // source: "0" ticket window, "1" editor
    forms::Label Label4{*this, "Label4"};             // interface language
    forms::Image Image1{*this, "Image1"};             // the picture
    forms::Frame Frame8{*this, "Frame8"};             // size panel (editor only)
    forms::TextBox Text4{*this, "Text4"};             // fixed width in pixels
    forms::TextBox Text1{*this, "Text1"};             // fixed height in pixels
    forms::OptionButton Option1{*this, "Option1"};    // fixed size
    forms::OptionButton Option2{*this, "Option2"};    // real size
    forms::CheckBox Check1{*this, "Check1"};          // take the size over on close
    forms::Label Label2{*this, "Label2"};             // real width text from the editor
    forms::Label Label3{*this, "Label3"};             // real height text from the editor
    forms::Label Label12{*this, "Label12"};           // unit after the size
    forms::Label Label14{*this, "Label14"};           // "х" between width and height
    forms::CommandButton Command2{*this, "Command2"}; // close
    forms::Timer Timer1{*this, "Timer1"};             // one-shot 100 ms: applies the picture

private:
    void applyPicture();
    void showFixedSize();
    void fixedSizeChanged();
    void close();

    const forms::CaptionTable captions_{
        {&Frame8, picture_captions::kPanelRu, picture_captions::kPanelRu,
         picture_captions::kPanelEn},
        {&Option1, picture_captions::kFixedRu, picture_captions::kFixedRu,
         picture_captions::kFixedEn},
        {&Option2, "Размер соответствует реальному размеру картинки",
         "Размер соответствует реальному размеру картинки",
         "Size corresponds a real the size pictures"},
        {&Label12, "пик", "пик", "pixel"},
        {&Label14, "х", "х", "х"},
        {&Check1, "Ввести", "Ввести", "To Enter"},
        {&Command2, "Закрыть", "Закрыть", "To Close"},
    };
};
