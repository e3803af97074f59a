#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <vector>

#include "library/run_library.h"
#include "library/store/run_store.h"

namespace korimet {

// The listed runs as a table, each cell made when the view asks for it: a library of ten
// thousand runs costs no more to show than the rows on screen.
// A file's problem in the window's language now, as every window message says it.
QString libraryMessage(const FileError& error);
// Why a listed file could not be read, as the window shows it whole.
QString unreadableReason(const LibraryEntry& entry);
// How many corrections the run is listed with, or why its correction file was not used.
QString correctionNote(const LibraryEntry& entry);

class LibraryTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        kDownloaded,
        kCar,
        kLaps,
        kBest,
        kAverage,
        kWorst,
        kMedian,
        kSpread,
        kConsistency,
        kTarget,
        kMemo,
        kSuspect,
        kBestThree,
        kPaceTrend,
        kColumnCount
    };
    // Where the columns after the memo are shown: the visual place each goes before.
    struct AddedColumn {
        Column column;
        Column before;
    };
    static constexpr AddedColumn kAddedColumns[] = {
        {kSuspect, kBest}, {kBestThree, kTarget}, {kPaceTrend, kTarget}};
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kCarRole = Qt::UserRole + 1;  // the car as text, for the filter

    explicit LibraryTableModel(QObject* parent = nullptr);

    const std::vector<LibraryEntry>& entries() const { return entries_; }
    void setEntries(std::vector<LibraryEntry> entries);
    // One more run, in its place oldest first.
    void addEntry(LibraryEntry entry);
    // The same file read again (its memo saved, say); its place stays.
    void replaceEntry(int row, LibraryEntry entry);
    void removeEntry(const std::string& path);
    // What the store found changed: rows read again, added and gone.
    void applyChanges(const StoreChanges& changes);
    // Headings and texts shown again in the window's language now.
    void retranslate();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant display(const LibraryEntry& entry, int column) const;
    QVariant sortKey(const LibraryEntry& entry, int column) const;

    std::vector<LibraryEntry> entries_;
};

// Sorts by the model's sort keys; a blank key (a run without laps, an unreadable file) goes
// last whichever way the column is sorted, so the real bests stay at the top.
class LibrarySortProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

}  // namespace korimet
