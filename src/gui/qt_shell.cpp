#include "gui/qt_shell.h"

#include "forms/captions.h"
#include "gui/journal_view.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_shell_texts.h"
#include "gui/report_text_view.h"
#include "gui/statistics_view.h"
#include "platform/ansi_codec.h"
#include "platform/text_encoding.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace gui {

// Every line end (CR CR LF, CR LF, a lone CR or LF) as one LF, in one pass: a year of
// reports holds a million of them, and replacing them one kind at a time moves the text
// again and again.
QString reportText(const QByteArray& bytes) {
    const QString text = platform::fromAnsi(bytes);
    QString lines(text.size(), Qt::Uninitialized);
    QChar* out = lines.data();
    const QChar* in = text.constData();
    const QChar* const end = in + text.size();
    while (in < end) {
        if (*in != QLatin1Char('\r')) {
            *out++ = *in++;
            continue;
        }
        const QChar* after = in;
        while (after < end && *after == QLatin1Char('\r'))
            ++after;
        // "\r\r\n" and "\r\n" end one line; any other CR ends one of its own.
        qsizetype ends = after - in;
        if (after < end && *after == QLatin1Char('\n')) {
            ends = ends >= 3 ? ends - 2 : 1;
            ++after;
        }
        for (; ends > 0; --ends)
            *out++ = QLatin1Char('\n');
        in = after;
    }
    lines.truncate(out - lines.constData());
    return lines;
}

QString QtShell::say(const texts::Text& text) const { return texts::say(language_(), text); }

void QtShell::open(const QString& path) {
    QWidget* parent = QApplication::activeWindow();
    if (QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) != 0) {
        openWithDesktop(path, parent);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessageBox(parent, QStringLiteral("Проверон"),
                       say(qt_shell_texts::text("fileDoesNotExist")) + path);
        return;
    }

    // A window of its own, not modal: the teacher may keep the report open while working.
    auto* viewer = new QDialog(nullptr);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" — Проверон"));
    auto* layout = new QVBoxLayout(viewer);
    const QByteArray bytes = file.readAll();
    auto* text = new ReportTextView(bytes, viewer);
    text->setAccessibleName(say(qt_shell_texts::text("report")));
    if (QFileInfo(path).fileName().compare(QLatin1String("oth.txt"), Qt::CaseInsensitive) == 0) {
        // The exam report reads as a table too.
        auto* tabs = new QTabWidget(viewer);
        tabs->setAccessibleName(say(qt_shell_texts::text("report")));
        tabs->addTab(text, say(qt_shell_texts::text("text")));
        const QChar separator = platform::UserLocale::system().decimalSeparator();
        auto* table = new JournalTable(bytes, language_(), separator, tabs);
        tabs->addTab(table, say(qt_shell_texts::text("table")));
        // The report lies in the application folder's "s", beside the test report.
        const QDir reports = QFileInfo(path).absoluteDir();
        table->setCsvFolder(QFileInfo(reports.absolutePath()).absolutePath());
        // The table and the statistics are made when their tab is first shown: the text's
        // first rows show without the whole report read into records.
        auto* statistics = new QWidget(tabs);
        new QVBoxLayout(statistics);
        statistics->layout()->setContentsMargins(0, 0, 0, 0);
        tabs->addTab(statistics, say(qt_shell_texts::text("statistics")));
        QObject::connect(
            tabs, &QTabWidget::currentChanged, statistics, [=, language = language_()](int) {
                if (tabs->currentWidget() != statistics || !statistics->layout()->isEmpty()) return;
                const QByteArray tests =
                    platform::readBytes(reports.filePath(QStringLiteral("lzm.txt")))
                        .value_or(QByteArray());
                const QString examFolder = teacher_tools::examFolderInUse(
                    QFileInfo(reports.absolutePath()).absolutePath());
                statistics->layout()->addWidget(new StatisticsView(
                    table->journal(), tests, examFolder, language, separator, tabs));
            });
        layout->addWidget(tabs);
    } else {
        layout->addWidget(text);
    }
    auto* buttons = new QHBoxLayout;
    auto* external = new QPushButton(say(qt_shell_texts::text("openEditor")), viewer);
    auto* close = new QPushButton(say(qt_shell_texts::text("close")), viewer);
    close->setDefault(true);
    buttons->addWidget(external);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    QObject::connect(close, &QPushButton::clicked, viewer, &QDialog::close);
    QObject::connect(external, &QPushButton::clicked, viewer,
                     [this, path, viewer] { openWithDesktop(path, viewer); });
    viewer->resize(760, 440);
    viewer->show();
    // The newest records are at the end.
    text->scrollToBottom();
}

QWidget* showHtmlViewer(const QString& path, const QString& closeCaption) {
    auto* viewer = new QDialog(nullptr);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" — Проверон"));
    auto* layout = new QVBoxLayout(viewer);
    auto* page = new QTextBrowser(viewer);
    page->setOpenExternalLinks(true);
    page->setSource(QUrl::fromLocalFile(path));
    layout->addWidget(page);
    auto* close = new QPushButton(closeCaption, viewer);
    close->setDefault(true);
    layout->addWidget(close, 0, Qt::AlignRight);
    QObject::connect(close, &QPushButton::clicked, viewer, &QDialog::close);
    viewer->resize(760, 560);
    viewer->show();
    return viewer;
}

void QtShell::openWithDesktop(const QString& path, QWidget* parent) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (QFileInfo(path).isFile() &&
        (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))) {
        // A computer without a browser still has the help.
        showHtmlViewer(path, say(qt_shell_texts::text("close")));
        return;
    }
    showMessageBox(parent, QStringLiteral("Проверон"),
                   say(qt_shell_texts::text("noProgramThereOpen")) + path);
}

} // namespace gui
