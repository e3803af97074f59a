#include "library/ui/library_window.h"

#include <unistd.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
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
#include <cerrno>
#include <cstdio>
#include <utility>

#include "common/ui/ui_text.h"
#include "corrections/correction_file.h"
#include "corrections/settings/limit_settings.h"
#include "files/data_file.h"
#include "files/durable_write.h"
#include "files/ui/file_commands.h"
#include "files/ui/memo_line_ends.h"
#include "library/settings/library_folder.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "library/ui/trend_chart.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/run_session.h"
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

    auto* memoSide = new QWidget(lower);
    auto* memoLayout = new QVBoxLayout(memoSide);  // owned by `memoSide`
    memoLayout->setContentsMargins(0, 0, 0, 0);
    auto* memoCaption = new QLabel(memoSide);
    setFixedText(memoCaption, lt::kMemoCaption);
    memoLayout->addWidget(memoCaption);
    memoEdit_ = new QPlainTextEdit(memoSide);
    memoEdit_->setObjectName("libraryMemo");
    memoEdit_->setTabChangesFocus(true);
    memoCaption->setBuddy(memoEdit_);
    memoLayout->addWidget(memoEdit_, 1);
    memoNote_ = new QLabel(memoSide);
    memoNote_->setObjectName("libraryMemoNote");
    memoNote_->setWordWrap(true);
    memoNote_->setVisible(false);
    memoLayout->addWidget(memoNote_);
    saveMemoButton_ = new QPushButton(memoSide);
    setFixedText(saveMemoButton_, lt::kSaveMemoButton);
    saveMemoButton_->setObjectName("saveMemoButton");
    saveMemoButton_->setEnabled(false);
    memoLayout->addWidget(saveMemoButton_);
    lowerLayout->addWidget(memoSide, 1);

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
    connect(saveMemoButton_, &QPushButton::clicked, this,
            guarded(saveMemoButton_, &LibraryWindow::saveMemo));
    connect(memoEdit_, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = memoEdit_->toPlainText();
        if (memoLinked_) addition_.session.setMemo(text);
        saveMemoButton_->setEnabled(memoEntry_ >= 0 && text != memoInFile_);
    });
    connect(&addition_.session, &RunSession::memoChanged, this, &LibraryWindow::followSessionMemo);
    connect(&addition_.session, &RunSession::runReplaced, this, &LibraryWindow::relinkMemo);
    connect(&addition_.session, &RunSession::keptFileChanged, this, &LibraryWindow::relinkMemo);
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
    connect(&store_, &RunStore::runRead, this, &LibraryWindow::memoRead);
    connect(&store_, &RunStore::memoSaved, this, &LibraryWindow::memoWritten);
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
        if (memoNoteText_) memoNote_->setText(memoNoteText_());
    }
    QWidget::changeEvent(event);
}

void LibraryWindow::showFolder() {
    folderLabel_->setText(u8(lt::kFolderCaption) + QDir::toNativeSeparators(folder_));
}

LibraryWindow::~LibraryWindow() = default;

bool LibraryWindow::reading() const { return store_.listing(); }

void LibraryWindow::refresh() {
    folder_ = libraryFolder();
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
    if (!e || e->path != current || currentChanged) {
        showMemo(e, entry, currentChanged);
    } else {
        memoEntry_ = entry;
    }
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
    showMemo(e, entry, std::exchange(listedAgain_, false));
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

namespace {

// Compared as names, without asking the file system: the window never waits on a file.
bool samePath(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() &&
           QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

}  // namespace

bool LibraryWindow::shownInMainWindow(const QString& path) const {
    const RunSession& session = addition_.session;
    return samePath(session.currentFileName(), path) || samePath(session.keptFileName(), path);
}

bool LibraryWindow::memoUnsaved() const {
    return !memoPath_.isEmpty() && memoEntry_ >= 0 && !memoLinked_ &&
           memoEdit_->toPlainText() != memoInFile_;
}

// The memo box follows the list, but what the racer typed is never dropped by a refresh, a
// download or a correction that lists the same run again: it stays until saved, and moving
// to another run asks first. The listing holds the memo's first line only: the box takes the
// whole memo from the file (read by the store), so that saving it never cuts the rest. A memo
// read with a warning (bytes that decode to nothing, an encoding in doubt) says so above the
// box, so that saving it is never done unseen. `fileChanged`: the run's file was written since
// the box took its memo.
void LibraryWindow::showMemo(const LibraryEntry* e, int entry, bool fileChanged) {
    const QString path = e && e->readable() ? fullPath(*e) : QString();
    if (!path.isEmpty() && path == memoPath_) {
        memoEntry_ = memoEntry_ >= 0 ? entry : memoEntry_;
        // The same run: the box takes what the file now holds, unless the racer is typing.
        if (fileChanged && !memoLinked_ && !memoUnsaved() && memoLoad_ == 0) {
            memoReload_ = true;
            memoLoad_ = store_.readRun(relativePath(path));
        }
        return;
    }
    if (memoUnsaved()) askToSaveMemo();
    memoEntry_ = -1;
    memoPath_ = path;
    memoInFile_.clear();
    memoLinked_ = false;
    memoReload_ = false;
    memoLoad_ = 0;
    {
        const QSignalBlocker quiet(memoEdit_);
        memoEdit_->clear();
    }
    // Until the store has read the run, there is nothing to type into.
    memoEdit_->setReadOnly(true);
    memoEdit_->setEnabled(!path.isEmpty());
    showMemoNote({});
    saveMemoButton_->setEnabled(false);
    if (!path.isEmpty()) {
        memoLoad_ = store_.readRun(relativePath(path));
    }
}

void LibraryWindow::memoRead(const StoreRunRead& result) {
    if (result.job != memoLoad_) return;
    memoLoad_ = 0;
    const bool reload = memoReload_;
    memoReload_ = false;
    if (!result.read) {
        // Gone or spoilt since it was listed: the store's listing will say so.
        if (!reload) memoEdit_->setEnabled(false);
        return;
    }
    const QString inFile = memoForBox(result.read.content->memo);
    // Typed into while the run was read again: that is the racer's draft now, against the
    // file's new memo. Otherwise the box shows the run afresh.
    if (reload && (memoLinked_ || memoEdit_->toPlainText() != memoInFile_)) {
        memoInFile_ = inFile;
        saveMemoButton_->setEnabled(memoEdit_->toPlainText() != memoInFile_);
        return;
    }
    const std::string relative = relativePath(memoPath_);
    const auto& entries = model_->entries();
    const auto at = std::find_if(entries.begin(), entries.end(),
                                 [&](const LibraryEntry& e) { return e.path == relative; });
    if (at == entries.end()) return;  // deleted meanwhile
    memoEntry_ = static_cast<int>(at - entries.begin());
    memoInFile_ = inFile;
    const RunSession& session = addition_.session;
    memoLinked_ = shownInMainWindow(memoPath_) && session.memoIsTheRuns();
    const QString memo = memoLinked_ ? session.memo() : memoInFile_;
    {
        const QSignalBlocker quiet(memoEdit_);
        memoEdit_->setPlainText(memo);
    }
    memoEdit_->setReadOnly(false);
    memoEdit_->setEnabled(true);
    if (memoLinked_ && memo != memoInFile_) {
        showMemoNote([] { return u8(lt::kMemoFromWindow); });
    } else if (result.read.warning) {
        showMemoNote([w = result.read.warning] { return libraryMessage(w); });
    } else {
        showMemoNote({});
    }
    saveMemoButton_->setEnabled(memo != memoInFile_);
}

void LibraryWindow::showMemoNote(std::function<QString()> text) {
    memoNoteText_ = std::move(text);
    memoNote_->setText(memoNoteText_ ? memoNoteText_() : QString());
    memoNote_->setVisible(static_cast<bool>(memoNoteText_));
}

// The main window now shows another run, or the download it shows was kept: the box is that
// window's memo exactly while both show one run whose memo it is. A draft typed here for the
// run stays a draft; nothing typed in either box is replaced.
void LibraryWindow::relinkMemo() {
    const RunSession& session = addition_.session;
    const bool link = memoEntry_ >= 0 && shownInMainWindow(memoPath_) && session.memoIsTheRuns();
    if (link == memoLinked_) return;
    if (!link) {
        memoLinked_ = false;
        saveMemoButton_->setEnabled(memoEntry_ >= 0 && memoEdit_->toPlainText() != memoInFile_);
        return;
    }
    if (memoUnsaved()) return;
    memoLinked_ = true;
    followSessionMemo(session.memo());
}

void LibraryWindow::followSessionMemo(const QString& memo) {
    if (!memoLinked_) {
        // Typing in the main window after a download makes its memo the run's.
        relinkMemo();
        return;
    }
    if (memoEdit_->toPlainText() != memo) {
        const QSignalBlocker quiet(memoEdit_);
        memoEdit_->setPlainText(memo);
    }
    const bool differs = memo != memoInFile_;
    saveMemoButton_->setEnabled(memoEntry_ >= 0 && differs);
    showMemoNote(differs ? std::function<QString()>([] { return u8(lt::kMemoFromWindow); })
                         : std::function<QString()>());
}

void LibraryWindow::askToSaveMemo() {
    const QString path = memoPath_;
    const QString memo = memoEdit_->toPlainText();
    memoPath_.clear();  // asked once, whatever the answer
    // Deleted: the racer chose to drop it with its run.
    const std::string relative = relativePath(path);
    if (std::none_of(model_->entries().begin(), model_->entries().end(),
                     [&](const LibraryEntry& e) { return e.path == relative; }))
        return;
    if (addition_.dialogs.ask(
            u8(lt::kMemoUnsavedQuestion).arg(QDir::toNativeSeparators(shownPath(path))),
            u8(lt::kMemoUnsavedTitle)))
        writeMemo(path, memo);
}

void LibraryWindow::closeEvent(QCloseEvent* event) {
    if (memoUnsaved()) {
        askToSaveMemo();
        showMemo(nullptr, -1);
    }
    QWidget::closeEvent(event);
}

void LibraryWindow::showStatus(std::function<QString()> text) {
    statusText_ = std::move(text);
    statusLine_->setText(statusText_ ? statusText_() : QString());
}

void LibraryWindow::saveMemo() {
    if (memoEntry_ < 0 || memoPath_.isEmpty()) return;
    saveMemoButton_->setEnabled(false);
    writeMemo(memoPath_, memoEdit_->toPlainText());
}

// Written by the store as File > Save writes, the laps as the file holds them then; the
// listing's row follows with the store's change.
void LibraryWindow::writeMemo(const QString& path, const QString& memo) {
    memoSaves_[store_.saveMemo(relativePath(path), memoForFile(memo))] = memo;
}

void LibraryWindow::memoWritten(const StoreMemoSaved& result) {
    const auto asked = memoSaves_.find(result.job);
    if (asked == memoSaves_.end()) return;
    const QString memo = asked->second;
    memoSaves_.erase(asked);
    const QString path = pathFromSystem(systemPath(folder_) + "/" + result.path);
    const bool shownHere = path == memoPath_ && memoEntry_ >= 0;
    if (!result.ok) {
        addition_.dialogs.message(libraryMessage(result.error), {}, MessageIcon::Critical);
        if (shownHere) saveMemoButton_->setEnabled(memoEdit_->toPlainText() != memoInFile_);
        return;
    }
    // The main window showing this run with the memo its file held shows the new one; what
    // the racer typed there and never saved stays for them to keep or drop.
    RunSession& session = addition_.session;
    if (shownInMainWindow(path) && session.memo() == memoForBox(result.memoBefore))
        session.setMemo(memo);
    if (!shownHere) return;
    memoInFile_ = memo;
    saveMemoButton_->setEnabled(memoEdit_->toPlainText() != memoInFile_);
    if (!memoLinked_ || session.memo() == memo) showMemoNote({});
    const QString relative = shownPath(QDir(folder_).relativeFilePath(path));
    showStatus([relative] { return u8(lt::kMemoSaved).arg(relative); });
}

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
