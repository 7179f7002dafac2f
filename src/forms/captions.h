#pragma once
// Captions by interface language. Every window keeps its built-in (Russian design)
// captions unless the language is exactly "rus" or "eng".

#include "common/language.h"
#include "forms/controls.h"

#include <QString>
#include <initializer_list>
#include <vector>

namespace forms {

using texts::byLanguage;
using texts::isKnownLanguage;
using texts::kEnglish;
using texts::kRussian;
using texts::say;

// One control's captions: the one it is built with, and the ones for "rus" and "eng".
// A null design caption leaves the built control as it is; null language captions mean
// the control keeps its design caption in every language.
struct CaptionRow {
    Control* control;
    const char* design;
    const char* russian;
    const char* english;
};

// A window's captions, kept once as data: the constructor applies the design column,
// the language switch (and anything else that relabels the window) a language column.
// Tool tips ride along: their texts live in the window's text table, the design column
// being the Russian one.
struct ToolTipRow {
    Control* control;
    const texts::Text& toolTip;
};

class CaptionTable {
public:
    CaptionTable(std::initializer_list<CaptionRow> rows,
                 std::initializer_list<ToolTipRow> toolTips = {})
        : rows_(rows), toolTips_(toolTips) {}
    void applyDesign() const;
    // The column of the language; nothing for any other language.
    void apply(const QString& language) const;

private:
    std::vector<CaptionRow> rows_;
    std::vector<ToolTipRow> toolTips_;
};

} // namespace forms
