#pragma once
// Texts from the folders checked (names of files and folders, answers) reach the teacher's
// terminal. A student may name a folder with terminal escape codes or a line break to
// forge a line of output; every control character is shown escaped instead.

#include <QString>

namespace teacher_tools {

// The text with each control character written as an escape: "\x1B", "\n" as "\x0A",
// C1 controls and DEL likewise, and the Unicode marks that turn text around or break
// lines (U+2028, U+202E, ...) as "\u202E". Anything else is left as it is.
QString forTerminal(const QString& text);

// JSON text with the characters a terminal acts on written as \u escapes. The JSON writer
// escapes C0 controls already; C1 controls, DEL and the marks above it leaves as they are.
QString jsonForTerminal(const QString& json);

} // namespace teacher_tools
