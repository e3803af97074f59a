#include "library/ui/library_table_model.h"

#include <QBrush>
#include <QString>
#include <algorithm>

#include "common/ui/window_messages.h"
#include "lapdata/lap_time.h"
#include "library/ui/library_texts.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

QString u8(const char* text) { return QString::fromUtf8(text); }

QString lapText(double seconds) { return QString::fromStdString(lapTimeOrPlaceholder(seconds)); }

QString dateTimeText(const LocalTime& t) {
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                             t.minute, t.second);
}

qlonglong timeKey(const LocalTime& t) {
    return ((((t.year * 100LL + t.month) * 100 + t.day) * 100 + t.hour) * 100 + t.minute) * 100 +
           t.second;
}

QString firstLine(const std::string& memo) {
    const std::string line = memo.substr(0, memo.find_first_of("\r\n"));
    return QString::fromStdString(line);
}

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

}  // namespace

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

int LibraryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int LibraryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[kColumnCount] = {
        lt::kColumnDownloaded,  lt::kColumnCar,    lt::kColumnLaps,   lt::kColumnBest,
        lt::kColumnAverage,     lt::kColumnWorst,  lt::kColumnMedian, lt::kColumnSpread,
        lt::kColumnConsistency, lt::kColumnTarget, lt::kColumnMemo};
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
            if (column == kMemo && !e.readable()) return windowMessage(e.error);
            return {};
        case Qt::ForegroundRole:
            if (column == kMemo && !e.readable()) return QBrush(Qt::red);
            return {};
        default:
            return {};
    }
}

QVariant LibraryTableModel::display(const LibraryEntry& e, int column) const {
    if (column == kDownloaded) return dateTimeText(e.downloaded);
    if (column == kCar) return e.carId ? QString::number(*e.carId) : QString();
    if (!e.readable()) {
        return column == kMemo ? u8(lt::kUnreadable) + windowMessage(e.error) : QVariant();
    }
    const RunStatistics& s = e.statistics;
    const LapData& d = e.content->data;
    switch (column) {
        case kLaps:
            return QString::number(s.counted);
        case kBest:
            return lapText(s.best);
        case kAverage:
            return lapText(s.average);
        case kWorst:
            return lapText(s.worst);
        case kMedian:
            return s.median ? lapText(*s.median) : QString();
        case kSpread:
            return s.spread ? QString::number(*s.spread, 'f', 2) : QString();
        case kConsistency:
            return s.consistency ? QString::number(*s.consistency, 'f', 2) : QString();
        case kTarget:
            return d.targetTime >= kNoTargetTime ? u8(lt::kNoTarget) : lapText(d.targetTime);
        case kMemo:
            return firstLine(e.content->memo);
        default:
            return {};
    }
}

QVariant LibraryTableModel::sortKey(const LibraryEntry& e, int column) const {
    if (column == kDownloaded) return timeKey(e.downloaded);
    if (column == kCar) return e.carId ? *e.carId : -1;
    if (!e.readable()) return column == kMemo ? display(e, column) : QVariant();
    const RunStatistics& s = e.statistics;
    switch (column) {
        case kLaps:
            return s.counted;
        case kBest:
            return s.best;
        case kAverage:
            return s.average;
        case kWorst:
            return s.worst;
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
        default:
            return {};
    }
}

}  // namespace korimet
