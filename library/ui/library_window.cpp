#include "library/ui/library_window.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "common/ui/ui_text.h"
#include "corrections/settings/limit_settings.h"
#include "files/ui/file_commands.h"
#include "library/settings/library_folder.h"
#include "library/ui/library_memo_box.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "library/ui/trend_chart.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/system_path.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

using Column = LibraryTableModel::Column;

// Names the question about deleting gives before it only counts the rest.
constexpr std::size_t kDeleteNamesShown = 5;

// The window's remembered state, beside the library folder's setting.
const QString kGeometryKey = QStringLiteral("Library/WindowGeometry");
const QString kColumnsKey = QStringLiteral("Library/Columns");
const QString kSplitKey = QStringLiteral("Library/Split");
const QString kCarKey = QStringLiteral("Library/CarFilter");

QString u8(const char* text) { return uiText(text); }

}  // namespace

LibraryWindow::LibraryWindow(const Addition& addition)
    : QWidget(&addition.window, Qt::Window), addition_(addition), store_(addition.runs) {
    setObjectName("frmRunLibrary");
    setFixedText(this, lt::kWindowTitle, TextRole::WindowTitle);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(980, 640);

    auto* layout = new QVBoxLayout(this);  // owned by the window
    auto* top = new QHBoxLayout;           // owned by the layout
    layout->addLayout(top);
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName("libraryFolderLabel");
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(folderLabel_, 1);
    auto* openFolder = new QPushButton(this);
    setFixedText(openFolder, lt::kOpenFolderButton);
    openFolder->setObjectName("openFolderButton");
    top->addWidget(openFolder);
    auto* refreshButton = new QPushButton(this);
    setFixedText(refreshButton, lt::kRefreshButton);
    refreshButton->setObjectName("refreshButton");
    top->addWidget(refreshButton);

    auto* bar = new QHBoxLayout;  // owned by the layout
    layout->addLayout(bar);
    auto* carCaption = new QLabel(this);
    setFixedText(carCaption, lt::kCarFilterCaption);
    bar->addWidget(carCaption);
    carFilter_ = new QComboBox(this);
    carFilter_->setObjectName("carFilter");
    // As wide as its longest item in the language shown now, not the one it was first shown in.
    carFilter_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    carCaption->setBuddy(carFilter_);
    bar->addWidget(carFilter_);
    auto* openButton = new QPushButton(this);
    setFixedText(openButton, lt::kOpenButton);
    openButton->setObjectName("openButton");
    auto* compareButton = new QPushButton(this);
    setFixedText(compareButton, lt::kCompareButton);
    compareButton->setObjectName("compareButton");
    auto* deleteButton = new QPushButton(this);
    setFixedText(deleteButton, lt::kDeleteButton);
    deleteButton->setObjectName("deleteButton");
    bar->addWidget(openButton);
    bar->addWidget(compareButton);
    bar->addWidget(deleteButton);
    bar->addStretch(1);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("readProgress");
    progress_->setVisible(false);
    bar->addWidget(progress_);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("runCountLabel");
    bar->addWidget(countLabel_);

    split_ = new QSplitter(Qt::Vertical, this);
    split_->setObjectName("librarySplit");
    layout->addWidget(split_, 1);
    model_ = new LibraryTableModel(this);
    proxy_ = new LibrarySortProxy(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(LibraryTableModel::kSortRole);
    proxy_->setFilterRole(LibraryTableModel::kCarRole);
    proxy_->setFilterKeyColumn(Column::kCar);
    table_ = new QTableView(split_);
    table_->setObjectName("runTable");
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(Column::kDownloaded, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab goes on to the buttons: a list of hundreds of runs is moved in with the arrows.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    // One line a run: the date column is as wide as the longest date and time.
    table_->setWordWrap(false);
    table_->horizontalHeader()->resizeSection(
        Column::kDownloaded,
        table_->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-10T14:35:07")) + 24);
    placeAddedColumns();

    auto* lower = new QWidget(split_);
    auto* lowerLayout = new QHBoxLayout(lower);  // owned by `lower`
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    trend_ = new TrendChart(lower);
    lowerLayout->addWidget(trend_, 3);

    memo_ = new LibraryMemoBox(addition_, lower);
    lowerLayout->addWidget(memo_, 1);

    split_->setStretchFactor(0, 3);
    split_->setStretchFactor(1, 2);
    split_->setSizes({360, 240});

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName("libraryStatusLine");
    statusLine_->setWordWrap(true);
    statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(statusLine_);

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
    connect(memo_, &LibraryMemoBox::saved, this, [this](const QString& relative) {
        showStatus([relative] { return u8(lt::kMemoSaved).arg(relative); });
    });
    table_->installEventFilter(this);  // Delete key
    connect(refreshButton, &QPushButton::clicked, this, &LibraryWindow::refresh);
    auto* refreshKey = new QShortcut(QKeySequence(Qt::Key_F5), this);  // owned by the window
    refreshKey->setContext(Qt::WindowShortcut);
    connect(refreshKey, &QShortcut::activated, this, &LibraryWindow::refresh);
    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);  // owned by the window
    closeKey->setContext(Qt::WindowShortcut);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    connect(openFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(folder_);
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder_))) {
            addition_.dialogs.message(u8(lt::kFolderOpenFailed).arg(folder_), {},
                                      MessageIcon::Critical);
        }
    });
    connect(carFilter_, &QComboBox::currentIndexChanged, this, [this] {
        wantedCar_ = carFilter_->currentData();
        applyCarFilter();
        drawTrend();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LibraryWindow::currentChanged);
    connect(&store_, &RunStore::listingStarted, this, [this] {
        progress_->setRange(0, 0);
        progress_->setVisible(true);
    });
    connect(&store_, &RunStore::listingProgress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(&store_, &RunStore::listed, this, &LibraryWindow::listingRead);
    connect(&store_, &RunStore::runsChanged, this, &LibraryWindow::runsChanged);
    connect(&store_, &RunStore::trashed, this, &LibraryWindow::runsTrashed);
    connect(&store_, &RunStore::stalledChanged, this, [this](bool stalled) {
        if (stalled) {
            showStatus([] { return u8(lt::kLibraryNotAnswering); });
        } else {
            currentChanged();
        }
    });
    showTexts();
    restoreSettings();
}

// The window's own words that are not fixed captions of one control.
void LibraryWindow::showTexts() { progress_->setFormat(u8(lt::kReading)); }

void LibraryWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        showTexts();
        model_->retranslate();
        if (!folder_.isEmpty()) showFolder();
        const int all = carFilter_->findData(QVariant());
        if (all >= 0) carFilter_->setItemText(all, u8(lt::kAllCars));
        showCount();
        if (listingError_) countLabel_->setText(libraryMessage(*listingError_));
        if (statusText_) statusLine_->setText(statusText_());
    }
    QWidget::changeEvent(event);
}

void LibraryWindow::showFolder() {
    folderLabel_->setText(u8(lt::kFolderCaption) + QDir::toNativeSeparators(folder_));
}

LibraryWindow::~LibraryWindow() = default;

bool LibraryWindow::reading() const { return store_.listing(); }

bool LibraryWindow::busy() const { return reading() || memo_->busy() || trashJob_ != 0; }

void LibraryWindow::refresh() {
    folder_ = libraryFolder();
    memo_->setFolder(folder_);
    showFolder();
    store_.open(systemPath(folder_), readSuspectLimits(QSettings()));
}

void LibraryWindow::listingRead() {
    progress_->setVisible(false);
    // A folder that cannot be read never looks like one without runs: the store says why.
    listingError_ = store_.listingError();
    // The run the racer had chosen stays chosen when it is listed again.
    const QModelIndex was = table_->currentIndex();
    const std::string chosen =
        was.isValid()
            ? model_->entries()[static_cast<std::size_t>(proxy_->mapToSource(was).row())].path
            : std::string();
    model_->setEntries(store_.entries());
    listedAgain_ = true;  // the memo box reads its run again
    const auto& entries = model_->entries();
    for (std::size_t i = 0; i < entries.size() && !chosen.empty(); ++i) {
        if (entries[i].path != chosen) continue;
        const QModelIndex at = proxy_->mapFromSource(model_->index(static_cast<int>(i), 0));
        if (at.isValid())
            table_->selectionModel()->setCurrentIndex(
                at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        break;
    }
    tableChanged();
    if (listingError_) countLabel_->setText(libraryMessage(*listingError_));
}

// Another Korimet, korimet-cli, a synchronising tool or this program's own jobs changed runs:
// their rows follow, the selection and the racer's place stay.
void LibraryWindow::runsChanged(const StoreChanges& changes) {
    if (store_.folder() != systemPath(folder_)) return;
    const QModelIndex was = table_->currentIndex();
    const std::string current =
        was.isValid()
            ? model_->entries()[static_cast<std::size_t>(proxy_->mapToSource(was).row())].path
            : std::string();
    model_->applyChanges(changes);
    const bool currentChanged =
        std::any_of(changes.changed.begin(), changes.changed.end(),
                    [&](const LibraryEntry& e) { return e.path == current; });
    fillCarFilter();
    applyCarFilter();
    const QModelIndex now = table_->currentIndex();
    const int entry = now.isValid() ? proxy_->mapToSource(now).row() : -1;
    const LibraryEntry* e =
        entry >= 0 ? &model_->entries()[static_cast<std::size_t>(entry)] : nullptr;
    if (!e || e->path != current || currentChanged) memo_->showRun(e, currentChanged);
    showRowStatus(e);
    drawTrend();
}

std::string LibraryWindow::relativePath(const QString& path) const {
    return systemPath(QDir(folder_).relativeFilePath(path));
}

QString LibraryWindow::fullPath(const LibraryEntry& entry) const {
    return pathFromSystem(systemPath(folder_) + "/" + entry.path);
}

void LibraryWindow::tableChanged() {
    fillCarFilter();
    applyCarFilter();
    currentChanged();
}

void LibraryWindow::fillCarFilter() {
    const QVariant chosen = wantedCar_;
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
    showCount();
}

void LibraryWindow::showCount() {
    const QVariant car = carFilter_->currentData();
    const auto all = static_cast<qlonglong>(model_->entries().size());
    const int shown = proxy_->rowCount();
    countLabel_->setText(car.isValid() ? u8(lt::kFilteredRunCount).arg(shown).arg(all)
                                       : u8(lt::kRunCount).arg(all));
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
    const QString comparedPath =
        chosen.size() >= 2 ? fullPath(entries[static_cast<std::size_t>(chosen[1])]) : QString();
    if (!addition_.files.openRunFile(fullPath(first), RunOrigin::Library)) return;
    if (!comparedPath.isEmpty()) addition_.analysis.compareWithFile(comparedPath);
    // The run is what the racer wants to see now, not the list in front of it.
    addition_.window.raise();
    addition_.window.activateWindow();
}

void LibraryWindow::deleteSelection() {
    const std::vector<int> chosen = selectedEntries();
    if (chosen.empty()) return;
    const auto& entries = model_->entries();
    // A few names say which runs; the count says how many, and the box stays small enough
    // for its buttons to be on the screen.
    QStringList names;
    for (std::size_t n = 0; n < chosen.size() && n < kDeleteNamesShown; ++n)
        names << QString::fromStdString(entries[static_cast<std::size_t>(chosen[n])].path);
    if (chosen.size() > kDeleteNamesShown)
        names << u8(lt::kDeleteMore).arg(chosen.size() - kDeleteNamesShown);
    const QModelIndex firstChosen = table_->selectionModel()->selectedRows().value(0);
    int nextRow = firstChosen.isValid() ? firstChosen.row() : 0;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        nextRow = std::min(nextRow, index.row());
    if (!addition_.dialogs.ask(
            u8(lt::kDeleteQuestion).arg(QString::number(chosen.size()), names.join('\n')),
            u8(lt::kDeleteTitle))) {
        return;
    }
    std::vector<std::string> paths;
    for (int i : chosen) paths.push_back(entries[static_cast<std::size_t>(i)].path);
    rowAfterTrash_ = nextRow;
    trashJob_ = store_.trash(paths);
}

// The rows have gone with the store's change; the racer goes on in the list at the run that
// took the first deleted one's place.
void LibraryWindow::runsTrashed(const StoreTrashed& result) {
    if (result.job != trashJob_) return;
    trashJob_ = 0;
    const std::string folder = systemPath(folder_);
    for (const std::string& path : result.failed) {
        addition_.dialogs.message(
            u8(lt::kDeleteFailed)
                .arg(QDir::toNativeSeparators(shownPath(pathFromSystem(folder + "/" + path)))),
            {}, MessageIcon::Critical);
    }
    for (const std::string& corrections : result.correctionsLeft) {
        addition_.dialogs.message(
            u8(lt::kDeleteCorrectionsFailed)
                .arg(QDir::toNativeSeparators(shownPath(pathFromSystem(corrections)))),
            {}, MessageIcon::Critical);
    }
    if (proxy_->rowCount() > 0) {
        const QModelIndex at = proxy_->index(std::min(rowAfterTrash_, proxy_->rowCount() - 1), 0);
        table_->selectionModel()->setCurrentIndex(
            at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    table_->setFocus();
}

void LibraryWindow::drawTrend() {
    const QVariant filtered = carFilter_->currentData();
    const QModelIndex current = table_->currentIndex();
    trend_->showRuns(model_->entries(),
                     filtered.isValid() ? std::optional<int>(filtered.toInt()) : std::nullopt,
                     current.isValid() ? proxy_->mapToSource(current).row() : -1);
}

int LibraryWindow::trendCar() const { return trend_->car(); }

void LibraryWindow::currentChanged() {
    const QModelIndex current = table_->currentIndex();
    const int entry = current.isValid() ? proxy_->mapToSource(current).row() : -1;
    const LibraryEntry* e =
        entry >= 0 ? &model_->entries()[static_cast<std::size_t>(entry)] : nullptr;
    showRowStatus(e);
    memo_->showRun(e, std::exchange(listedAgain_, false));
    drawTrend();
}

// A file that could not be read, or a correction file that could not be used, is said where
// the racer looks at the run.
void LibraryWindow::showRowStatus(const LibraryEntry* e) {
    if (store_.stalled()) {
        showStatus([] { return u8(lt::kLibraryNotAnswering); });
    } else if (e && !e->readable()) {
        showStatus([row = *e] { return u8(lt::kUnreadable) + unreadableReason(row); });
    } else if (e && e->correctionError) {
        showStatus([row = *e] { return correctionNote(row); });
    } else {
        showStatus({});
    }
}

void LibraryWindow::closeEvent(QCloseEvent* event) {
    memo_->closing();
    QWidget::closeEvent(event);
}

void LibraryWindow::showStatus(std::function<QString()> text) {
    statusText_ = std::move(text);
    statusLine_->setText(statusText_ ? statusText_() : QString());
}

void LibraryWindow::saveMemo() { memo_->save(); }

// A column the memo's stretch has left after it (a layout remembered before the column was
// there, or a new window) goes beside the numbers it belongs with.
void LibraryWindow::placeAddedColumns() {
    QHeaderView* header = table_->horizontalHeader();
    for (const auto& added : LibraryTableModel::kAddedColumns) {
        const int at = header->visualIndex(added.column);
        if (at < header->visualIndex(Column::kMemo)) continue;
        const int before = header->visualIndex(added.before);
        header->moveSection(at, before < at ? before : before - 1);
    }
}

void LibraryWindow::restoreSettings() {
    const QSettings settings;
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    const QByteArray columns = settings.value(kColumnsKey).toByteArray();
    if (!columns.isEmpty() && table_->horizontalHeader()->restoreState(columns)) {
        placeAddedColumns();
        // The header's sort indicator is what the proxy sorts by.
        table_->sortByColumn(table_->horizontalHeader()->sortIndicatorSection(),
                             table_->horizontalHeader()->sortIndicatorOrder());
    }
    const QByteArray split = settings.value(kSplitKey).toByteArray();
    if (!split.isEmpty()) split_->restoreState(split);
    const QVariant car = settings.value(kCarKey);
    bool isNumber = false;
    const int carId = car.toInt(&isNumber);
    if (car.isValid() && isNumber) wantedCar_ = carId;
}

void LibraryWindow::saveSettings() const {
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kColumnsKey, table_->horizontalHeader()->saveState());
    settings.setValue(kSplitKey, split_->saveState());
    if (wantedCar_.isValid()) {
        settings.setValue(kCarKey, wantedCar_.toInt());
    } else {
        settings.remove(kCarKey);
    }
}

// A window remembered on a larger screen, or first opened on a small one, is moved and
// shrunk until all of it, the chart's axis included, is on the available screen.
void LibraryWindow::keepOnScreen() {
    const QScreen* at = screen();
    if (!at) return;
    const QRect available = at->availableGeometry();
    const QRect outer = frameGeometry();
    const QMargins frame(geometry().left() - outer.left(), geometry().top() - outer.top(),
                         outer.right() - geometry().right(), outer.bottom() - geometry().bottom());
    const QSize room = available.size().shrunkBy(frame);
    QRect inner = geometry();
    inner.setSize(inner.size().boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room)));
    const QRect limits = available.marginsRemoved(frame);
    inner.moveLeft(std::clamp(inner.left(), limits.left(),
                              std::max(limits.left(), limits.right() - inner.width() + 1)));
    inner.moveTop(std::clamp(inner.top(), limits.top(),
                             std::max(limits.top(), limits.bottom() - inner.height() + 1)));
    if (inner != geometry()) setGeometry(inner);
}

void LibraryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepOnScreen();
}

void LibraryWindow::hideEvent(QHideEvent* event) {
    saveSettings();
    QWidget::hideEvent(event);
}

bool LibraryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        runGuarded(addition_.dialogs, commandName(u8(lt::kDeleteButton)),
                   [this] { deleteSelection(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace korimet
