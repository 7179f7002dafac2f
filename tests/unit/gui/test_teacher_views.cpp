// The teacher's tools on screen: the findings window opens a finding's file on a
// double-click, the report viewer shows the exam report as a table that sorts, filters and
// saves CSV, and the new windows and panels fit a small screen at a large scale.

#include "exam_content/ticket_editor.h"
#include "exam_taking/exam_report.h"
#include "forms/captions.h"
#include "gui/findings_window_view.h"
#include "gui/journal_view.h"
#include "gui/qt_shell.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "gui_support.h"
#include "platform/ansi_codec.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/findings_window.h"
#include "test_support.h"

#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

const QString kRecord = QStringLiteral(
    "Дата: %1 Время: 9:00:00\r\r\nФ.И.О ,  Данные  %2\r\r\nБилет № b1\r\r\n"
    "Первый вопрос, оценка  %3; Второй вопрос, оценка  5; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; "
    "\r\r\n%4\r\r\n==================\r\r\n\r\n\r\n");

QByteArray threeRecords() {
    return platform::toAnsi(kRecord.arg("15.01.2026", "Иванов", "5", "Зачет") +
                            kRecord.arg("9.01.2026", "Петров", "2", "Не зачет") +
                            kRecord.arg("20.01.2026", "Сидоров", "5", "Зачет"));
}

} // namespace

TEST(FindingsWindow, ADoubleClickOpensTheFindingsFile) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    writeExam(f.folder.path(), 2);
    platform::writeWholeFile(f.app.path("b/exam/b1/o2.txt"), "Да");
    Form10& model = f.app.window<Form10>();
    gui::FindingsWindowView view(f.app, model);
    view.setAttribute(Qt::WA_DontShowOnScreen, true);
    f.app.userEvent([&] { model.checkFolder(f.app.path("b/exam")); });
    EXPECT_TRUE(view.isVisible());
    auto* list = view.findChild<QListWidget*>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 1);
    EXPECT_TRUE(list->item(0)->text().startsWith("b1/o2.txt: Правильный ответ «Да»"));
    emit list->itemDoubleClicked(list->item(0));
    ASSERT_EQ(f.desktop.shellRequests.size(), 1u);
    EXPECT_EQ(f.desktop.shellRequests.front(), f.app.path("b/exam/b1/o2.txt"));
}

TEST(FindingsWindow, EscapeClosesItAsItClosesTheViewers) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    AppFixture f;
    writeExam(f.folder.path(), 2);
    gui::ViewManager views{f.app, gui::programWindows()};
    f.app.userEvent([&] { f.app.window<Form10>().checkFolder(f.app.path("b/exam")); });
    QWidget* view = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* found = dynamic_cast<gui::View*>(widget);
        if (found && &found->model() == f.app.loaded<Form10>()) view = found;
    }
    ASSERT_TRUE(view);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(view, &escape);
    EXPECT_EQ(f.app.loaded<Form10>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(JournalTable, SortsDatesAndNumbersFiltersAndSavesWhatIsShown) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    gui::JournalTable table(threeRecords(), "rus", ',', nullptr);
    QSortFilterProxyModel* rows = table.rows();
    EXPECT_EQ(table.allRows(), 3);
    EXPECT_EQ(column(rows, 2), (QStringList{"Иванов", "Петров", "Сидоров"}));
    rows->sort(0, Qt::AscendingOrder); // by date, not by the text "9.01..." after "20.01..."
    EXPECT_EQ(column(rows, 2), (QStringList{"Петров", "Иванов", "Сидоров"}));
    const int average = teacher_tools::kFirstQuestionColumn + 2 + 1;
    rows->sort(average, Qt::DescendingOrder);
    EXPECT_EQ(column(rows, average), (QStringList{"5", "5", "3,5"}));

    // Each cell is the one the command line and the CSV show.
    const int questions = teacher_tools::questionColumns(table.journal().rows);
    for (int r = 0; r < rows->rowCount(); ++r) {
        const auto& row =
            table.journal().rows[std::size_t(rows->mapToSource(rows->index(r, 0)).row())];
        const QStringList cells = teacher_tools::journalCells(row, questions, ',');
        ASSERT_EQ(rows->columnCount(), cells.size());
        for (int c = 0; c < cells.size(); ++c)
            EXPECT_EQ(rows->index(r, c).data().toString(), cells.at(c)) << r << ' ' << c;
    }

    table.setFilter("зачет");
    EXPECT_EQ(table.shownRows(), 3); // "Не зачет" holds it too, in any case
    // Every column is searched, the average and the line as they are shown, and no text
    // runs on into the next cell or row.
    for (const auto& [needle, shown] :
         {std::pair{"СИДОР", 1}, std::pair{"3,5", 1}, std::pair{"17", 1}, std::pair{"b1", 3},
          std::pair{"2026 9", 0}, std::pair{"", 3}, std::pair{"сидор", 1}}) {
        table.setFilter(needle);
        EXPECT_EQ(table.shownRows(), shown) << needle;
    }
    rows->sort(2, Qt::DescendingOrder); // the rows a filter shows keep the order chosen
    table.setFilter("зачет");
    EXPECT_EQ(column(rows, 2), (QStringList{"Сидоров", "Петров", "Иванов"}));
    table.setFilter("сидор");
    QTemporaryDir dir;
    ASSERT_TRUE(table.saveCsv(dir.filePath("oth.csv")));
    const QByteArray csv = bytesOf(dir.filePath("oth.csv"));
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(csv.mid(3)).count("\r\n"), 2);
    EXPECT_TRUE(QString::fromUtf8(csv).contains(
        "20.01.2026;2026-01-20;9:00:00;Сидоров;;b1;5;5;2;5;Зачет;17"));
    EXPECT_FALSE(table.saveCsv(dir.filePath("нет/oth.csv")));
}

TEST(ReportViewer, EveryResultShowsAtTheFirstSizeAndTheCsvGoesToTheApplicationFolder) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    QTemporaryDir dir;
    // Twenty questions and a long name: the widest table a report can make.
    QString evaluations;
    for (int n = 1; n <= 20; ++n)
        evaluations += questionLinePrefix(forms::kRussian, n) + "5; ";
    const QString record =
        "Дата: 15.01.2026 Время: 9:00:00\r\r\nФ.И.О ,  Данные  Константинопольский "
        "Александр Владимирович, 11 А класс, вариант 2\r\r\nБилет № b12\r\r\n" +
        evaluations.chopped(1) + "\r\r\nЗачет\r\r\n==================\r\r\n\r\n\r\n";
    putBytes(dir.filePath("s/oth.txt"), platform::toAnsi(record + record));
    gui::QtShell shell([] { return QStringLiteral("rus"); });
    shell.open(dir.filePath("s/oth.txt"));
    QDialog* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            viewer = dialog;
    ASSERT_TRUE(viewer);
    auto* tabs = viewer->findChild<QTabWidget*>();
    ASSERT_TRUE(tabs);
    tabs->setCurrentIndex(1);
    QCoreApplication::processEvents();
    auto* view = tabs->widget(1)->findChild<QTableView*>();
    ASSERT_TRUE(view);
    QHeaderView* header = view->horizontalHeader();
    for (const QString& heading : {QStringLiteral("Средний балл"), QStringLiteral("Итог")}) {
        int logical = -1;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            if (view->model()->headerData(c, Qt::Horizontal).toString() == heading) logical = c;
        ASSERT_GE(logical, 0) << heading.toStdString();
        const int left = header->sectionViewportPosition(logical);
        EXPECT_GE(left, 0) << heading.toStdString();
        EXPECT_LE(left + header->sectionSize(logical), view->viewport()->width())
            << heading.toStdString();
        EXPECT_GE(header->sectionSize(logical), header->sectionSizeHint(logical))
            << heading.toStdString();
    }
    gui::JournalTable* table = nullptr;
    for (QWidget* child : viewer->findChildren<QWidget*>())
        if (!table) table = dynamic_cast<gui::JournalTable*>(child);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->csvStartPath(), QDir(dir.path()).filePath("oth.csv"));
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(ReportViewer, TheExamReportHasATableTabAndOtherFilesDoNot) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    QTemporaryDir dir;
    putBytes(dir.filePath("s/oth.txt"), threeRecords());
    putBytes(dir.filePath("s/lzm.txt"), "test report\r\n");
    gui::QtShell shell([] { return QStringLiteral("eng"); });
    auto viewers = [] {
        std::vector<QDialog*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                found.push_back(dialog);
        }
        return found;
    };
    shell.open(dir.filePath("s/oth.txt"));
    ASSERT_EQ(viewers().size(), 1u);
    QDialog* report = viewers().front();
    auto* tabs = report->findChild<QTabWidget*>();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->tabText(0), "Text");
    EXPECT_EQ(tabs->tabText(1), "Table");
    // The table has no meta-object of its own: found by its C++ type.
    bool table = false;
    for (QWidget* child : report->findChildren<QWidget*>())
        table = table || dynamic_cast<gui::JournalTable*>(child);
    EXPECT_TRUE(table);
    EXPECT_TRUE(withText<QPushButton>(*report, "Save CSV"));
    report->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    shell.open(dir.filePath("s/lzm.txt"));
    ASSERT_EQ(viewers().size(), 1u);
    EXPECT_FALSE(viewers().front()->findChild<QTabWidget*>());
    viewers().front()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The help, where no browser takes it, in a viewer of our own with its text.
    putBytes(dir.filePath("help/help.html"),
             "<html><body><h1>Помощь</h1><p>Текст</p></body></html>");
    QWidget* help = gui::showHtmlViewer(dir.filePath("help/help.html"), "Close");
    auto* page = help->findChild<QTextBrowser*>();
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("Помощь")));
    EXPECT_TRUE(withText<QPushButton>(*help, "Close"));
    help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

QWidget* viewOf(const forms::Window* window) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* view = dynamic_cast<gui::View*>(widget);
        if (view && window && &view->model() == window) return view;
    }
    return nullptr;
}

void expectOnScreen(QWidget* view, std::initializer_list<const char*> buttons) {
    ASSERT_TRUE(view && view->isVisible());
    const QRect area = view->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(view->frameGeometry()))
        << view->frameGeometry().width() << "x" << view->frameGeometry().height();
    for (const char* caption : buttons) {
        QPushButton* button = withText<QPushButton>(*view, QString::fromUtf8(caption));
        ASSERT_TRUE(button) << caption;
        EXPECT_TRUE(button->isVisible()) << caption;
        EXPECT_TRUE(view->rect().contains(QRect(button->mapTo(view, QPoint()), button->size())))
            << caption;
    }
}

} // namespace

TEST(SmallScreen, TheFindingsWindowTheImportPanelAndTheReportTableFit) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    AppFixture f;
    writeExam(f.folder.path(), 20);
    for (int n = 1; n <= 20; ++n) // twenty findings, each a long line
        platform::writeWholeFile(f.app.path(QStringLiteral("b/exam/b1/o%1.txt").arg(n)), "Да");
    gui::ViewManager views{f.app, gui::programWindows()};
    auto act = [&](const std::function<void()>& action) {
        f.app.userEvent(action);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    };
    act([&] { gui::programWindows().start(f.app); });
    Form1& start = f.app.window<Form1>();
    act([&] {
        start.Option1.click();
        start.Text9.setText(QStringLiteral("Учитель"));
        start.Command14.press();
        start.Command15.press();
    });
    Form4& settings = f.app.window<Form4>();
    act([&] { settings.Command12.press(); });
    expectOnScreen(viewOf(f.app.loaded<Form10>()), {"Открыть файл", "Проверить снова", "Закрыть"});
    act([&] { f.app.window<Form10>().Command4.press(); });

    act([&] { settings.Label8.click(); });
    act([&] { f.app.window<Form7>().Command15.press(); });
    expectOnScreen(viewOf(f.app.loaded<Form7>()), {"Обзор...", "Импортировать"});

    putBytes(f.app.path("s/oth.txt"), threeRecords());
    gui::QtShell shell([] { return QStringLiteral("rus"); });
    shell.open(f.app.path("s/oth.txt"));
    QCoreApplication::processEvents();
    QWidget* report = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(widget) && widget->isVisible()) report = widget;
    }
    ASSERT_TRUE(report);
    report->findChild<QTabWidget*>()->setCurrentIndex(1);
    expectOnScreen(report, {"Сохранить CSV", "Открыть в редакторе", "Закрыть"});
    f.desktop.messages.clear();
}
