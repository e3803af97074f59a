#include "library/ui/library_table_model.h"

#include <QBrush>
#include <QString>
#include <algorithm>

#include "common/ui/ui_text.h"
#include "lapdata/lap_time.h"
#include "library/ui/library_texts.h"
#include "messages/ui/window_messages.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

QString u8(const char* text) { return uiText(text); }

QString lapText(double seconds) { return QString::fromStdString(lapTimeOrPlaceholder(seconds)); }

QString firstLine(const std::string& memo) {
    const std::string line = memo.substr(0, memo.find_first_of("\r\n"));
    return QString::fromStdString(line);
}

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

}  // namespace

// What the corrections beside a run did, or why they could not be used.
QString correctionNote(const LibraryEntry& entry) {
    if (entry.correctionError) return windowMessage(entry.correctionError);
    return entry.correctionSteps > 0 ? u8(lt::kCorrectedSteps).arg(entry.correctionSteps)
                                     : QString();
}

QString libraryMessage(const FileError& error) { return windowMessage(error); }

QString unreadableReason(const LibraryEntry& entry) {
    return entry.readable() ? QString() : libraryMessage(entry.error);
}

LibraryTableModel::LibraryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void LibraryTableModel::setEntries(std::vector<LibraryEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void LibraryTableModel::addEntry(LibraryEntry entry) {
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), entry, listedBefore);
    const int row = static_cast<int>(at - entries_.begin());
    beginInsertRows({}, row, row);
    entries_.insert(at, std::move(entry));
    endInsertRows();
}

void LibraryTableModel::replaceEntry(int row, LibraryEntry entry) {
    if (row < 0 || row >= rowCount()) return;
    entries_[static_cast<std::size_t>(row)] = std::move(entry);
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void LibraryTableModel::removeEntry(const std::string& path) {
    const auto at = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const LibraryEntry& e) { return e.path == path; });
    if (at == entries_.end()) return;
    const int row = static_cast<int>(at - entries_.begin());
    beginRemoveRows({}, row, row);
    entries_.erase(at);
    endRemoveRows();
}

// Row by row, so that the view keeps its selection and its place.
void LibraryTableModel::applyChanges(const StoreChanges& changes) {
    for (const std::string& path : changes.removed) removeEntry(path);
    for (const LibraryEntry& changed : changes.changed) {
        const auto at = std::find_if(entries_.begin(), entries_.end(),
                                     [&](const LibraryEntry& e) { return e.path == changed.path; });
        if (at != entries_.end()) {
            const bool inPlace = (at == entries_.begin() || !listedBefore(changed, *(at - 1))) &&
                                 (at + 1 == entries_.end() || !listedBefore(*(at + 1), changed));
            if (inPlace) {
                replaceEntry(static_cast<int>(at - entries_.begin()), changed);
                continue;
            }
            removeEntry(changed.path);
        }
        addEntry(changed);
    }
}

void LibraryTableModel::retranslate() {
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

int LibraryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int LibraryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[kColumnCount] = {
        lt::kColumnDownloaded,  lt::kColumnCar,      lt::kColumnLaps,   lt::kColumnBest,
        lt::kColumnAverage,     lt::kColumnWorst,    lt::kColumnMedian, lt::kColumnSpread,
        lt::kColumnConsistency, lt::kColumnTarget,   lt::kColumnMemo,   lt::kColumnSuspect,
        lt::kColumnBestThree,   lt::kColumnPaceTrend};
    return section >= 0 && section < kColumnCount ? u8(titles[section]) : QVariant();
}

QVariant LibraryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const LibraryEntry& e = entries_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return display(e, column);
        case kSortRole:
            return sortKey(e, column);
        case kCarRole:
            return e.carId ? QString::number(*e.carId) : QString();
        case Qt::ToolTipRole:
            if (column == kDownloaded) return QString::fromStdString(e.path);
            if (!e.readable()) return u8(lt::kUnreadable) + unreadableReason(e);
            if (column == kSuspect) return correctionNote(e);
            return {};
        case Qt::ForegroundRole:
            if (column == kMemo && !e.readable()) return QBrush(Qt::red);
            if (column == kSuspect && e.correctionError) return QBrush(Qt::red);
            return {};
        default:
            return {};
    }
}

QVariant LibraryTableModel::display(const LibraryEntry& e, int column) const {
    if (column == kDownloaded)
        return QString::fromStdString(dateTimeText(e.downloaded, DateTimeForm::Shown));
    if (column == kCar) return e.carId ? QString::number(*e.carId) : QString();
    if (!e.readable()) {
        return column == kMemo ? u8(lt::kUnreadable) + unreadableReason(e) : QVariant();
    }
    const RunStatistics& s = e.statistics;
    const LapData& d = e.content->data;
    // Without a lap there is no best to show, only the placeholder of a time.
    const bool noLaps = s.counted == 0;
    switch (column) {
        case kLaps:
            return QString::number(s.counted);
        case kBest:
            return noLaps ? QString() : lapText(s.best);
        case kAverage:
            return noLaps ? QString() : lapText(s.average);
        case kWorst:
            return noLaps ? QString() : lapText(s.worst);
        case kMedian:
            return s.median && !noLaps ? lapText(*s.median) : QString();
        case kSpread:
            return s.spread ? QString::number(*s.spread, 'f', 2) : QString();
        case kConsistency:
            return s.consistency ? QString::number(*s.consistency, 'f', 2) : QString();
        case kTarget:
            return d.targetTime >= kNoTargetTime ? u8(lt::kNoTarget) : lapText(d.targetTime);
        case kMemo:
            return firstLine(e.content->memo);
        case kSuspect:
            return e.suspectLaps;
        case kBestThree:
            return e.pace.bestThree ? u8(lt::kBestThreeLaps)
                                          .arg(lapText(e.pace.bestThree->total))
                                          .arg(e.pace.bestThree->start + 1)
                                          .arg(e.pace.bestThree->start + 3)
                                    : QString();
        case kPaceTrend:
            return e.pace.trend ? QString::asprintf("%+.2f", *e.pace.trend) : QString();
        default:
            return {};
    }
}

QVariant LibraryTableModel::sortKey(const LibraryEntry& e, int column) const {
    // The entries are kept oldest first, so their place is the download order, numbered
    // downloads in one second included.
    if (column == kDownloaded) return static_cast<qlonglong>(&e - entries_.data());
    if (column == kCar) return e.carId ? *e.carId : QVariant();
    if (!e.readable()) return column == kMemo ? display(e, column) : QVariant();
    const RunStatistics& s = e.statistics;
    const bool noLaps = s.counted == 0;
    switch (column) {
        case kLaps:
            return s.counted;
        case kBest:
            return noLaps ? QVariant() : s.best;
        case kAverage:
            return noLaps ? QVariant() : s.average;
        case kWorst:
            return noLaps ? QVariant() : s.worst;
        case kMedian:
            return optional(s.median);
        case kSpread:
            return optional(s.spread);
        case kConsistency:
            return optional(s.consistency);
        case kTarget:
            return e.content->data.targetTime;
        case kMemo:
            return firstLine(e.content->memo);
        case kSuspect:
            return e.suspectLaps;
        case kBestThree:
            return e.pace.bestThree ? QVariant(e.pace.bestThree->total) : QVariant();
        case kPaceTrend:
            return optional(e.pace.trend);
        default:
            return {};
    }
}

bool LibrarySortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    const bool blankA = !a.isValid();
    const bool blankB = !b.isValid();
    if (blankA || blankB) {
        if (blankA == blankB) return false;
        // Descending sorts by the reverse of this answer: a blank is "less" there.
        return sortOrder() == Qt::AscendingOrder ? blankB : blankA;
    }
    return QSortFilterProxyModel::lessThan(left, right);
}

}  // namespace korimet
