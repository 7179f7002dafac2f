#include "teacher_tools/class_window.h"

#include "forms/app.h"
#include "shell/start_window.h"
#include "shell/start_window_texts.h"
#include "teacher_tools/class_board_texts.h"

#include <QDir>

#include <algorithm>

using class_board_texts::text;

namespace {

// Wide enough for the nine columns of a row.
constexpr int kWidth = 15000;
constexpr int kHeight = 7500;
// How often the rows are read again.
constexpr int kRefreshMs = 3000;

} // namespace

Form11::Form11(App& app) : Window(app, kName), board_(app.folder()) {
    const QSize screen = app.services().screen.sizePixels();
    move(std::max(0, (screen.width() * forms::kTwipsPerPixel - kWidth) / 2),
         std::max(0, (screen.height() * forms::kTwipsPerPixel - kHeight) / 2), kWidth, kHeight);
    keepLanguageIn(languageLabel);
    captions_.applyDesign();
    languageLabel.hide();
    passwordPanel.hide();
    for (forms::Control* control : std::initializer_list<forms::Control*>{
             &passwordPrompt, &password, &confirmClear, &cancelClear})
        control->setContainer(&passwordPanel);
    refreshTimer.setInterval(kRefreshMs);
    refreshTimer.setEnabled(false);

    // Event table.
    refreshNow.onClick = [this] { refresh(); };
    clear.onClick = [this] { askPassword(); };
    confirmClear.onClick = [this] { archive(); };
    cancelClear.onClick = [this] { closePasswordPanel(); };
    closeWindow.onClick = [this] { close(); };
    refreshTimer.onTick = [this] { refresh(); };
}

void Form11::load() {
    languageLabel.setCaption(app().language());
    captions_.apply(languageLabel.caption());
    setCaption(say(text("windowTitle")) + QStringLiteral(" — Проверон"));
    refresh();
    refreshTimer.setEnabled(true);
}

void Form11::refresh() {
    const QDateTime now = app().services().clock.now();
    board_.refresh(now);
    const QString& language = languageLabel.caption();
    summary.setCaption(class_board::Board::summary(board_.counts(), language));
    QStringList lines;
    for (const class_board::Row& row : board_.rows()) {
        lines << class_board::Board::cells(row, language).inOrder().join(QStringLiteral(" | "));
    }
    rows.setItems(lines);
    QString line = lines.isEmpty()
                       ? say(text("noComputers"))
                       : say(text("refreshed")).arg(app().locale().longTime(now.time()));
    if (!board_.shareClockRead() && !lines.isEmpty())
        line += QLatin1Char(' ') + say(text("noShareClock"));
    note.setCaption(line);
}

void Form11::askPassword() {
    password.setText(QString());
    passwordPanel.show();
    requestFocus(password);
}

void Form11::archive() {
    const bool accepted = app().window<Form1>().passwordAccepts(password.text());
    password.setText(QString());
    if (!accepted) {
        app().message(say(start_window_texts::text("wrongPassword")), QStringLiteral("Проверон"));
        requestFocus(password);
        return;
    }
    closePasswordPanel();
    const class_board::Board::Archived archived =
        board_.archiveFinished(app().services().clock.now());
    refresh();
    if (!archived.done) {
        app().message(say(text("archiveFailed")).arg(archived.error), QStringLiteral("Проверон"));
        return;
    }
    note.setCaption(
        say(text("archived")).arg(archived.moved).arg(QDir::toNativeSeparators(archived.folder)));
}

void Form11::closePasswordPanel() {
    password.setText(QString());
    passwordPanel.hide();
    requestFocus(rows);
}

void Form11::close() {
    refreshTimer.setEnabled(false);
    hide();
    app().unload(*this);
}
