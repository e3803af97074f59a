#include "shell/ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "common/ui/icon_resources.h"
#include "common/ui/ui_fonts.h"
#include "common/ui/ui_text.h"
#include "device/ui/device_link.h"
#include "files/ui/file_commands.h"
#include "files/ui/memo_panel.h"
#include "lapdata/numeric_picture.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/lap_panel.h"
#include "lapdata/ui/twips.h"
#include "library/store/run_store.h"
#include "shell/ui/accessible_names.h"
#include "shell/ui/shell_texts.h"
#include "shell/ui/window_placement.h"
#include "tools/ui/analysis_commands.h"

namespace korimet {

namespace {

// The layout is designed on a client area whose top 420 twips are the toolbar; the
// controls below it sit in the central widget, so their tops move up by that much.
constexpr double kToolBarTwips = 420;
constexpr double kStatusBarTwips = 270;

constexpr QRgb kWindowGrey = 0x808080;
constexpr QRgb kNavy = 0x000080;

// From the difference labels' left edge (5160) to the grid's (6480).
constexpr double kDifferenceRoomTwips = 6480 - 5160;

// The file the file dialogs start beside: the one File > Save writes to, else the one the
// shown run was read from.
QString dialogFolderFile(const RunSession& session) {
    return session.currentFileName().isEmpty() ? session.sourceFileName()
                                               : session.currentFileName();
}

QString widestDifferenceText(const QFont& font) {
    // Every digit at its widest, both signs: "(▼99.99sec)" is the longest a difference gets.
    const QFontMetrics metrics(font);
    QString widest;
    for (int d = 0; d <= 9; ++d) {
        for (const double sign : {1.0, -1.0}) {
            const QString text = QString::fromStdString(formatDifferencePicture(sign * 11.11 * d));
            if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest)) widest = text;
        }
    }
    return widest;
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), session_(new RunSession(this)), runStore_(new RunStore(this)) {
    if (!dialogs) {
        dialogs = std::make_unique<QtDialogs>(this, [this] { return dialogFolderFile(*session_); });
    }
    dialogs_ = std::make_unique<WindowDialogs>(std::move(dialogs));
    setObjectName("frmMain");
    setWindowTitle(texts::kAppTitle);
    setWindowIcon(applicationIcon());
    setFont(japaneseGothicFont(9));
    buildFrame();

    // The parts, in the order their controls take focus and stack: the memo's top edge
    // overlaps the chart's bottom margin and is drawn over it.
    deviceLink_ = new DeviceLink(*session_, *dialogs_, *commandToolBar);  // owned by the toolbar
    lapPanel_ = new LapPanel(*session_, *client);                         // owned by the client
    memoPanel_ = new MemoPanel(*session_, *client);                       // owned by the client
    fileCommands_ = new FileCommands(*session_, *dialogs_, this);         // owned by the window
    analysisCommands_ = new AnalysisCommands(*session_, *dialogs_, *lapPanel_, this);  // owned
    placeControls();
    nameControlsForScreenReaders(*this);
    setupCommandBars();

    // Load step.
    restorePlacement();
    fileCommands_->readTemplateFile();
    lapPanel_->prepareLapGrid();
}

MainWindow::~MainWindow() = default;

Addition MainWindow::addition() {
    return {*session_,       *dialogs_, *fileCommands_, *analysisCommands_,
            additionsMenu(), *this,     *runStore_};
}

void MainWindow::fitDifferenceLabels() {
    // The designed 1215 twips cut "(▼18.27sec)". Grow to the right as far as the text needs,
    // up to the grid's left edge; beyond that narrow the face, as the grid's times are.
    const int room = px(kDifferenceRoomTwips);
    const LapPanelControls& c = lapPanel_->controls();
    for (QLabel* label : {c.bestDiffLabel, c.worstDiffLabel, c.averageDiffLabel}) {
        QFont font = label->font();
        int needed = QFontMetrics(font).horizontalAdvance(widestDifferenceText(font));
        if (needed > room) {
            const int stretch = font.stretch() > 0 ? font.stretch() : 100;
            font.setStretch(std::max(50, stretch * room / needed));
            label->setFont(font);
            needed = QFontMetrics(font).horizontalAdvance(widestDifferenceText(font));
        }
        label->resize(std::clamp(needed, label->width(), room), label->height());
    }
}

int MainWindow::px(double twips) const { return twipsToPixels(twips, logicalDpiOf(this)); }

void MainWindow::buildFrame() {
    client = new QWidget(this);  // owned by the window
    client->setObjectName("frmMainClient");
    QPalette background = client->palette();
    background.setColor(QPalette::Window, QColor(kWindowGrey));
    client->setPalette(background);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    commandToolBar = new QToolBar(this);  // owned by the window
    commandToolBar->setObjectName("tbToolBar");
    commandToolBar->setMovable(false);
    commandToolBar->setFloatable(false);
    commandToolBar->setIconSize(QSize(16, 16));
    commandToolBar->setFixedHeight(px(kToolBarTwips));
    commandToolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, commandToolBar);

    statusLine = new QStatusBar(this);  // owned by the window
    statusLine->setObjectName("sbStatusBar");
    statusLine->setSizeGripEnabled(true);
    statusLine->setMinimumHeight(px(kStatusBarTwips));
    statusPanel = new QLabel(statusLine);
    setFixedText(statusPanel, texts::kStatusPanelText);
    statusPanel->setObjectName("sbStatusBarStatus");
    datePanel = new QLabel(statusLine);
    datePanel->setObjectName("sbStatusBarDate");
    timePanel = new QLabel(statusLine);
    timePanel->setObjectName("sbStatusBarTime");
    statusLine->addWidget(statusPanel, 1);
    statusLine->addPermanentWidget(datePanel);
    statusLine->addPermanentWidget(timePanel);
    setStatusBar(statusLine);
    clockTimer = new QTimer(this);  // owned by the window
    clockTimer->setInterval(1000);
    connect(clockTimer, &QTimer::timeout, this, &MainWindow::updateClock);
    clockTimer->start();
    updateClock();
}

void MainWindow::placeControls() {
    auto place = [this](QWidget* widget, double left, double top, double width, double height) {
        widget->setGeometry(px(left), px(top - kToolBarTwips), px(width), px(height));
    };
    // On the toolbar's row at its own place, outside the toolbar's button layout.
    deviceLink_->portCombo().setGeometry(px(3000), px(75), px(1215), px(300));

    const LapPanelControls& c = lapPanel_->controls();
    const struct {
        QWidget* control;
        double left, top, width, height;
    } layout[] = {
        {c.runBlockFrame, 120, 840, 2535, 1095},     {c.lapBlockFrame, 2760, 840, 3615, 1095},
        {c.modelLabel, 120, 480, 1935, 255},         {c.versionLabel, 2160, 480, 6375, 255},
        {c.carIdCaption, 195, 840, 735, 255},        {c.carIdLabel, 1680, 840, 495, 255},
        {c.lapCountCaption, 195, 1200, 1215, 255},   {c.lapCountLabel, 1680, 1200, 495, 255},
        {c.targetCaption, 195, 1560, 1095, 255},     {c.targetLabel, 1440, 1560, 1095, 255},
        {c.bestCaption, 2805, 840, 945, 255},        {c.bestLapLabel, 3840, 840, 1335, 255},
        {c.bestDiffLabel, 5160, 840, 1215, 255},     {c.worstCaption, 2805, 1200, 945, 255},
        {c.worstLapLabel, 3840, 1200, 1335, 255},    {c.worstDiffLabel, 5160, 1200, 1215, 255},
        {c.averageCaption, 2805, 1560, 945, 255},    {c.averageLapLabel, 3840, 1560, 1335, 255},
        {c.averageDiffLabel, 5160, 1560, 1215, 255}, {c.raceLineLabel, 6480, 750, 2775, 255},
        {c.lapGrid, 6480, 990, 2775, 7095},          {c.lapChart, -120, 1920, 6735, 3855},
        {&memoPanel_->box(), 120, 5640, 6255, 2175},
    };
    for (const auto& entry : layout) {
        place(entry.control, entry.left, entry.top, entry.width, entry.height);
    }
    fitDifferenceLabels();
    // The chart starts left of the client edge and ends under the grid and the memo; keep
    // its axes and labels in view.
    c.lapChart->setContentsMargins(px(120), 0, px(6735 - 120 - 6480), px(1920 + 3855 - 5640));
    c.lapGrid->raise();

    contactLabel = new QLabel(QString::fromUtf8(texts::kContactLine), client);  // owned
    contactLabel->setObjectName("Label24");
    contactLabel->setFont(narrowLatinFont(9.75, true));
    setTextColor(*contactLabel, kNavy);
    place(contactLabel, 120, 7800, 5535, 255);
}

void MainWindow::updateClock() {
    const QLocale locale;
    const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString time = locale.toString(QTime::currentTime(), QLocale::ShortFormat);
    if (datePanel->text() != date) datePanel->setText(date);
    if (timePanel->text() != time) timePanel->setText(time);
}

void MainWindow::restorePlacement() {
    QSettings settings;
    const Placement p = readPlacement(settings);
    const double dpi = logicalDpiOf(this);
    QRect frame(twipsToPixels(p.left, dpi), twipsToPixels(p.top, dpi), twipsToPixels(p.width, dpi),
                twipsToPixels(p.height, dpi));
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    frame = keepOnScreen(frame, areas);
    placedFrame_ = frame;
    move(frame.topLeft());
    resize(frame.size());  // the frame's own size is known only once shown
}

// Stored sizes are outer sizes; once the window manager has framed the window, take the
// frame off the client so the outer size is what was stored and does not grow per start.
void MainWindow::fitFrameToPlacement() {
    if (frameFitted_ || !isVisible() || windowState() != Qt::WindowNoState) return;
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    if (frameExtra.width() <= 0 && frameExtra.height() <= 0) return;
    frameFitted_ = true;
    resize(placedFrame_.size() - frameExtra);
    move(placedFrame_.topLeft());
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitFrameToPlacement();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitFrameToPlacement();
}

// Newest first, so a window opened from another closes before its opener.
void MainWindow::closeOtherWindows() {
    const QList<QWidget*> owned = findChildren<QWidget*>();
    for (auto it = owned.crbegin(); it != owned.crend(); ++it) {
        if ((*it)->isWindow() && (*it)->isVisible()) (*it)->close();
    }
}

void MainWindow::storePlacement() {
    // A minimised window keeps what was stored before.
    if (isMinimized()) return;
    const QRect frame = frameGeometry();
    const double dpi = logicalDpiOf(this);
    QSettings settings;
    writePlacement(settings,
                   {pixelsToTwips(frame.x(), dpi), pixelsToTwips(frame.y(), dpi),
                    pixelsToTwips(frame.width(), dpi), pixelsToTwips(frame.height(), dpi)});
}

void MainWindow::closeEvent(QCloseEvent* event) {
    deviceLink_->closePortIfOpen();
    closeOtherWindows();
    storePlacement();
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) session_->announceLanguageChanged();
    QMainWindow::changeEvent(event);
}

}  // namespace korimet
