#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "lapdata/lap_view_model.h"

class QCustomPlot;
class QCPAxis;
class QCPAbstractPlottable;
class QMouseEvent;

namespace korimet {

// The lap chart: category labels from a table's column 0, one line graph with point
// markers per further column. Value axis 1 is the left axis, the secondary value axis 2
// the right one, which mirrors it.
class LapChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kValueAxis = 1;
    static constexpr int kSecondaryValueAxis = 2;
    static constexpr int kMajorDivisions = 10;

    explicit LapChart(QWidget* parent = nullptr);

    // Replaces every series and label. Empty cells are gaps in the line.
    void setChartData(const ChartTable& table);

    int seriesCount() const;
    QString seriesName(int series) const;
    int pointCount(int series) const;
    QStringList categoryLabels() const;
    // The labels the axis actually draws (a subset when there are too many to read).
    QStringList shownCategoryLabels() const;

    // Plotted value of one point; none for a gap or an index out of range.
    std::optional<double> pointValue(int series, int point) const;
    // Changes the plotted value only; whatever table was handed in stays as it was.
    bool setPointValue(int series, int point, double value);

    // Fixed limits stay in force for every later table until auto scaling is asked for.
    void setFixedValueRange(double minimum, double maximum, int divisions = kMajorDivisions);
    void setAutoValueRange();
    bool isValueRangeFixed() const { return fixedRange_; }
    double valueMinimum() const;
    double valueMaximum() const;

    QCustomPlot* plot() const { return plot_; }

  signals:
    // 1: value axis, 2: secondary value axis, 0: any other axis.
    void axisClicked(int axisId);
    void pointClicked(int series, int point);

  private:
    void onAxisClick(QCPAxis* axis);
    void onPlottableClick(QCPAbstractPlottable* plottable, int dataIndex);
    void rescaleValueAxis();
    void placeLegend(bool shown);
    void updateCategoryTicks();

    QCustomPlot* plot_;
    QStringList labels_;
    QStringList shownLabels_;
    bool fixedRange_ = false;
};

}  // namespace korimet
