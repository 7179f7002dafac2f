#pragma once
// Why a correct answer matches none of the variant lines. The ticket window compares
// them character for character, so a trailing blank, a capital letter, a Latin "a" typed
// for a Cyrillic "а", another dash or other quotes make a question nobody can answer
// right; this finds the variant the teacher most likely meant and says what differs.

#include "teacher_tools/findings.h"

#include <QStringList>

namespace teacher_tools {

struct Mismatch {
    int variant = -1; // index of the variant meant, -1 when none is close
    QString cause;    // what differs, in the user's language; empty when none is close
};

Mismatch explainMismatch(const QString& answer, const QStringList& variants, const Wording& say);

} // namespace teacher_tools
