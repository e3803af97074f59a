#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "lapdata/lap_data.h"

namespace korimet {

// Where the shown run came from.
enum class RunOrigin { Template, Timer, File, Library };

// One replacement of the shown run, as announced to whoever listens.
struct RunChange {
    RunOrigin origin = RunOrigin::Template;
    QString fileName;  // the file it was read from; empty for a download or the template
};

// The seam between the main window and everything beside it: owns the shown run, the
// comparison run and the file name File > Save writes to, and announces each replacement.
// The window's own commands change runs only through it; additions (the run library, the
// sheet) listen to it and open or compare runs through its doors, so they need nothing
// else of the window.
class RunSession : public QObject {
    Q_OBJECT
  public:
    using OpenDoor = std::function<bool(const QString& path, RunOrigin origin)>;
    using CompareDoor = std::function<bool(const QString& path)>;

    explicit RunSession(QObject* parent = nullptr);

    const LapData& currentData() const { return currentData_; }
    const LapData& comparisonData() const { return comparisonData_; }
    const QString& currentFileName() const { return currentFileName_; }
    const QString& comparisonFileName() const { return comparisonFileName_; }
    RunOrigin origin() const { return origin_; }
    // The file the shown run was read from, kept even when File > Save would ask for a name
    // (a run opened from the library is saved back to its own file like any other).
    const QString& sourceFileName() const { return sourceFileName_; }
    bool hasComparison() const { return hasComparison_; }

    // Replaces the shown run; the comparison belongs to the previous run and is dropped.
    void replaceRun(const LapData& data, RunOrigin origin, const QString& fileName);
    void replaceComparison(const LapData& data, const QString& fileName);
    // File > Save As keeps the new name only once the file holds the run.
    void setCurrentFileName(const QString& fileName);

    // Opens a run file exactly as File > Open does (message on failure, nothing changed).
    bool openRunFile(const QString& path, RunOrigin origin = RunOrigin::File);
    // Loads a second run exactly as the data comparison does after its file dialog.
    bool compareWithFile(const QString& path);
    // The memo as the window shows it now (the user may have edited it since the run came).
    QString memoText() const { return memo_ ? memo_() : QString(); }
    // The window installs what opening and comparing do to its controls.
    void installDoors(OpenDoor open, CompareDoor compare, std::function<QString()> memo);

  signals:
    void runReplaced(const korimet::RunChange& change);
    void comparisonReplaced(const QString& fileName);

  private:
    LapData currentData_;
    LapData comparisonData_;
    QString currentFileName_;
    QString comparisonFileName_;
    QString sourceFileName_;
    RunOrigin origin_ = RunOrigin::Template;
    bool hasComparison_ = false;
    OpenDoor open_;
    CompareDoor compare_;
    std::function<QString()> memo_;
};

}  // namespace korimet
