#include "forms/captions.h"

namespace forms {

void CaptionTable::applyDesign() const {
    for (const CaptionRow& row : rows_) {
        if (row.design) row.control->setDisplayedText(QString::fromUtf8(row.design));
    }
}

void CaptionTable::apply(const QString& language) const {
    if (!isKnownLanguage(language)) return;
    const bool russian = language == kRussian;
    for (const CaptionRow& row : rows_) {
        const char* caption = russian ? row.russian : row.english;
        if (caption) row.control->setDisplayedText(QString::fromUtf8(caption));
    }
}

void setToolTips(std::initializer_list<ToolTipRow> rows) {
    for (const ToolTipRow& row : rows)
        row.control->setToolTip(QString::fromUtf8(row.toolTip));
}

} // namespace forms
