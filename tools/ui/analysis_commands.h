#pragma once

#include <QObject>
#include <QString>

namespace korimet {

class Dialogs;
class LapPanel;
class RunSession;

// The race simulation, the comparison with a second run and the chart's edit dialogs.
// They read the session's run and write to the lap panel they are handed: its race line,
// its chart and its difference labels.
class AnalysisCommands : public QObject {
    Q_OBJECT
  public:
    AnalysisCommands(RunSession& session, Dialogs& dialogs, LapPanel& lapPanel,
                     QObject* parent = nullptr);

    void simulateRace();
    // Refuses without a run, else asks for the file to compare with.
    void compareData();
    // Loads a second run exactly as the comparison does after its file dialog: the library
    // comes in here. False when nothing was compared.
    bool compareWithFile(const QString& path);

    void editAxisScale(int axis);
    void editChartPoint(int series, int point);

  private:
    void loadComparisonFile();

    RunSession& session_;
    Dialogs& dialogs_;
    LapPanel& lapPanel_;
};

}  // namespace korimet
