#pragma once
// The checker of a test folder: missing question or conclusion files, thresholds that
// leave a conclusion unreachable or a possible total without any, points that read as 0,
// answers the window would show after a gap, files in another encoding.

#include "platform/app_context.h"
#include "teacher_tools/findings.h"

namespace teacher_tools {

// True when the folder holds a "*.tst" file.
bool looksLikeTestFolder(const QString& folder);

// The test is named after its folder, as the test editor makes it.
Findings checkTestFolder(const platform::AppContext& app, const QString& folder,
                         const Wording& say);

} // namespace teacher_tools
