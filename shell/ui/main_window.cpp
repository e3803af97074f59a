#include "shell/ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <array>

#include "lapdata/numeric_picture.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/twips.h"
#include "shell/ui/accessible_names.h"
#include "shell/ui/icon_resources.h"
#include "shell/ui/shell_texts.h"
#include "shell/ui/ui_fonts.h"
#include "shell/ui/window_placement.h"

namespace korimet {

namespace {

// The layout is designed on a client area whose top 420 twips are the toolbar; the
// controls below it sit in the central widget, so their tops move up by that much.
constexpr double kToolBarTwips = 420;
constexpr double kStatusBarTwips = 270;

constexpr QRgb kWindowGrey = 0x808080;
constexpr QRgb kShapeGrey = 0xC0C0C0;
constexpr QRgb kYellow = 0xFFFF00;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kNavy = 0x000080;

constexpr double kRowTwipsAtStart = 230;
// From the difference labels' left edge (5160) to the grid's (6480).
constexpr double kDifferenceRoomTwips = 6480 - 5160;
constexpr std::array<double, LapGrid::kColumns> kColumnTwips = {400, 900, 400, 900};

// The file the file dialogs start beside: the one File > Save writes to, else the one the
// shown run was read from.
QString dialogFolderFile(const RunSession& session) {
    return session.currentFileName().isEmpty() ? session.sourceFileName()
                                               : session.currentFileName();
}

void setTextColor(QWidget* widget, QRgb rgb) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(rgb));
    widget->setPalette(palette);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      session_(new RunSession(this)),
      dialogs_(std::make_unique<QtDialogs>(this, [this] { return dialogFolderFile(*session_); })) {
    setObjectName("frmMain");
    setWindowTitle(texts::kAppTitle);
    setWindowIcon(applicationIcon());
    setFont(japaneseGothicFont(9));
    buildLayout();
    nameControlsForScreenReaders(*this);
    setupCommandBars();
    setupDeviceLink();
    setupChartEditing();
    setupRunSession();

    // Load step.
    restorePlacement();
    readTemplateFile();
    prepareLapGrid();
}

MainWindow::~MainWindow() = default;

void MainWindow::setupRunSession() {
    // Connected first, so whoever listens after the window sees the run already shown. The
    // template fills the record before the grid is prepared and is not drawn.
    connect(session_, &RunSession::runReplaced, this, [this](const RunChange& change) {
        if (change.origin != RunOrigin::Template) showLapData();
    });
    session_->installDoors(
        [this](const QString& path, RunOrigin origin) { return readRunFile(path, origin); },
        [this](const QString& path) { return readComparisonFile(path); },
        [this] { return memoBox->toPlainText(); });
}

namespace {

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

void MainWindow::fitDifferenceLabels() {
    // The designed 1215 twips cut "(▼18.27sec)". Grow to the right as far as the text needs,
    // up to the grid's left edge; beyond that narrow the face, as the grid's times are.
    const int room = px(kDifferenceRoomTwips);
    for (QLabel* label : {bestDiffLabel, worstDiffLabel, averageDiffLabel}) {
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

void MainWindow::buildLayout() {
    auto* central = new QWidget(this);  // owned by the window
    central->setObjectName("frmMainClient");
    QPalette background = central->palette();
    background.setColor(QPalette::Window, QColor(kWindowGrey));
    central->setPalette(background);
    central->setAutoFillBackground(true);
    setCentralWidget(central);
    auto place = [this](QWidget* widget, double left, double top, double width, double height) {
        widget->setGeometry(px(left), px(top - kToolBarTwips), px(width), px(height));
    };

    commandToolBar = new QToolBar(this);  // owned by the window
    commandToolBar->setObjectName("tbToolBar");
    commandToolBar->setMovable(false);
    commandToolBar->setFloatable(false);
    commandToolBar->setIconSize(QSize(16, 16));
    commandToolBar->setFixedHeight(px(kToolBarTwips));
    commandToolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, commandToolBar);

    // On the toolbar's row at its own place, outside the toolbar's button layout.
    portCombo = new QComboBox(commandToolBar);  // owned by the toolbar
    portCombo->setObjectName("Combo1");
    portCombo->setEditable(true);
    portCombo->setInsertPolicy(QComboBox::NoInsert);
    // The text only shows the pick; typed text must neither change it nor open a port.
    portCombo->lineEdit()->setReadOnly(true);
    portCombo->setCompleter(nullptr);
    for (int n = 1; n <= 8; ++n) portCombo->addItem(QStringLiteral("COM%1").arg(n));
    portCombo->setCurrentIndex(-1);
    portCombo->setEditText(texts::kPortComboText);
    portCombo->setGeometry(px(3000), px(75), px(1215), px(300));

    // Frames first, so that the labels inside them are drawn on top.
    auto makeFrame = [&](const char* name, double l, double t, double w, double h) {
        auto* frame = new QFrame(central);  // owned by the client widget
        frame->setObjectName(name);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        setTextColor(frame, kShapeGrey);
        place(frame, l, t, w, h);
        return frame;
    };
    runBlockFrame = makeFrame("Shape1", 120, 840, 2535, 1095);
    lapBlockFrame = makeFrame("Shape4", 2760, 840, 3615, 1095);

    struct LabelLayout {
        QLabel* MainWindow::*member;
        const char* name;
        double left, top, width, height;
        const char* text;
        QRgb color;
        bool bold;
    };
    const LabelLayout labels[] = {
        {&MainWindow::modelLabel, "Label2", 120, 480, 1935, 255, "", kYellow, true},
        {&MainWindow::versionLabel, "Label3", 2160, 480, 6375, 255, "", kYellow, true},
        {&MainWindow::carIdCaption, "Label10", 195, 840, 735, 255, texts::kCarIdCaption, kBlack,
         true},
        {&MainWindow::carIdLabel, "Label4", 1680, 840, 495, 255, "", kBlack, false},
        {&MainWindow::lapCountCaption, "Label11", 195, 1200, 1215, 255, texts::kLapCountCaption,
         kBlack, true},
        {&MainWindow::lapCountLabel, "Label5", 1680, 1200, 495, 255, "", kBlack, false},
        {&MainWindow::targetCaption, "Label1", 195, 1560, 1095, 255, texts::kTargetCaption, kBlack,
         true},
        {&MainWindow::targetLabel, "Label6", 1440, 1560, 1095, 255, "", kYellow, false},
        {&MainWindow::bestCaption, "Label16", 2805, 840, 945, 255, texts::kBestCaption, kBlack,
         true},
        {&MainWindow::bestLapLabel, "Label17", 3840, 840, 1335, 255, "", kBlue, false},
        {&MainWindow::bestDiffLabel, "Label25", 5160, 840, 1215, 255, "", kBlack, false},
        {&MainWindow::worstCaption, "Label20", 2805, 1200, 945, 255, texts::kWorstCaption, kBlack,
         true},
        {&MainWindow::worstLapLabel, "Label21", 3840, 1200, 1335, 255, "", kRed, false},
        {&MainWindow::worstDiffLabel, "Label26", 5160, 1200, 1215, 255, "", kBlack, false},
        {&MainWindow::averageCaption, "Label18", 2805, 1560, 945, 255, texts::kAverageCaption,
         kBlack, true},
        {&MainWindow::averageLapLabel, "Label19", 3840, 1560, 1335, 255, "", kBlack, false},
        {&MainWindow::averageDiffLabel, "Label27", 5160, 1560, 1215, 255, "", kBlack, false},
    };
    for (const LabelLayout& entry : labels) {
        auto* label = new QLabel(QString::fromUtf8(entry.text), central);  // owned by the client
        label->setObjectName(entry.name);
        label->setFont(japaneseGothicFont(12, entry.bold));
        setTextColor(label, entry.color);
        place(label, entry.left, entry.top, entry.width, entry.height);
        this->*entry.member = label;
    }

    fitDifferenceLabels();

    raceLineLabel = new QLabel(central);  // owned by the client widget
    raceLineLabel->setObjectName("Label7");
    QPalette white = raceLineLabel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    raceLineLabel->setPalette(white);
    raceLineLabel->setAutoFillBackground(true);
    place(raceLineLabel, 6480, 750, 2775, 255);

    lapGrid = new LapGrid(central);  // owned by the client widget
    lapGrid->setObjectName("MSFlexGrid1");
    lapGrid->setFont(japaneseGothicFont(9));
    place(lapGrid, 6480, 990, 2775, 7095);

    lapChart = new LapChart(central);  // owned by the client widget
    lapChart->setObjectName("MSChart1");
    place(lapChart, -120, 1920, 6735, 3855);
    // It starts left of the client edge and ends under the grid and the memo; keep its
    // axes and labels in view.
    lapChart->setContentsMargins(px(120), 0, px(6735 - 120 - 6480), px(1920 + 3855 - 5640));
    lapGrid->raise();

    // After the chart: the memo's top edge overlaps the chart's bottom margin.
    memoBox = new QTextEdit(central);  // owned by the client widget
    memoBox->setObjectName("RichTextBox1");
    memoBox->setFont(japaneseGothicFont(9));
    memoBox->setAcceptRichText(true);
    memoBox->setPlainText(texts::kMemoInitialText);
    place(memoBox, 120, 5640, 6255, 2175);

    contactLabel = new QLabel(QString::fromUtf8(texts::kContactLine), central);  // owned
    contactLabel->setObjectName("Label24");
    contactLabel->setFont(narrowLatinFont(9.75, true));
    setTextColor(contactLabel, kNavy);
    place(contactLabel, 120, 7800, 5535, 255);

    statusLine = new QStatusBar(this);  // owned by the window
    statusLine->setObjectName("sbStatusBar");
    statusLine->setSizeGripEnabled(true);
    statusLine->setMinimumHeight(px(kStatusBarTwips));
    statusPanel = new QLabel(QString::fromUtf8(texts::kStatusPanelText), statusLine);
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

void MainWindow::updateClock() {
    const QLocale locale;
    const QString date = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString time = locale.toString(QTime::currentTime(), QLocale::ShortFormat);
    if (datePanel->text() != date) datePanel->setText(date);
    if (timePanel->text() != time) timePanel->setText(time);
}

void MainWindow::setDialogs(std::unique_ptr<Dialogs> dialogs) {
    if (dialogs) dialogs_ = std::move(dialogs);
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

void MainWindow::prepareLapGrid() {
    lapGrid->setRowHeightTwips(-1, kRowTwipsAtStart);
    for (int c = 0; c < LapGrid::kColumns; ++c) {
        lapGrid->setColWidthTwips(c, kColumnTwips[static_cast<std::size_t>(c)]);
    }
    const auto cells = emptyGridCells();
    for (int r = 0; r < LapGrid::kRows; ++r) {
        for (int c = 0; c < LapGrid::kColumns; ++c) {
            lapGrid->setTextMatrix(
                r, c,
                QString::fromStdString(
                    cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        }
    }
    lapGrid->setVisible(false);
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
    closePortIfOpen();
    closeOtherWindows();
    storePlacement();
    QMainWindow::closeEvent(event);
}

}  // namespace korimet
