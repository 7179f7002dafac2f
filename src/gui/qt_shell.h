#pragma once
// Opening documents for the user. The program's own text files (the reports and the
// closing note) are Windows-1251 with CR CR LF lines that desktop editors here take for
// UTF-8 with blank lines: they open in a small read-only viewer of our own instead, with
// a button to open them in the system's editor after all. Anything else goes to the
// desktop; the HTML help opens in a viewer of our own when no browser takes it, and for
// anything else that nothing can open the user is told.

#include "common/language.h"
#include "platform/services.h"

#include <functional>

class QWidget;

namespace gui {

class QtShell final : public platform::Shell {
public:
    // `language` answers the interface language ("rus", "eng", ...) at the time of use.
    explicit QtShell(std::function<QString()> language) : language_(std::move(language)) {}
    void open(const QString& path) override;

private:
    void openWithDesktop(const QString& path, QWidget* parent);
    QString say(const texts::Text& text) const;

    std::function<QString()> language_;
};

// A window of our own showing an HTML page (the help) with its links and pictures;
// `closeCaption` names its one button. Deleted when closed.
QWidget* showHtmlViewer(const QString& path, const QString& closeCaption);

// The text of a report as the viewer shows it: decoded, every kind of line end (CR CR LF,
// CR LF, LF, a lone CR) one line end.
QString reportText(const QByteArray& bytes);

} // namespace gui
