#pragma once
// The checker of a test folder: missing question or conclusion files, thresholds that
// leave a conclusion unreachable or a possible total without any, points that read as 0,
// answers the window would show after a gap, files in another encoding.

#include "teacher_tools/findings.h"

class App;

namespace teacher_tools {

// True when the folder holds a "*.tst" file.
bool looksLikeTestFolder(const QString& folder);

// The test is named after its folder, as the test editor makes it.
Findings checkTestFolder(App& app, const QString& folder, const Wording& say);

} // namespace teacher_tools
