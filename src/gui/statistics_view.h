#pragma once
// The report viewer's "Статистика" tab: the class statistics of teacher_tools/statistics.h
// for a period and a group, as a sortable table of questions (those worth a look marked),
// three charts (the facility of each question, the spread of ticket averages, the pass
// rate by day), the verdicts by group and the conclusions of the tests. Each chart is drawn
// with QPainter in the interface language and can be saved as PNG at the screen's scale.

#include "teacher_tools/statistics.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QSortFilterProxyModel;
class QStandardItemModel;

namespace gui {

// A bar chart or a line over labelled points.
class Chart : public QWidget {
public:
    enum class Kind { Bars, Line };
    struct Data {
        QString title{};
        QString unit{}; // under the scale: "%", "записей"
        QStringList labels{};
        std::vector<double> values{};
        std::vector<bool> marked{};   // bars drawn in the warning colour
        std::optional<double> top{};  // the scale's top (100 for shares); else one for counts
        std::vector<double> guides{}; // dashed lines across (the facility bounds)
        QString empty{};              // said when there is nothing to draw
        Kind kind = Kind::Bars;
    };

    explicit Chart(QWidget* parent);
    void setData(const Data& data);
    const Data& data() const { return data_; }
    // The chart as shown, at the screen's scale.
    QImage image() const;
    // Writes image() as PNG in one replacement of the file; false when it could not.
    bool savePng(const QString& path) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void draw(QPainter& painter, const QRect& area) const;
    void drawScale(QPainter& painter, const QRect& plot, double top) const;
    void drawValues(QPainter& painter, const QRect& plot, double top) const;
    void drawLabels(QPainter& painter, const QRect& plot) const;

    Data data_;
};

class StatisticsView : public QWidget {
public:
    // `testReport`: the bytes of "s/lzm.txt" (empty when there is none); `examFolder`: the
    // exam folder in use, for the questions' texts.
    StatisticsView(const teacher_tools::Journal& journal, const QByteArray& testReport,
                   const QString& examFolder, const QString& language, QChar decimalSeparator,
                   QWidget* parent);

    // Additional data 1 to keep; empty for every record.
    void setGroup(const QString& group);
    int itemRows() const;
    QSortFilterProxyModel* items() const { return itemProxy_; }
    Chart* facilityChart() const { return facility_; }
    Chart* histogramChart() const { return histogram_; }
    Chart* passRateChart() const { return passRate_; }
    const teacher_tools::ClassStatistics& statistics() const { return statistics_; }

private:
    QWidget* filterRow();
    QWidget* itemsPage();
    QWidget* gradesPage();
    QWidget* testsPage();
    QWidget* chartPanel(Chart* chart, const QString& file);
    void refresh();
    void fillItems();
    void fillCharts();
    void fillTable(QStandardItemModel* model, const teacher_tools::StatisticsTable& table);
    void saveChart(const Chart* chart, const QString& file);

    teacher_tools::Wording say_;
    QChar separator_;
    const teacher_tools::Journal journal_;
    QByteArray testReport_;
    QString examFolder_;
    std::optional<QDate> firstDay_, lastDay_;
    teacher_tools::ClassStatistics statistics_;
    QComboBox* group_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QStandardItemModel* itemModel_ = nullptr;
    QSortFilterProxyModel* itemProxy_ = nullptr;
    QStandardItemModel* groupModel_ = nullptr;
    QStandardItemModel* testModel_ = nullptr;
    Chart* facility_ = nullptr;
    Chart* histogram_ = nullptr;
    Chart* passRate_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* problems_ = nullptr;
};

} // namespace gui
