#pragma once

#include <qcustomplot.h>
#include <QString>
#include <optional>
#include <vector>

#include "library/run_library.h"

namespace korimet {

// The library window's trend of one car's runs: best and average lap per run, the personal
// best marked, the current run shown, the run under the pointer named. It keeps what it
// draws, so that a language change or a hover needs nothing more from the window.
class TrendChart : public QCustomPlot {
    Q_OBJECT
  public:
    explicit TrendChart(QWidget* parent);

    // Draws the runs of the filter's car, else of the current entry's car, else of the newest
    // run's. `currentEntry` indexes `entries`, which are oldest first; -1 for none.
    void showRuns(const std::vector<LibraryEntry>& entries, std::optional<int> filterCar,
                  int currentEntry);
    // The car drawn, or -1 for none.
    int car() const { return car_; }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // What a point shows of its run, held apart from the listing that may change under it.
    struct Run {
        QString path;
        LocalTime downloaded;
        double best = 0;
        double average = 0;
        std::optional<double> confirmedBest;
        bool unconfirmed = false;
    };
    void draw();
    void labelAxis();
    void showTip(const QPoint& position);

    int car_ = -1;
    std::vector<Run> runs_;        // one for each point of the best and average lines
    std::vector<QString> labels_;  // a time axis label for each point
    int selected_ = -1;            // the current entry's point
    int personalBest_ = -1;        // the point holding the personal best
};

}  // namespace korimet
