#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "library/run_library.h"
#include "library/ui/folder_reader.h"
#include "session/addition.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;

namespace korimet {

class LibrarySortProxy;
class LibraryTableModel;
class TrendChart;

// The run library's own window, beside the main window and never modal: every kept run
// with its statistics, a trend chart for one car, and the doors to open, compare and
// delete runs. The folder is read on a thread the window never waits for.
class LibraryWindow : public QWidget {
    Q_OBJECT
  public:
    // A window of its own, owned by `addition.window`.
    explicit LibraryWindow(const Addition& addition);
    ~LibraryWindow() override;

    // Reads the library folder again (the setting included); a read under way is dropped.
    void refresh();
    // A run the keeper has just written; added without reading the whole folder again.
    void addKeptRun(const QString& fullPath);

    bool reading() const;
    const QString& folder() const { return folder_; }
    // The car the trend chart shows, or -1 for none.
    int trendCar() const;
    // Opens the selected run, or with two selected compares the second against the first.
    void openSelection();
    // Moves the selected runs to the trash after asking.
    void deleteSelection();
    // Writes the memo box into the selected run's file.
    void saveMemo();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showTexts();
    void showFolder();
    // The status line, made again in the window's language when it changes.
    void showStatus(std::function<QString()> text);
    void placeAddedColumns();
    void restoreSettings();
    void saveSettings() const;
    void keepOnScreen();
    void currentChanged();  // memo box, status line and trend follow the current row
    // The memo box: the run's own memo, or the main window's when that window shows the run and
    // its memo is the run's (then both boxes are one memo, typed in either).
    void showMemo(const LibraryEntry* entry, int row);
    void relinkMemo();
    void followSessionMemo(const QString& memo);
    bool memoUnsaved() const;
    bool shownInMainWindow(const QString& fullPath) const;
    void askToSaveMemo();
    bool writeMemo(const QString& fullPath, const QString& memo);
    void listingRead(LibraryListing listing);
    void tableChanged();  // count, car filter and trend follow the table
    void fillCarFilter();
    void applyCarFilter();
    void showCount();
    void drawTrend();
    std::vector<int> selectedEntries() const;  // table rows, in view order
    QString fullPath(const LibraryEntry& entry) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    Addition addition_;
    QString folder_;
    std::optional<FileError> listingError_;  // the folder could not be listed
    std::function<QString()> statusText_;    // what the status line says
    std::function<QString()> memoNoteText_;  // the note above the memo box
    QVariant wantedCar_;                     // the remembered car filter, until its car is listed
    int memoEntry_ = -1;                     // the entry the memo box shows
    QString memoPath_;                       // the file of the run whose memo the box holds
    QString memoInFile_;                     // that memo as the file holds it
    bool memoLinked_ = false;                // the box is the main window's memo of the same run

    FolderReader* reader_ = nullptr;
    // Runs kept while the folder was being read, added once the listing is in: the listing
    // may or may not have seen them.
    std::vector<std::string> keptWhileReading_;
    QLabel* folderLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QComboBox* carFilter_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableView* table_ = nullptr;
    LibraryTableModel* model_ = nullptr;
    LibrarySortProxy* proxy_ = nullptr;
    QSplitter* split_ = nullptr;
    TrendChart* trend_ = nullptr;
    QPlainTextEdit* memoEdit_ = nullptr;
    QPushButton* saveMemoButton_ = nullptr;
    QLabel* memoNote_ = nullptr;
    QLabel* statusLine_ = nullptr;
};

}  // namespace korimet
