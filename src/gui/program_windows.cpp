// Every window of the program, registered once.

#include "gui/class_window_view.h"
#include "gui/findings_window_view.h"
#include "gui/folder_chooser_view.h"
#include "gui/picture_viewer_view.h"
#include "gui/results_window_view.h"
#include "gui/settings_window_view.h"
#include "gui/start_window_view.h"
#include "gui/tester_window_view.h"
#include "gui/ticket_editor_view.h"
#include "gui/ticket_window_view.h"
#include "gui/window_table.h"

#include "exam_content/folder_chooser.h"
#include "exam_content/ticket_editor.h"
#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/class_window.h"
#include "teacher_tools/findings_window.h"
#include "tester/tester_window.h"

namespace gui {

const WindowTable& programWindows() {
    static const WindowTable table{{
        windowEntry<Form1, StartWindowView>(),
        windowEntry<Form2, TicketWindowView>(),
        windowEntry<Form3, PictureViewerView>(),
        windowEntry<Form4, SettingsWindowView>(),
        windowEntry<Form5, ResultsWindowView>(),
        windowEntry<Form6, TesterWindowView>(),
        windowEntry<Form7, TicketEditorView>(),
        windowEntry<Form9, FolderChooserView>(),
        windowEntry<Form10, FindingsWindowView>(),
        windowEntry<Form11, ClassWindowView>(),
    }};
    return table;
}

} // namespace gui
