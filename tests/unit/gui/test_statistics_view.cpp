// The report viewer's "Статистика" tab: the item table sorts and marks the questions worth
// a look, the group and the period choose the records, and at 150 % on a small screen the
// tab fits and saves its charts as PNG at the screen's scale.

#include "exam_taking/exam_report.h"
#include "gui/journal_view.h"
#include "gui/qt_shell.h"
#include "gui/statistics_view.h"
#include "gui_support.h"
#include "platform/ansi_codec.h"
#include "test_support.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// Six records of ticket b1 (three questions) and two of b2, 8А on the 15th and 8Б on the
// 16th; the question texts of b1 are in the exam folder.
QByteArray report() {
    const char* const sittings[][3] = {{"555", "8А", "15.01.2026"}, {"552", "8А", "15.01.2026"},
                                       {"525", "8А", "15.01.2026"}, {"522", "8Б", "16.01.2026"},
                                       {"252", "8Б", "16.01.2026"}, {"222", "8Б", "16.01.2026"},
                                       {"55", "8А", "15.01.2026"},  {"52", "8Б", "16.01.2026"}};
    QString text;
    int number = 0;
    for (const auto& sitting : sittings) {
        ExamReport record;
        record.language = "rus";
        record.date = sitting[2];
        record.time = "9:00:00";
        record.nameLine = QStringLiteral("Ф.И.О ,  Данные  Ученик %1").arg(++number);
        record.ticketCaption = number <= 6 ? "Билет № b1" : "Билет № b2";
        const QString evaluations = QString::fromLatin1(sitting[0]);
        for (int q = 0; q < evaluations.size(); ++q)
            record.questionLines[std::size_t(q)] =
                questionLinePrefix("rus", q + 1) + evaluations[q];
        record.verdict = evaluations.count('5') * 2 >= evaluations.size() ? "Зачет" : "Не зачет";
        record.data1 = QString::fromUtf8(sitting[1]);
        text += record.record();
    }
    return platform::toAnsi(text);
}

} // namespace

TEST(StatisticsView, TheItemTableSortsMarksAndFollowsTheGroup) {
    if (!widgetsApplication()) GTEST_SKIP() << "another test made a non-GUI application";
    QTemporaryDir folder;
    writeExam(folder.path(), 3);
    const teacher_tools::Journal journal =
        teacher_tools::readJournal(report(), teacher_tools::Wording("rus"));
    gui::StatisticsView view(journal, {}, folder.filePath("b/exam"), "rus", ',', nullptr);
    QSortFilterProxyModel* items = view.items();
    ASSERT_EQ(view.itemRows(), 5);
    // b1/1: 4 of 6 right, b1/2: 3 of 6, b1/3: 2 of 6, b2/1 both (too easy), b2/2 one.
    EXPECT_EQ(column(items, 4), (QStringList{"66,7", "50", "33,3", "100", "50"}));
    EXPECT_EQ(column(items, 6), (QStringList{"", "", "", "лёгкий", ""}));
    EXPECT_EQ(column(items, 7), (QStringList{"Вопрос 1?", "Вопрос 2?", "Вопрос 3?", "", ""}));
    items->sort(4, Qt::AscendingOrder); // by facility as a number
    EXPECT_EQ(column(items, 4), (QStringList{"33,3", "50", "50", "66,7", "100"}));
    EXPECT_EQ(view.facilityChart()->data().values.size(), 5u);
    EXPECT_EQ(view.histogramChart()->data().values,
              (std::vector<double>{1, 0, 2, 1, 2, 2})); // 2 | 3 3 | 3.5 | 4 4 | 5 5
    EXPECT_EQ(view.passRateChart()->data().labels, (QStringList{"15.01", "16.01"}));
    EXPECT_EQ(view.passRateChart()->data().values, (std::vector<double>{100, 25}));

    // 8Б alone: the weak three of b1 (522 252 222) and the 52 of b2.
    view.setGroup("8Б");
    EXPECT_EQ(view.statistics().records, 4);
    items->sort(0, Qt::AscendingOrder);
    EXPECT_EQ(column(items, 3), (QStringList{"1", "1", "0", "1", "0"}));
    EXPECT_EQ(column(items, 6).at(2), "трудный");
    EXPECT_FALSE(view.facilityChart()->data().marked.empty());
    EXPECT_TRUE(view.facilityChart()->data().marked.at(2));
    // The period: the 16th holds no record of 8А.
    view.setGroup("8А");
    view.findChildren<QDateEdit*>().front()->setDate(QDate(2026, 1, 16));
    EXPECT_EQ(view.statistics().records, 0);
    EXPECT_TRUE(view.facilityChart()->data().values.empty());
}

TEST(SmallScreen, TheStatisticsTabFitsAndSavesItsChartsAsPng) {
    if (!smallScreenApplication()) GTEST_SKIP() << "needs a process of its own";
    QTemporaryDir folder;
    putBytes(folder.filePath("s/oth.txt"), report());
    gui::QtShell shell([] { return QStringLiteral("eng"); });
    shell.open(folder.filePath("s/oth.txt"));
    QCoreApplication::processEvents();
    QDialog* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(widget) && widget->isVisible())
            viewer = qobject_cast<QDialog*>(widget);
    }
    ASSERT_TRUE(viewer);
    auto* tabs = viewer->findChild<QTabWidget*>();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), "Statistics");
    tabs->setCurrentIndex(2);
    QCoreApplication::processEvents();
    gui::StatisticsView* view = nullptr;
    for (QWidget* child : viewer->findChildren<QWidget*>()) {
        if (!view) view = dynamic_cast<gui::StatisticsView*>(child);
    }
    ASSERT_TRUE(view);
    EXPECT_TRUE(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()));
    EXPECT_EQ(view->facilityChart()->data().title, "Facility of the questions");
    QPushButton* save =
        withText<QPushButton>(*view->facilityChart()->parentWidget(), "Save PNG...");
    ASSERT_TRUE(save);
    EXPECT_TRUE(save->isVisible());
    EXPECT_TRUE(viewer->rect().contains(QRect(save->mapTo(viewer, QPoint()), save->size())));

    const gui::Chart* chart = view->facilityChart();
    ASSERT_TRUE(chart->isVisible());
    ASSERT_TRUE(chart->savePng(folder.filePath("facility.png")));
    QImage saved(folder.filePath("facility.png"), "PNG");
    ASSERT_FALSE(saved.isNull());
    // At the screen's scale: 1.5 device pixels to a pixel of the layout.
    EXPECT_DOUBLE_EQ(chart->devicePixelRatioF(), 1.5);
    EXPECT_EQ(saved.size(), chart->size() * 1.5);
    // The bar of b2/1, which both answered right, in the warning colour.
    bool warning = false;
    for (int y = 0; y < saved.height() && !warning; ++y) {
        for (int x = 0; x < saved.width() && !warning; ++x)
            warning = saved.pixelColor(x, y) == QColor(200, 55, 55);
    }
    EXPECT_TRUE(warning);
    EXPECT_FALSE(chart->savePng(folder.filePath("no/facility.png")));
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
