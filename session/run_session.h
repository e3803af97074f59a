#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "corrections/run_view.h"
#include "lapdata/lap_data.h"

namespace korimet {

// Where the shown run came from.
enum class RunOrigin { Template, Timer, File, Library };

// One run coming into the window, with what the window says about it.
struct NewRun {
    LapData data;
    RunOrigin origin = RunOrigin::Template;
    QString fileName;                      // the file it was read from; empty for a download
    std::optional<QString> memo;           // none: the memo stays (a download has none)
    std::optional<QString> modelCaption;   // Label2; none: the previous caption stays
    std::optional<QString> sourceCaption;  // Label3; none: the previous caption stays
};

// One replacement of the shown run, as announced to whoever listens.
struct RunChange {
    RunOrigin origin = RunOrigin::Template;
    QString fileName;  // the file it was read from; empty for a download or the template
};

// The window's only shared state: the shown run, the comparison run, the memo, the file
// File > Save writes to, and what the window says about the run's source. Every part reads
// it here and changes it through its three ways in; each change is announced once the
// session holds it whole. It calls nobody back.
class RunSession : public QObject {
    Q_OBJECT
  public:
    explicit RunSession(QObject* parent = nullptr);

    const LapData& currentData() const { return currentData_; }
    const LapData& comparisonData() const { return comparisonRun_.data; }
    // The compared run as its correction file makes it.
    const RunView& comparisonRun() const { return comparisonRun_; }
    const QString& memo() const { return memo_; }
    const QString& currentFileName() const { return currentFileName_; }
    const QString& comparisonFileName() const { return comparisonFileName_; }
    RunOrigin origin() const { return origin_; }
    // The file the shown run was read from, kept even when File > Save would ask for a name
    // (a run opened from the library is saved back to its own file like any other).
    const QString& sourceFileName() const { return sourceFileName_; }
    bool hasComparison() const { return hasComparison_; }
    // The run library's copy of the shown download, once it is written; empty otherwise.
    // File > Save still asks for a name: the copy is the library's, not the window's file.
    const QString& keptFileName() const { return keptFileName_; }
    const QString& modelCaption() const { return modelCaption_; }
    const QString& sourceCaption() const { return sourceCaption_; }
    // The shown run as it came in, before any lap correction.
    const LapData& downloadedData() const { return downloadedData_; }
    // The shown run with its corrections, marks and numbers; a new run starts as it came in,
    // without marks, until its corrections are read.
    const RunView& runView() const { return runView_; }
    // One mark per shown lap, or none at all.
    const std::vector<LapMark>& lapMarks() const { return runView_.marks; }
    // Whether the memo is the shown run's own: read with it, or typed since it was downloaded.
    // A download leaves the memo box as it was, and what was there was typed for another run
    // (or is the box's first text), never for this one.
    bool memoIsTheRuns() const { return origin_ != RunOrigin::Timer || memo_ != memoAtArrival_; }
    // The memo that goes with the shown run wherever it is shown beside the window: the sheet,
    // the pit view. Empty for a download nobody has typed a memo for yet.
    QString runMemo() const { return memoIsTheRuns() ? memo_ : QString(); }

    // Replaces the shown run; the comparison belongs to the previous run and is dropped.
    void replaceRun(const NewRun& run);
    void replaceComparison(const RunView& run, const QString& fileName);
    // The memo as the user has it now.
    void setMemo(const QString& memo);
    // File > Save As keeps the new name only once the file holds the run.
    void setCurrentFileName(const QString& fileName);
    // The library kept `data` as `fileName`; taken only while that download is shown.
    void setKeptFile(const LapData& data, const QString& fileName);
    // The shown run's laps as corrected (or back as they came in): the run's origin, files,
    // captions and memo stay; the comparison was made against other laps and is dropped.
    void correctLaps(const LapData& data);
    // The shown run as its corrections make it, laps as correctLaps last gave them.
    void setRunView(RunView view);
    // File > Save or Save As wrote the shown run into `fileName`.
    void announceSaved(const QString& fileName) { emit runSaved(fileName); }
    // The window now speaks another language: what a part composed from the run is shown
    // again in it (fixed captions follow by themselves, see common/ui/ui_text.h).
    void announceLanguageChanged() { emit languageChanged(); }

  signals:
    void runReplaced(const korimet::RunChange& change);
    void comparisonReplaced(const QString& fileName);
    void memoChanged(const QString& memo);
    void lapsCorrected();
    void lapMarksChanged();
    void keptFileChanged(const QString& fileName);
    void runSaved(const QString& fileName);
    void languageChanged();

  private:
    LapData currentData_;
    LapData downloadedData_;
    RunView runView_;
    RunView comparisonRun_;
    QString memo_;
    QString memoAtArrival_;  // the memo when the shown download arrived
    QString currentFileName_;
    QString comparisonFileName_;
    QString sourceFileName_;
    QString keptFileName_;
    QString modelCaption_;
    QString sourceCaption_;
    RunOrigin origin_ = RunOrigin::Template;
    bool hasComparison_ = false;
};

}  // namespace korimet
