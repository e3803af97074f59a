#include "library/ui/library_window.h"

#include <unistd.h>

#include <qcustomplot.h>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "common/ui/window_messages.h"
#include "files/ui/file_commands.h"
#include "lapdata/lap_time.h"
#include "library/settings/library_folder.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/system_path.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

using Column = LibraryTableModel::Column;

// A point this close to the pointer (pixels) is the one hovered.
constexpr double kHoverPixels = 8.0;

QString u8(const char* text) { return QString::fromUtf8(text); }

// Qt's trash takes names as UTF-8 text. A name in another encoding first takes a text name
// beside it, its other bytes written as %XX, so that it goes to the trash rather than
// staying or failing; it comes back from the trash under that name.
bool moveToTrash(const std::string& bytes) {
    const QString path = pathFromSystem(bytes);
    if (shownPath(path) == path) return QFile::moveToTrash(path);
    const std::size_t slash = bytes.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : bytes.substr(0, slash + 1);
    const std::string name = bytes.substr(folder.size());
    const QString escaped = pathFromSystem(name);
    const QString shown = shownPath(escaped);
    std::string text;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != shown[i]) {  // a byte that is not text
            text += QStringLiteral("%%1")
                        .arg(escaped[i].unicode() - 0xDC00, 2, 16, QChar('0'))
                        .toUpper()
                        .toStdString();
        } else if (escaped[i].isHighSurrogate() && i + 1 < escaped.size()) {
            text += escaped.mid(i, 2).toUtf8().toStdString();
            ++i;
        } else {
            text += QString(escaped[i]).toUtf8().toStdString();
        }
    }
    std::string renamed = folder + text;
    for (int n = 2; ::access(renamed.c_str(), F_OK) == 0; ++n) {
        renamed = folder + std::to_string(n) + "-" + text;
    }
    if (::rename(bytes.c_str(), renamed.c_str()) != 0) return false;
    if (QFile::moveToTrash(QString::fromStdString(renamed))) return true;
    ::rename(renamed.c_str(), bytes.c_str());
    return false;
}

QDateTime dateTimeOf(const LocalTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

QString lapText(double seconds) { return QString::fromStdString(lapTimeOrPlaceholder(seconds)); }

}  // namespace

LibraryWindow::LibraryWindow(const Addition& addition)
    : QWidget(&addition.window, Qt::Window), addition_(addition) {
    setObjectName("frmRunLibrary");
    setWindowTitle(u8(lt::kWindowTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(980, 640);

    auto* layout = new QVBoxLayout(this);  // owned by the window
    auto* top = new QHBoxLayout;           // owned by the layout
    layout->addLayout(top);
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName("libraryFolderLabel");
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(folderLabel_, 1);
    auto* openFolder = new QPushButton(u8(lt::kOpenFolderButton), this);
    openFolder->setObjectName("openFolderButton");
    top->addWidget(openFolder);
    auto* refreshButton = new QPushButton(u8(lt::kRefreshButton), this);
    refreshButton->setObjectName("refreshButton");
    refreshButton->setShortcut(QKeySequence::Refresh);
    top->addWidget(refreshButton);

    auto* bar = new QHBoxLayout;  // owned by the layout
    layout->addLayout(bar);
    bar->addWidget(new QLabel(u8(lt::kCarFilterCaption), this));
    carFilter_ = new QComboBox(this);
    carFilter_->setObjectName("carFilter");
    bar->addWidget(carFilter_);
    auto* openButton = new QPushButton(u8(lt::kOpenButton), this);
    openButton->setObjectName("openButton");
    auto* compareButton = new QPushButton(u8(lt::kCompareButton), this);
    compareButton->setObjectName("compareButton");
    auto* deleteButton = new QPushButton(u8(lt::kDeleteButton), this);
    deleteButton->setObjectName("deleteButton");
    bar->addWidget(openButton);
    bar->addWidget(compareButton);
    bar->addWidget(deleteButton);
    bar->addStretch(1);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("readProgress");
    progress_->setFormat(u8(lt::kReading));
    progress_->setVisible(false);
    bar->addWidget(progress_);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("runCountLabel");
    bar->addWidget(countLabel_);

    auto* split = new QSplitter(Qt::Vertical, this);
    layout->addWidget(split, 1);
    model_ = new LibraryTableModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(LibraryTableModel::kSortRole);
    proxy_->setFilterRole(LibraryTableModel::kCarRole);
    proxy_->setFilterKeyColumn(Column::kCar);
    table_ = new QTableView(split);
    table_->setObjectName("runTable");
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(Column::kDownloaded, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    // One line a run: the date column is as wide as the longest date and time.
    table_->setWordWrap(false);
    table_->horizontalHeader()->resizeSection(
        Column::kDownloaded,
        table_->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-10T14:35:07")) + 24);
    trend_ = new QCustomPlot(split);
    trend_->setObjectName("trendChart");
    trend_->setMouseTracking(true);
    trend_->installEventFilter(this);
    trend_->setMinimumHeight(200);
    // The legend gets a row of its own above the plot, so it never covers a run's point.
    trend_->legend->setVisible(true);
    trend_->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    trend_->axisRect()->insetLayout()->take(trend_->legend);
    trend_->plotLayout()->insertRow(0);
    trend_->plotLayout()->addElement(0, 0, trend_->legend);
    trend_->plotLayout()->setRowStretchFactor(0, 0.001);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd"));
    trend_->xAxis->setTicker(ticker);
    trend_->yAxis->setLabel(u8(lt::kTrendBest) + " / " + u8(lt::kTrendAverage));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({360, 240});

    // Under the guard every command of the window runs under, named by its button.
    auto guarded = [this](QPushButton* button, void (LibraryWindow::*command)()) {
        return [this, button, command] {
            runGuarded(addition_.dialogs, commandName(button->text()), [&] { (this->*command)(); });
        };
    };
    connect(table_, &QAbstractItemView::activated, this,
            guarded(openButton, &LibraryWindow::openSelection));
    connect(openButton, &QPushButton::clicked, this,
            guarded(openButton, &LibraryWindow::openSelection));
    connect(compareButton, &QPushButton::clicked, this,
            guarded(compareButton, &LibraryWindow::openSelection));
    connect(deleteButton, &QPushButton::clicked, this,
            guarded(deleteButton, &LibraryWindow::deleteSelection));
    table_->installEventFilter(this);  // Delete key
    connect(refreshButton, &QPushButton::clicked, this, &LibraryWindow::refresh);
    connect(openFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(folder_);
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder_))) {
            addition_.dialogs.message(u8(lt::kFolderOpenFailed).arg(folder_), {},
                                      MessageIcon::Critical);
        }
    });
    connect(carFilter_, &QComboBox::currentIndexChanged, this, [this] {
        applyCarFilter();
        drawTrend();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (carFilter_->currentIndex() <= 0) drawTrend();
    });
    reader_ = new FolderReader(  // owned by the window
        this, [this](LibraryListing listing) { listingRead(std::move(listing)); },
        [this](int done, int total) {
            progress_->setRange(0, total);
            progress_->setValue(done);
        });
}

LibraryWindow::~LibraryWindow() = default;

bool LibraryWindow::reading() const { return reader_->busy(); }

void LibraryWindow::refresh() {
    folder_ = libraryFolder();
    folderLabel_->setText(u8(lt::kFolderCaption) + QDir::toNativeSeparators(folder_));
    progress_->setRange(0, 0);
    progress_->setVisible(true);
    keptWhileReading_.clear();
    reader_->start(systemPath(folder_));
}

void LibraryWindow::listingRead(LibraryListing listing) {
    progress_->setVisible(false);
    // A library nothing was kept in yet is simply empty; any other failure is said, so that
    // a folder that cannot be read never looks like one without runs.
    QString failure;
    if (!listing.ok) {
        if (listing.error.systemError != ENOENT) failure = windowMessage(listing.error);
        listing.entries.clear();
    }
    const std::string folder = systemPath(folder_);
    for (const std::string& kept : keptWhileReading_) {
        const bool listed = std::any_of(listing.entries.begin(), listing.entries.end(),
                                        [&](const LibraryEntry& e) { return e.path == kept; });
        if (!listed) listing.entries.push_back(readLibraryEntry(folder, kept));
    }
    keptWhileReading_.clear();
    sortOldestFirst(listing.entries);
    model_->setEntries(std::move(listing.entries));
    tableChanged();
    if (!failure.isEmpty()) countLabel_->setText(failure);
}

void LibraryWindow::addKeptRun(const QString& fullPath) {
    if (folder_.isEmpty()) return;
    const QString relative = QDir(folder_).relativeFilePath(fullPath);
    if (relative.startsWith(QStringLiteral(".."))) return;  // kept before the folder changed
    if (reading()) {
        keptWhileReading_.push_back(systemPath(relative));
        return;
    }
    model_->addEntry(readLibraryEntry(systemPath(folder_), systemPath(relative)));
    tableChanged();
}

QString LibraryWindow::fullPath(const LibraryEntry& entry) const {
    return pathFromSystem(systemPath(folder_) + "/" + entry.path);
}

void LibraryWindow::tableChanged() {
    countLabel_->setText(u8(lt::kRunCount).arg(model_->entries().size()));
    fillCarFilter();
    applyCarFilter();
    drawTrend();
}

void LibraryWindow::fillCarFilter() {
    const QVariant chosen = carFilter_->currentData();
    std::vector<int> cars;
    for (const LibraryEntry& e : model_->entries()) {
        if (e.carId && std::find(cars.begin(), cars.end(), *e.carId) == cars.end())
            cars.push_back(*e.carId);
    }
    std::sort(cars.begin(), cars.end());
    const QSignalBlocker quiet(carFilter_);
    carFilter_->clear();
    carFilter_->addItem(u8(lt::kAllCars), QVariant());
    for (int car : cars) carFilter_->addItem(QString::number(car), car);
    const int again = carFilter_->findData(chosen);
    carFilter_->setCurrentIndex(chosen.isValid() && again >= 0 ? again : 0);
}

void LibraryWindow::applyCarFilter() {
    const QVariant car = carFilter_->currentData();
    proxy_->setFilterRegularExpression(car.isValid() ? QStringLiteral("^%1$").arg(car.toInt())
                                                     : QString());
}

std::vector<int> LibraryWindow::selectedEntries() const {
    QModelIndexList rows = table_->selectionModel()->selectedRows(Column::kDownloaded);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<int> result;
    for (const QModelIndex& index : rows) result.push_back(proxy_->mapToSource(index).row());
    return result;
}

void LibraryWindow::openSelection() {
    const std::vector<int> chosen = selectedEntries();
    if (chosen.empty()) return;
    const auto& entries = model_->entries();
    const auto& first = entries[static_cast<std::size_t>(chosen[0])];
    if (!addition_.files.openRunFile(fullPath(first), RunOrigin::Library)) return;
    if (chosen.size() >= 2) {
        addition_.analysis.compareWithFile(fullPath(entries[static_cast<std::size_t>(chosen[1])]));
    }
}

void LibraryWindow::deleteSelection() {
    const std::vector<int> chosen = selectedEntries();
    if (chosen.empty()) return;
    const auto& entries = model_->entries();
    QStringList names;
    for (int i : chosen) names << QString::fromStdString(entries[static_cast<std::size_t>(i)].path);
    if (!addition_.dialogs.ask(u8(lt::kDeleteQuestion).arg(names.join('\n')),
                               u8(lt::kDeleteTitle))) {
        return;
    }
    std::vector<bool> gone(entries.size(), false);
    for (int i : chosen) {
        const QString path = fullPath(entries[static_cast<std::size_t>(i)]);
        if (moveToTrash(systemPath(path))) {
            gone[static_cast<std::size_t>(i)] = true;
        } else {
            addition_.dialogs.message(
                u8(lt::kDeleteFailed).arg(QDir::toNativeSeparators(shownPath(path))), {},
                MessageIcon::Critical);
        }
    }
    std::vector<LibraryEntry> kept;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!gone[i]) kept.push_back(entries[i]);
    }
    model_->setEntries(std::move(kept));
    tableChanged();
}

void LibraryWindow::drawTrend() {
    const auto& entries = model_->entries();
    const QVariant filtered = carFilter_->currentData();
    trendCar_ = -1;
    if (filtered.isValid()) {
        trendCar_ = filtered.toInt();
    } else if (const QModelIndex current = table_->currentIndex(); current.isValid()) {
        const int entry = proxy_->mapToSource(current).row();
        const auto& car = entries[static_cast<std::size_t>(entry)].carId;
        if (car) trendCar_ = *car;
    } else if (!entries.empty() && entries.back().carId) {
        trendCar_ = *entries.back().carId;
    }

    trend_->clearGraphs();
    trend_->clearItems();
    trendPoints_.clear();
    QVector<double> times, bests, averages;
    int personalBest = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LibraryEntry& e = entries[i];
        if (!e.readable() || e.carId != trendCar_ || e.statistics.counted == 0) continue;
        times << static_cast<double>(dateTimeOf(e.downloaded).toSecsSinceEpoch());
        bests << e.statistics.best;
        averages << e.statistics.average;
        trendPoints_.push_back(static_cast<int>(i));
        if (personalBest < 0 || e.statistics.best < bests[personalBest])
            personalBest = static_cast<int>(bests.size() - 1);
    }
    auto addLine = [this](const QString& name, const QColor& color, const QVector<double>& x,
                          const QVector<double>& y, QCPScatterStyle::ScatterShape shape,
                          double size) {
        QCPGraph* graph = trend_->addGraph();
        graph->setName(name);
        graph->setPen(QPen(color));
        graph->setScatterStyle(QCPScatterStyle(shape, color, size));
        graph->setData(x, y, true);
        return graph;
    };
    addLine(u8(lt::kTrendBest), Qt::blue, times, bests, QCPScatterStyle::ssDisc, 6);
    addLine(u8(lt::kTrendAverage), Qt::darkGray, times, averages, QCPScatterStyle::ssCircle, 6);
    QCPGraph* best =
        addLine(u8(lt::kTrendPersonalBest), Qt::red, {}, {}, QCPScatterStyle::ssStar, 14);
    best->setLineStyle(QCPGraph::lsNone);
    if (personalBest >= 0) best->addData(times[personalBest], bests[personalBest]);
    trend_->plotLayout()->setRowSpacing(0);
    trend_->xAxis->setLabel(trendCar_ >= 0 ? u8(lt::kTrendTitle).arg(trendCar_) : QString());
    trend_->rescaleAxes();
    // A single run still needs a visible span around it.
    const auto pad = [](QCPAxis* axis, double margin) {
        const QCPRange r = axis->range();
        const double extra = std::max(r.size() * 0.05, margin);
        axis->setRange(r.lower - extra, r.upper + extra);
    };
    pad(trend_->xAxis, 3600.0);
    pad(trend_->yAxis, 0.5);
    trend_->replot();
}

bool LibraryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == trend_ && event->type() == QEvent::MouseMove) {
        showTrendTip(static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Names the run under the pointer, on the best or the average line.
void LibraryWindow::showTrendTip(const QPoint& position) {
    QString tip;
    double nearest = kHoverPixels;
    for (int g = 0; g < 2 && g < trend_->graphCount(); ++g) {
        const QCPGraph* graph = trend_->graph(g);
        int index = 0;
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd();
             ++it, ++index) {
            const QPointF at(trend_->xAxis->coordToPixel(it->key),
                             trend_->yAxis->coordToPixel(it->value));
            const double distance = std::hypot(at.x() - position.x(), at.y() - position.y());
            if (distance > nearest || index >= static_cast<int>(trendPoints_.size())) continue;
            nearest = distance;
            const LibraryEntry& e = model_->entries()[static_cast<std::size_t>(
                trendPoints_[static_cast<std::size_t>(index)])];
            tip = u8(lt::kTrendTip)
                      .arg(QString::fromStdString(e.path),
                           dateTimeOf(e.downloaded).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           lapText(e.statistics.best), lapText(e.statistics.average));
        }
    }
    trend_->setToolTip(tip);
}

}  // namespace korimet
