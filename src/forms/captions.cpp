#include "forms/captions.h"

namespace forms {

std::optional<QString> byLanguage(const QString& language, const char* russian,
                                  const char* english) {
    if (language == kRussian) return QString::fromUtf8(russian);
    if (language == kEnglish) return QString::fromUtf8(english);
    return std::nullopt;
}

QString say(const QString& language, const QString& russian, const QString& english) {
    return language == kEnglish ? english : russian;
}

QString say(const QString& language, const char* russian, const char* english) {
    return QString::fromUtf8(language == kEnglish ? english : russian);
}

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
