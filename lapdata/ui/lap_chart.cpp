#include "lapdata/ui/lap_chart.h"

#include <qcustomplot.h>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace korimet {

namespace {

const QColor kSeriesColors[] = {QColor(0, 0, 200), QColor(200, 0, 0), QColor(0, 140, 0),
                                QColor(160, 0, 160)};

QString seriesNameFor(int index) { return QStringLiteral("Car%1").arg(index + 1); }

void styleGraph(QCPGraph* graph, int index) {
    const QColor color = kSeriesColors[index % std::size(kSeriesColors)];
    graph->setName(seriesNameFor(index));
    graph->setPen(QPen(color, 1.5));
    graph->setLineStyle(QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, color, Qt::white, 5));
}

}  // namespace

LapChart::LapChart(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);  // owned by this widget
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);

    QFont tickFont = plot_->xAxis->tickLabelFont();
    tickFont.setPointSizeF(7.5);
    plot_->xAxis->setTickLabelFont(tickFont);
    plot_->yAxis->setTickLabelFont(tickFont);
    plot_->yAxis2->setTickLabelFont(tickFont);
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
    plot_->xAxis->grid()->setVisible(false);
    plot_->xAxis->setRange(-0.5, 0.5);
    plot_->yAxis2->setVisible(true);
    plot_->yAxis2->setTicker(plot_->yAxis->ticker());
    plot_->yAxis2->setTickLabels(true);
    connect(plot_->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), plot_->yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    plot_->legend->setFont(tickFont);
    plot_->legend->setVisible(false);
    plot_->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot_->legend->setBorderPen(Qt::NoPen);
    plot_->legend->setBrush(Qt::NoBrush);

    styleGraph(plot_->addGraph(), 0);

    connect(plot_, &QCustomPlot::axisClick, this,
            [this](QCPAxis* axis, QCPAxis::SelectablePart, QMouseEvent*) { onAxisClick(axis); });
    connect(plot_, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int dataIndex, QMouseEvent*) {
                onPlottableClick(plottable, dataIndex);
            });
}

void LapChart::setChartData(const ChartTable& table) {
    std::size_t series = 1;
    for (const ChartRow& row : table) series = std::max(series, row.values.size());

    plot_->clearGraphs();
    labels_.clear();
    for (const ChartRow& row : table) labels_.append(QString::fromStdString(row.label));
    for (std::size_t s = 0; s < series; ++s) {
        QCPGraph* graph = plot_->addGraph();
        styleGraph(graph, static_cast<int>(s));
        QVector<double> keys;
        QVector<double> values;
        for (std::size_t r = 0; r < table.size(); ++r) {
            const auto& cells = table[r].values;
            keys.append(static_cast<double>(r));
            // A NaN is a gap in the line.
            values.append(s < cells.size() && cells[s] ? *cells[s]
                                                       : std::numeric_limits<double>::quiet_NaN());
        }
        graph->setData(keys, values, true);
    }
    placeLegend(series > 1);
    plot_->xAxis->setRange(-0.5, std::max<double>(0.5, static_cast<double>(table.size()) - 0.5));
    updateCategoryTicks();
    if (!fixedRange_) rescaleValueAxis();
    plot_->replot();
}

void LapChart::placeLegend(bool shown) {
    // Inside the plot area the legend covers points of the second run wherever it sits, so
    // with two runs it gets a row of its own above the plot, centred between two fillers.
    // Alone, it goes back (hidden) into the plot's inset layout, which owns it and takes no
    // room.
    QCPLayoutGrid* layout = plot_->plotLayout();
    QCPLegend* legend = plot_->legend;
    const bool onTop = layout->rowCount() > 1;
    if (shown && !onTop) {
        plot_->axisRect()->insetLayout()->take(legend);
        layout->insertRow(0);
        auto* row = new QCPLayoutGrid;  // owned by the plot layout
        layout->addElement(0, 0, row);
        layout->setRowStretchFactor(0, 0.001);
        row->addElement(0, 0, new QCPLayoutElement(plot_));  // owned by the row
        row->addElement(0, 1, legend);
        row->addElement(0, 2, new QCPLayoutElement(plot_));  // owned by the row
        row->setColumnStretchFactor(1, 0.001);
    } else if (!shown && onTop) {
        if (auto* row = qobject_cast<QCPLayoutGrid*>(layout->element(0, 0))) row->take(legend);
        layout->remove(layout->element(0, 0));
        layout->simplify();
        plot_->axisRect()->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    }
    legend->setVisible(shown);
}

void LapChart::updateCategoryTicks() {
    const int n = static_cast<int>(labels_.size());
    const QFontMetrics metrics(plot_->xAxis->tickLabelFont());
    const int axisPixels = std::max(100, plot_->width() - 90);
    // Side by side while they fit, else upright; when even that is too tight, every k-th
    // label, keeping the best and worst laps, which are what the eye looks for.
    int widest = 0;
    for (const QString& label : labels_)
        widest = std::max(widest, metrics.horizontalAdvance(label));
    const bool upright = n * (widest + 6) > axisPixels;
    const int slot = upright ? metrics.height() + 2 : widest + 6;
    const int fit = std::max(1, axisPixels / std::max(1, slot));
    const int stride = (n + fit - 1) / fit;

    std::vector<bool> show(static_cast<std::size_t>(n), false);
    for (int i = 0; i < n; ++i) {
        if (labels_[i] == QLatin1String(kBestRowLabel) ||
            labels_[i] == QLatin1String(kWorstRowLabel)) {
            show[static_cast<std::size_t>(i)] = true;
        }
    }
    for (int i = 0; i < n; i += std::max(1, stride)) {
        bool crowded = false;
        for (int j = std::max(0, i - stride + 1); j < std::min(n, i + stride); ++j) {
            if (show[static_cast<std::size_t>(j)]) crowded = true;
        }
        if (!crowded) show[static_cast<std::size_t>(i)] = true;
    }

    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    shownLabels_.clear();
    for (int i = 0; i < n; ++i) {
        if (!show[static_cast<std::size_t>(i)]) continue;
        ticker->addTick(i, labels_[i]);
        shownLabels_.append(labels_[i]);
    }
    plot_->xAxis->setTicker(ticker);
    plot_->xAxis->setTickLabelRotation(upright ? -90 : 0);
}

void LapChart::rescaleValueAxis() {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int g = 0; g < plot_->graphCount(); ++g) {
        for (const QCPGraphData& point : *plot_->graph(g)->data()) {
            if (!std::isfinite(point.value)) continue;
            low = std::min(low, point.value);
            high = std::max(high, point.value);
        }
    }
    if (!std::isfinite(low)) return;
    // Close around the laps, so that tenths of a second show as a visible step.
    const double pad = high > low ? (high - low) * 0.1 : 0.5;
    plot_->yAxis->setRange(low - pad, high + pad);
}

int LapChart::seriesCount() const { return plot_->graphCount(); }

QString LapChart::seriesName(int series) const {
    if (series < 0 || series >= plot_->graphCount()) return {};
    return plot_->graph(series)->name();
}

int LapChart::pointCount(int series) const {
    if (series < 0 || series >= plot_->graphCount()) return 0;
    return plot_->graph(series)->dataCount();
}

QStringList LapChart::categoryLabels() const { return labels_; }
QStringList LapChart::shownCategoryLabels() const { return shownLabels_; }

std::optional<double> LapChart::pointValue(int series, int point) const {
    if (point < 0 || point >= pointCount(series)) return std::nullopt;
    const double value = (plot_->graph(series)->data()->constBegin() + point)->value;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool LapChart::setPointValue(int series, int point, double value) {
    if (point < 0 || point >= pointCount(series) || !std::isfinite(value)) return false;
    (plot_->graph(series)->data()->begin() + point)->value = value;
    if (!fixedRange_) rescaleValueAxis();
    plot_->replot();
    return true;
}

void LapChart::setFixedValueRange(double minimum, double maximum, int divisions) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || divisions < 1) return;
    fixedRange_ = true;
    plot_->yAxis->setRange(minimum, maximum);
    // Exactly `divisions` steps from the minimum up, not what the automatic ticker prefers.
    const double span = std::fabs(maximum - minimum);
    if (span > 0) {
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(span / divisions);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
        ticker->setTickOrigin(std::min(minimum, maximum));
        plot_->yAxis->setTicker(ticker);
        plot_->yAxis2->setTicker(ticker);
    }
    plot_->replot();
}

void LapChart::setAutoValueRange() {
    fixedRange_ = false;
    auto ticker = QSharedPointer<QCPAxisTicker>::create();
    plot_->yAxis->setTicker(ticker);
    plot_->yAxis2->setTicker(ticker);
    rescaleValueAxis();
    plot_->replot();
}

double LapChart::valueMinimum() const { return plot_->yAxis->range().lower; }
double LapChart::valueMaximum() const { return plot_->yAxis->range().upper; }

void LapChart::onAxisClick(QCPAxis* axis) {
    int id = 0;
    if (axis == plot_->yAxis) id = kValueAxis;
    if (axis == plot_->yAxis2) id = kSecondaryValueAxis;
    emit axisClicked(id);
}

void LapChart::onPlottableClick(QCPAbstractPlottable* plottable, int dataIndex) {
    for (int g = 0; g < plot_->graphCount(); ++g) {
        if (plot_->graph(g) == plottable) {
            emit pointClicked(g, dataIndex);
            return;
        }
    }
}

}  // namespace korimet
