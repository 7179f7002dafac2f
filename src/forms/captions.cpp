#include "forms/captions.h"

namespace forms {

std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english) {
    if (language == kRussian) return QString::fromUtf8(russian);
    if (language == kEnglish) return QString::fromUtf8(english);
    return std::nullopt;
}

void setCaptionOf(Control& control, const QString& caption) {
    switch (control.kind()) {
    case ControlKind::TextBox:
        static_cast<TextBox&>(control).setText(caption);
        break;
    case ControlKind::Label:
        static_cast<Label&>(control).setCaption(caption);
        break;
    case ControlKind::CheckBox:
        static_cast<CheckBox&>(control).setCaption(caption);
        break;
    case ControlKind::OptionButton:
        static_cast<OptionButton&>(control).setCaption(caption);
        break;
    case ControlKind::CommandButton:
        static_cast<CommandButton&>(control).setCaption(caption);
        break;
    case ControlKind::Frame:
        static_cast<Frame&>(control).setCaption(caption);
        break;
    case ControlKind::ComboBox:
        static_cast<ComboBox&>(control).setText(caption);
        break;
    default:
        break;
    }
}

void applyCaptions(const QString& language, std::initializer_list<CaptionRow> rows) {
    if (!isKnownLanguage(language)) return;
    const bool russian = language == kRussian;
    for (const CaptionRow& row : rows) {
        setCaptionOf(*row.control, QString::fromUtf8(russian ? row.russian : row.english));
    }
}

} // namespace forms
