#include "forms/captions.h"

namespace forms {

void CaptionTable::applyDesign() const {
    for (const CaptionRow& row : rows_) {
        if (row.design) row.control->setDisplayedText(QString::fromUtf8(row.design));
    }
    for (const ToolTipRow& row : toolTips_)
        row.control->setToolTip(QString::fromUtf8(row.toolTip.russian));
}

void CaptionTable::apply(const QString& language) const {
    if (!isKnownLanguage(language)) return;
    const bool russian = language == kRussian;
    for (const CaptionRow& row : rows_) {
        const char* caption = russian ? row.russian : row.english;
        if (caption) row.control->setDisplayedText(QString::fromUtf8(caption));
    }
    for (const ToolTipRow& row : toolTips_)
        row.control->setToolTip(say(language, row.toolTip));
}

} // namespace forms
