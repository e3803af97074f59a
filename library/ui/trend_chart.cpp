#include "library/ui/trend_chart.h"

#include <QDateTime>
#include <QEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

#include "common/ui/ui_text.h"
#include "lapdata/lap_time.h"
#include "library/ui/library_texts.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

// A point this close to the pointer (pixels) is the one hovered.
constexpr double kHoverPixels = 8.0;

QString u8(const char* text) { return uiText(text); }

QDateTime dateTimeOf(const LocalTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

QString lapText(double seconds) { return QString::fromStdString(lapTimeOrPlaceholder(seconds)); }

// Labels as fine as the runs' span needs: hours within a day, dates beyond a year.
QString trendLabel(const LocalTime& t, const LocalTime& first, const LocalTime& last) {
    const QDateTime at = dateTimeOf(t);
    if (first.year == last.year && first.month == last.month && first.day == last.day)
        return at.toString(QStringLiteral("HH:mm"));
    if (first.year == last.year) return at.toString(QStringLiteral("MM-dd HH:mm"));
    return at.toString(QStringLiteral("yyyy-MM-dd"));
}

QString valueAxisLabel() { return u8(lt::kTrendBest) + " / " + u8(lt::kTrendAverage); }

}  // namespace

TrendChart::TrendChart(QWidget* parent) : QCustomPlot(parent) {
    setObjectName("trendChart");
    setMouseTracking(true);
    setMinimumHeight(200);
    setFocusPolicy(Qt::NoFocus);
    // The legend gets a row of its own above the plot, so it never covers a run's point.
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);  // moves it out of the inset
    plotLayout()->setRowStretchFactor(0, 0.001);
    xAxis->setTicker(QSharedPointer<QCPAxisTickerText>::create());
    yAxis->setLabel(valueAxisLabel());
}

void TrendChart::showRuns(const std::vector<LibraryEntry>& entries, std::optional<int> filterCar,
                          int currentEntry) {
    car_ = -1;
    if (filterCar) {
        car_ = *filterCar;
    } else if (currentEntry >= 0) {
        const auto& car = entries[static_cast<std::size_t>(currentEntry)].carId;
        if (car) car_ = *car;
    } else if (!entries.empty() && entries.back().carId) {
        car_ = *entries.back().carId;
    }

    runs_.clear();
    labels_.clear();
    selected_ = -1;
    std::vector<int> points;  // the entry of each run
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LibraryEntry& e = entries[i];
        if (!e.readable() || e.carId != car_ || e.statistics.counted == 0) continue;
        if (static_cast<int>(i) == currentEntry) selected_ = static_cast<int>(points.size());
        points.push_back(static_cast<int>(i));
        runs_.push_back({QString::fromStdString(e.path), e.downloaded, e.statistics.best,
                         e.statistics.average, e.confirmedBest, e.bestUnconfirmed()});
    }
    const std::optional<std::size_t> pbAt = personalBestEntry(entries, points);
    personalBest_ = pbAt ? static_cast<int>(*pbAt) : -1;
    if (!runs_.empty()) {
        const LocalTime& first = runs_.front().downloaded;
        const LocalTime& last = runs_.back().downloaded;
        for (const Run& run : runs_) labels_.push_back(trendLabel(run.downloaded, first, last));
    }
    draw();
}

void TrendChart::draw() {
    clearGraphs();
    clearItems();
    // The runs stand side by side in their order: a track day's runs minutes apart spread
    // across the plot as a decade's do, and the labels say when each was.
    QVector<double> order, bests, averages, unconfirmedOrder, unconfirmedBests;
    for (const Run& run : runs_) {
        order << static_cast<double>(order.size());
        bests << run.best;
        averages << run.average;
        if (run.unconfirmed) {
            unconfirmedOrder << order.back();
            unconfirmedBests << run.best;
        }
    }
    auto addLine = [this](const QString& name, const QColor& color, const QVector<double>& x,
                          const QVector<double>& y, QCPScatterStyle::ScatterShape shape,
                          double size) {
        QCPGraph* graph = addGraph();
        graph->setName(name);
        graph->setPen(QPen(color));
        graph->setScatterStyle(QCPScatterStyle(shape, color, size));
        graph->setData(x, y, true);
        return graph;
    };
    addLine(u8(lt::kTrendBest), Qt::blue, order, bests, QCPScatterStyle::ssDisc, 6);
    addLine(u8(lt::kTrendAverage), Qt::darkGray, order, averages, QCPScatterStyle::ssCircle, 6);
    QCPGraph* best =
        addLine(u8(lt::kTrendPersonalBest), Qt::red, {}, {}, QCPScatterStyle::ssStar, 14);
    best->setLineStyle(QCPGraph::lsNone);
    QCPGraph* chosen =
        addLine(u8(lt::kTrendSelected), QColor(0, 160, 0), {}, {}, QCPScatterStyle::ssSquare, 14);
    chosen->setLineStyle(QCPGraph::lsNone);
    if (!unconfirmedOrder.isEmpty()) {
        // Drawn over the best's disc, so the point reads as an open ring.
        QCPGraph* open = addLine(u8(lt::kTrendUnconfirmed), Qt::blue, unconfirmedOrder,
                                 unconfirmedBests, QCPScatterStyle::ssCircle, 9);
        open->setScatterStyle(
            QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::blue, 1.5), QBrush(Qt::white), 9));
        open->setLineStyle(QCPGraph::lsNone);
    }
    if (personalBest_ >= 0) {
        const Run& run = runs_[static_cast<std::size_t>(personalBest_)];
        // The best confirmed lap, which need not be the run's best as listed.
        const double time = *run.confirmedBest;
        best->addData(order[personalBest_], time);
        auto* text = new QCPItemText(this);  // owned by the plot
        text->setObjectName("personalBestLabel");
        text->position->setCoords(order[personalBest_], time);
        // Centred under its mark, but kept inside the plot when the best is at either end.
        const double place = (order[personalBest_] + 0.5) / std::max<double>(1.0, order.size());
        const Qt::Alignment across = place > 0.75   ? Qt::AlignRight
                                     : place < 0.25 ? Qt::AlignLeft
                                                    : Qt::AlignHCenter;
        text->setPositionAlignment(across | Qt::AlignTop);
        text->setPadding(QMargins(2, 10, 2, 0));
        text->setColor(Qt::red);
        text->setText(u8(lt::kTrendBestLabel)
                          .arg(lapText(time),
                               dateTimeOf(run.downloaded).toString(QStringLiteral("yyyy-MM-dd"))));
        text->setClipToAxisRect(false);
    }
    if (selected_ >= 0) {
        chosen->addData(order[selected_], bests[selected_]);
        chosen->addData(order[selected_], averages[selected_]);
    }
    plotLayout()->setRowSpacing(0);
    QString caption = car_ >= 0 ? u8(lt::kTrendTitle).arg(car_) : QString();
    if (!runs_.empty() && labels_.front().size() == 5) {
        // Hours only on the axis: the day goes with the title.
        caption += QStringLiteral("  ") +
                   dateTimeOf(runs_.front().downloaded).toString(QStringLiteral("yyyy-MM-dd"));
    }
    xAxis->setLabel(caption);
    rescaleAxes();
    // Half a place beside the first and last run, and room below the best for its label.
    xAxis->setRange(-0.5, std::max(0.5, order.size() - 0.5));
    const QCPRange r = yAxis->range();
    const double extra = std::max(r.size() * 0.05, 0.5);
    yAxis->setRange(r.lower - std::max(extra, r.size() * 0.25), r.upper + extra);
    labelAxis();
}

// As many labels as fit side by side at the plot's width; a label equal to the one before
// it is left out, so a day's runs in a decade are dated once.
void TrendChart::labelAxis() {
    auto ticker = xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    if (!ticker) return;
    ticker->clear();
    replot();  // lays the plot out, so its width is known
    if (!labels_.empty()) {
        const QFontMetrics metrics(xAxis->tickLabelFont());
        int widest = 0;
        for (const QString& label : labels_)
            widest = std::max(widest, metrics.horizontalAdvance(label));
        const double perRun = axisRect()->width() / std::max(1.0, xAxis->range().size());
        const int step =
            std::max(1, static_cast<int>(std::ceil((widest + metrics.height()) / perRun)));
        QString previous;
        for (std::size_t i = 0; i < labels_.size(); i += static_cast<std::size_t>(step)) {
            if (labels_[i] == previous) continue;
            previous = labels_[i];
            ticker->addTick(static_cast<double>(i), labels_[i]);
        }
    }
    xAxis->setSubTicks(false);
    replot();  // lays it out again with the labels under the axis
    // Room under the personal best for its label, which is in pixels while the axis is in
    // seconds: known only now that the plot is laid out.
    for (int i = 0; i < itemCount(); ++i) {
        auto* label = qobject_cast<QCPItemText*>(item(i));
        if (!label || label->objectName() != QLatin1String("personalBestLabel")) continue;
        const double height = axisRect()->height();
        const double need =
            label->bottomRight->pixelPosition().y() - label->topLeft->pixelPosition().y() + 4;
        if (height <= need * 1.5) break;
        const QCPRange r = yAxis->range();
        const double share = need / height;
        const double lower = (label->position->coords().y() - share * r.upper) / (1 - share);
        if (lower < r.lower) yAxis->setRange(lower, r.upper);
    }
    replot();
}

// Names the run under the pointer, on the best or the average line.
void TrendChart::showTip(const QPoint& position) {
    QString tip;
    double nearest = kHoverPixels;
    for (int g = 0; g < 2 && g < graphCount(); ++g) {
        const QCPGraph* line = graph(g);
        int index = 0;
        for (auto it = line->data()->constBegin(); it != line->data()->constEnd(); ++it, ++index) {
            const QPointF at(xAxis->coordToPixel(it->key), yAxis->coordToPixel(it->value));
            const double distance = std::hypot(at.x() - position.x(), at.y() - position.y());
            if (distance > nearest || index >= static_cast<int>(runs_.size())) continue;
            nearest = distance;
            const Run& run = runs_[static_cast<std::size_t>(index)];
            tip =
                u8(lt::kTrendTip)
                    .arg(run.path,
                         QString::fromStdString(dateTimeText(run.downloaded, DateTimeForm::Shown)),
                         lapText(run.best), lapText(run.average));
            if (run.unconfirmed) tip += QStringLiteral("\n") + u8(lt::kTrendUnconfirmed);
        }
    }
    setToolTip(tip);
}

void TrendChart::mouseMoveEvent(QMouseEvent* event) {
    showTip(event->position().toPoint());
    QCustomPlot::mouseMoveEvent(event);
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QCustomPlot::resizeEvent(event);
    // After the plot has taken its new size.
    QMetaObject::invokeMethod(this, &TrendChart::labelAxis, Qt::QueuedConnection);
}

void TrendChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        yAxis->setLabel(valueAxisLabel());
        draw();
    }
    QCustomPlot::changeEvent(event);
}

}  // namespace korimet
