#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "library/run_library.h"
#include "library/store/run_store.h"
#include "session/addition.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;

namespace korimet {

class LibraryMemoBox;
class LibrarySortProxy;
class LibraryTableModel;
class TrendChart;

// The run library's own window, beside the main window and never modal: every kept run
// with its statistics, a trend chart for one car, and the doors to open, compare and
// delete runs. It is a view of the run store: the store reads and writes the files on its
// own thread, and the window follows what the store says changed.
class LibraryWindow : public QWidget {
    Q_OBJECT
  public:
    // A window of its own, owned by `addition.window`.
    explicit LibraryWindow(const Addition& addition);
    ~LibraryWindow() override;

    // Reads the library folder again (the setting included); a read under way is dropped.
    void refresh();

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
    // Waiting for any of the store's answers: the listing, a memo, a deletion.
    bool busy() const;

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
    void showRowStatus(const LibraryEntry* entry);
    void listingRead();
    void runsChanged(const StoreChanges& changes);
    void runsTrashed(const StoreTrashed& result);
    void tableChanged();  // count, car filter and trend follow the table
    void fillCarFilter();
    void applyCarFilter();
    void showCount();
    void drawTrend();
    std::vector<int> selectedEntries() const;  // table rows, in view order
    QString fullPath(const LibraryEntry& entry) const;
    std::string relativePath(const QString& fullPath) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    Addition addition_;
    QString folder_;
    std::optional<FileError> listingError_;  // the folder could not be listed
    std::function<QString()> statusText_;    // what the status line says
    QVariant wantedCar_;                     // the remembered car filter, until its car is listed
    bool listedAgain_ = false;
    std::uint64_t trashJob_ = 0;
    int rowAfterTrash_ = 0;  // where the racer goes on after deleting

    RunStore& store_;
    QLabel* folderLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QComboBox* carFilter_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableView* table_ = nullptr;
    LibraryTableModel* model_ = nullptr;
    LibrarySortProxy* proxy_ = nullptr;
    QSplitter* split_ = nullptr;
    LibraryMemoBox* memo_ = nullptr;
    TrendChart* trend_ = nullptr;
    QLabel* statusLine_ = nullptr;
};

}  // namespace korimet
