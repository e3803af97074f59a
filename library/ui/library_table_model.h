#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "library/run_library.h"

namespace korimet {

// The listed runs as a table, each cell made when the view asks for it: a library of ten
// thousand runs costs no more to show than the rows on screen.
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
        kColumnCount
    };
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kCarRole = Qt::UserRole + 1;  // the car as text, for the filter

    explicit LibraryTableModel(QObject* parent = nullptr);

    const std::vector<LibraryEntry>& entries() const { return entries_; }
    void setEntries(std::vector<LibraryEntry> entries);
    // One more run, in its place oldest first.
    void addEntry(LibraryEntry entry);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant display(const LibraryEntry& entry, int column) const;
    QVariant sortKey(const LibraryEntry& entry, int column) const;

    std::vector<LibraryEntry> entries_;
};

}  // namespace korimet
