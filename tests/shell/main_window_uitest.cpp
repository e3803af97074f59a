#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest/QTest>
#include <memory>

#include "lapdata/numeric_picture.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/twips.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"
#include "shell/ui/window_placement.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/window_fixture.h"

namespace korimet {
namespace {

using test::frameFor;
using test::runOfLaps;
using test::runWithLaps;

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        window = std::make_unique<MainWindow>();
    }

    QString label(const char* name) const {
        const auto* found = window->findChild<QLabel*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found ? found->text() : QString("<missing>");
    }
    LapGrid& grid() const { return *window->findChild<LapGrid*>("MSFlexGrid1"); }
    LapChart& chart() const { return *window->findChild<LapChart*>("MSChart1"); }

    // Everything the model says must be on screen, cell by cell and label by label.
    void expectShows(const LapView& view) const {
        const LapGrid& g = grid();
        EXPECT_TRUE(g.isVisibleTo(window.get()));
        for (int r = 0; r < LapGrid::kRows; ++r) {
            for (int c = 0; c < LapGrid::kColumns; ++c) {
                const auto rr = static_cast<std::size_t>(r);
                const auto cc = static_cast<std::size_t>(c);
                EXPECT_EQ(g.textMatrix(r, c).toStdString(), view.cells[rr][cc]) << r << "," << c;
                if (r > 0) {
                    EXPECT_EQ(g.cellBackColor(r, c), view.colors[rr][cc]) << r << "," << c;
                }
            }
            if (r > 0) {
                EXPECT_EQ(g.rowHeightPixels(r), twipsToPixels(220, logicalDpiOf(&g)));
            }
        }
        EXPECT_EQ(label("Label4").toStdString(), view.carText);
        EXPECT_EQ(label("Label5").toStdString(), view.lapCountText);
        EXPECT_EQ(label("Label6").toStdString(), view.targetText);
        EXPECT_EQ(label("Label17").toStdString(), view.bestText);
        EXPECT_EQ(label("Label19").toStdString(), view.averageText);
        EXPECT_EQ(label("Label21").toStdString(), view.worstText);
        EXPECT_EQ(label("Label7").toStdString(), view.raceLine);
        for (const char* name : {"Label25", "Label26", "Label27"}) EXPECT_EQ(label(name), "");
        EXPECT_EQ(chart().isVisibleTo(window.get()), view.chartVisible);
        EXPECT_EQ(window->lapPanel().statistics().lapTotal, view.stats.lapTotal);
        EXPECT_EQ(window->lapPanel().statistics().bestLap, view.stats.bestLap);
        EXPECT_EQ(window->lapPanel().statistics().worstLap, view.stats.worstLap);
        EXPECT_EQ(window->lapPanel().statistics().averageLap, view.stats.averageLap);
        if (view.chart) {
            EXPECT_EQ(window->lapPanel().chartData(), *view.chart);
            expectChartPlots(*view.chart);
        }
    }

    void expectChartPlots(const ChartTable& table) const {
        const LapChart& c = chart();
        ASSERT_EQ(c.seriesCount(), 1);
        ASSERT_EQ(c.pointCount(0), static_cast<int>(table.size()));
        for (std::size_t r = 0; r < table.size(); ++r) {
            EXPECT_EQ(c.categoryLabels()[static_cast<qsizetype>(r)].toStdString(), table[r].label);
            EXPECT_EQ(c.pointValue(0, static_cast<int>(r)), table[r].values[0]);
        }
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, EveryLayoutControlExistsUnderItsLayoutName) {
    EXPECT_EQ(window->objectName(), "frmMain");
    EXPECT_EQ(window->windowTitle(), texts::kAppTitle);
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7",
                             "Label10", "Label11", "Label16", "Label17", "Label18", "Label19",
                             "Label20", "Label21", "Label24", "Label25", "Label26", "Label27"}) {
        EXPECT_NE(window->findChild<QLabel*>(name), nullptr) << name;
    }
    EXPECT_NE(window->findChild<QFrame*>("Shape1"), nullptr);
    EXPECT_NE(window->findChild<QFrame*>("Shape4"), nullptr);
    EXPECT_NE(window->findChild<LapGrid*>("MSFlexGrid1"), nullptr);
    EXPECT_NE(window->findChild<LapChart*>("MSChart1"), nullptr);
    EXPECT_NE(window->findChild<QTextEdit*>("RichTextBox1"), nullptr);
    EXPECT_NE(window->findChild<QComboBox*>("Combo1"), nullptr);
    EXPECT_NE(window->findChild<QStatusBar*>("sbStatusBar"), nullptr);
    const auto* toolBar = window->findChild<QToolBar*>("tbToolBar");
    ASSERT_NE(toolBar, nullptr);
    EXPECT_FALSE(toolBar->isMovable());
    EXPECT_EQ(window->toolBarArea(const_cast<QToolBar*>(toolBar)), Qt::TopToolBarArea);
}

TEST_F(MainWindowTest, StartsWithTheDesignedContentAndTheGridHidden) {
    window->show();
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label17",
                             "Label19", "Label21", "Label25", "Label26", "Label27"}) {
        EXPECT_EQ(label(name), "") << name;
    }
    EXPECT_EQ(label("Label10"), texts::kCarIdCaption);
    EXPECT_EQ(label("Label11"), texts::kLapCountCaption);
    EXPECT_EQ(label("Label1"), texts::kTargetCaption);
    EXPECT_EQ(label("Label16"), texts::kBestCaption);
    EXPECT_EQ(label("Label20"), texts::kWorstCaption);
    EXPECT_EQ(label("Label18"), texts::kAverageCaption);
    EXPECT_EQ(label("Label24"), texts::kContactLine);
    EXPECT_EQ(label("sbStatusBarStatus"), texts::kStatusPanelText);
    EXPECT_FALSE(label("sbStatusBarDate").isEmpty());
    EXPECT_FALSE(label("sbStatusBarTime").isEmpty());

    const auto* combo = window->findChild<QComboBox*>("Combo1");
    EXPECT_EQ(combo->currentText(), texts::kPortComboText);
    ASSERT_EQ(combo->count(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(combo->itemText(i), QString("COM%1").arg(i + 1));
    EXPECT_EQ(window->findChild<QTextEdit*>("RichTextBox1")->toPlainText(),
              texts::kMemoInitialText);

    LapGrid& g = grid();
    EXPECT_FALSE(g.isVisibleTo(window.get()));
    const auto expected = emptyGridCells();
    for (int r = 0; r < LapGrid::kRows; ++r) {
        for (int c = 0; c < LapGrid::kColumns; ++c) {
            EXPECT_EQ(g.textMatrix(r, c).toStdString(),
                      expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        }
    }
    const double dpi = logicalDpiOf(&g);
    EXPECT_EQ(g.rowHeightPixels(1), twipsToPixels(230, dpi));
    const int widths[] = {400, 900, 400, 900};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(g.colWidthPixels(c), twipsToPixels(widths[c], dpi));
    EXPECT_EQ(chart().seriesCount(), 1);
    EXPECT_EQ(chart().seriesName(0), "Car1");
    EXPECT_EQ(window->lapPanel().chartData(), ChartTable{});
}

TEST_F(MainWindowTest, TypingIntoThePortComboHasNoEffect) {
    auto* calls = &test::fakeDialogsFor(*window).calls;
    window->show();
    auto* combo = window->findChild<QComboBox*>("Combo1");
    combo->setFocus();
    QTest::keyClicks(combo, "COM3");
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), texts::kPortComboText);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_TRUE(calls->empty());  // no port was tried, so no failure message either
}

TEST_F(MainWindowTest, JapaneseTextsUseAFontThatHasTheirGlyphs) {
    for (const char* name : {"Label11", "Label1"}) {
        const auto* l = window->findChild<QLabel*>(name);
        const QFontMetrics metrics(l->font());
        for (const QChar ch : l->text()) EXPECT_TRUE(metrics.inFont(ch)) << name;
    }
}

TEST_F(MainWindowTest, LapTimesFitTheirDesignedCells) {
    // The widest time text: every digit at its widest.
    QString widest;
    int widestAdvance = 0;
    for (QChar d : QString("0123456789")) {
        const QString candidate = QString("%1%1m%1%1s%1%1").arg(d);
        const int advance = QFontMetrics(grid().font()).horizontalAdvance(candidate);
        if (advance > widestAdvance) {
            widestAdvance = advance;
            widest = candidate;
        }
    }
    EXPECT_LE(widestAdvance, grid().colWidthPixels(1) - 4) << widest.toStdString();
    for (const char* name : {"Label6", "Label17", "Label19", "Label21"}) {
        const auto* l = window->findChild<QLabel*>(name);
        EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(widest), l->width()) << name;
    }
}

TEST_F(MainWindowTest, EveryDifferenceFitsItsLabel) {
    const auto* grid = window->findChild<LapGrid*>("MSFlexGrid1");
    for (const char* name : {"Label25", "Label26", "Label27"}) {
        const auto* l = window->findChild<QLabel*>(name);
        ASSERT_NE(l, nullptr) << name;
        const QFontMetrics metrics(l->font());
        // Every digit at its widest, both signs, up to two whole digits.
        QString widest;
        for (int d = 0; d <= 9; ++d) {
            for (const double value : {11.11 * d, -11.11 * d, 0.11 * d, -0.11 * d}) {
                const QString text = QString::fromStdString(formatDifferencePicture(value));
                if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(widest)) {
                    widest = text;
                }
            }
        }
        EXPECT_TRUE(widest.startsWith(QString::fromUtf8("(▼"))) << widest.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(widest), l->width())
            << name << " " << widest.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8("(▼18.27sec)")), l->width()) << name;
        // Left edge and height as designed; it grows no further than the grid.
        EXPECT_EQ(l->x(), twipsToPixels(5160, logicalDpiOf(l)));
        EXPECT_EQ(l->height(), twipsToPixels(255, logicalDpiOf(l)));
        EXPECT_GE(l->width(), twipsToPixels(1215, logicalDpiOf(l)));
        EXPECT_LE(l->x() + l->width(), grid->x()) << name;
    }
}

// A frame handed over in any split shows exactly what the model computes for it.
class FrameSplitTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(FrameSplitTest, FrameInPiecesShowsTheModel) {
    const LapData run = runOfLaps(42, 63.0, 17);
    const QByteArray frame = frameFor(run, 2, 15);
    const int piece = GetParam();
    for (qsizetype at = 0; at < frame.size(); at += piece)
        window->deviceLink().feedBytes(frame.mid(at, piece));

    EXPECT_EQ(window->currentData(), run);
    EXPECT_EQ(label("Label2"), "Quintrel");
    EXPECT_EQ(label("Label3"), "Ver1.5");
    EXPECT_TRUE(window->currentFileName().isEmpty());
    const LapView view = buildLapView(run);
    expectShows(view);
    ASSERT_TRUE(view.raceTotal.has_value());
    EXPECT_EQ(window->lapPanel().raceTotal(), *view.raceTotal);
    // Spot checks that do not lean on the model: lap 31 is in row 1 on the right.
    EXPECT_EQ(grid().textMatrix(1, 2), "31");
    EXPECT_EQ(grid().textMatrix(1, 3), "01m02s10");  // 6000 + 30 * 37 % 900
    EXPECT_EQ(grid().textMatrix(13, 3), "--m--s--");
}

INSTANTIATE_TEST_SUITE_P(Splits, FrameSplitTest, ::testing::Values(134, 1, 7, 100, 133));

TEST_F(MainWindowTest, EachFrameIsShownBeforeTheNextByteIsFed) {
    // Two frames in one delivery: the first one's model name survives a second frame
    // whose model code leaves the label alone, which only works if the first was shown.
    const LapData first = runWithLaps({61.0, 62.0});
    const LapData second = runWithLaps({70.5}, 80.0);
    window->deviceLink().feedBytes(frameFor(first, 10, 12) + frameFor(second, 5, 30));
    EXPECT_EQ(label("Label2"), "Belto");
    EXPECT_EQ(label("Label3"), "Ver3.0");
    EXPECT_EQ(window->currentData(), second);
    expectShows(buildLapView(second));
}

TEST_F(MainWindowTest, ASecondFrameWithFewerLapsLeavesNoTrace) {
    window->deviceLink().feedBytes(frameFor(runOfLaps(60, 64.0, 30)));
    const LapData shorter = runWithLaps({65.43, 64.21, 66.0});
    window->deviceLink().feedBytes(frameFor(shorter, 11));
    EXPECT_EQ(label("Label2"), "Marrix");
    expectShows(buildLapView(shorter));
    EXPECT_EQ(chart().pointCount(0), 3);
    EXPECT_EQ(grid().cellBackColor(30, 3), kCellWhite);
    EXPECT_EQ(grid().textMatrix(30, 3), "--m--s--");
}

TEST_F(MainWindowTest, BadFrameChangesNothingOnScreen) {
    const LapData run = runWithLaps({61.0, 62.0});
    window->deviceLink().feedBytes(frameFor(run));
    QByteArray bad = frameFor(runWithLaps({50.0}));
    bad[bad.size() - 1] = static_cast<char>(bad[bad.size() - 1] + 1);
    window->deviceLink().feedBytes(bad);
    EXPECT_EQ(window->currentData(), run);
    expectShows(buildLapView(run));
}

TEST_F(MainWindowTest, NoLapsHidesTheChartButKeepsItsTableAndTheRaceTotal) {
    window->deviceLink().feedBytes(frameFor(runWithLaps({61.0, 62.0}, kNoTargetTime, 1)));
    const ChartTable before = window->lapPanel().chartData();
    const double raceBefore = window->lapPanel().raceTotal();
    ASSERT_GT(raceBefore, 0.0);

    window->deviceLink().feedBytes(frameFor(runWithLaps({})));
    const LapView view = buildLapView(runWithLaps({}));
    expectShows(view);
    EXPECT_FALSE(chart().isVisibleTo(window.get()));
    EXPECT_EQ(window->lapPanel().chartData(), before);
    EXPECT_EQ(window->lapPanel().raceTotal(), raceBefore);
    EXPECT_EQ(label("Label5"), "00L");
    EXPECT_EQ(label("Label17"), "00m00s00");
}

TEST_F(MainWindowTest, DialogsCanBeReplaced) {
    auto fake = std::make_unique<test::FakeDialogs>();
    test::FakeDialogs* script = fake.get();
    script->answers.push_back("typed");
    window->setDialogs(std::move(fake));
    EXPECT_EQ(window->dialogs().inputText("prompt", "title", "default"), "typed");
    ASSERT_EQ(script->calls.size(), 1u);
    EXPECT_EQ(script->calls[0].defaultText, "default");
}

// ---- Placement ----

QRect expectedFrame(const Placement& p, const QWidget& w) {
    const double dpi = logicalDpiOf(&w);
    return QRect(twipsToPixels(p.left, dpi), twipsToPixels(p.top, dpi), twipsToPixels(p.width, dpi),
                 twipsToPixels(p.height, dpi));
}

Placement storedPlacement() {
    QSettings settings;
    return readPlacement(settings);
}

void store(const char* key, const QString& text) {
    QSettings settings;
    settings.setValue(QString("Settings/") + key, text);
}

TEST_F(MainWindowTest, FirstStartUsesTheDefaultPlacement) {
    window->show();
    EXPECT_EQ(window->frameGeometry(), expectedFrame(Placement{200, 200, 9500, 9240}, *window));
}

TEST_F(MainWindowTest, PlacementIsStoredOnCloseAsTextAndRestoredByTheNextWindow) {
    window->show();
    window->setGeometry(40, 50, 500, 400);
    window->close();
    {
        QSettings settings;
        const QVariant left = settings.value("Settings/MainLeft");
        EXPECT_EQ(left.typeId(), QMetaType::QString);
        const double dpi = logicalDpiOf(window.get());
        EXPECT_EQ(left.toString(), twipsText(pixelsToTwips(window->frameGeometry().x(), dpi)));
    }
    const QRect closedAt = window->frameGeometry();
    MainWindow next;
    next.show();
    EXPECT_EQ(next.frameGeometry(), closedAt);
}

TEST_F(MainWindowTest, MinimisedCloseKeepsTheStoredPlacement) {
    store("MainLeft", "1500");
    store("MainTop", "1200");
    store("MainWidth", "7000");
    store("MainHeight", "6000");
    MainWindow w;
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    w.close();
    EXPECT_EQ(storedPlacement(), (Placement{1500, 1200, 7000, 6000}));
}

TEST_F(MainWindowTest, MaximisedCloseStoresItsBoundsAndReturnsAsANormalWindow) {
    window->showMaximized();
    ASSERT_TRUE(window->isMaximized());
    const QRect maximised = window->frameGeometry();
    window->close();
    MainWindow next;
    next.show();
    EXPECT_FALSE(next.isMaximized());
    EXPECT_EQ(next.frameGeometry(), maximised);
}

struct BadStoredValue {
    const char* key;
    const char* text;
};

class BadStoredValueTest : public MainWindowTest,
                           public ::testing::WithParamInterface<BadStoredValue> {};

TEST_P(BadStoredValueTest, FallsBackToThatKeysDefaultOnly) {
    store("MainLeft", "300");
    store("MainTop", "450");
    store("MainWidth", "8000");
    store("MainHeight", "7000");
    store(GetParam().key, GetParam().text);
    Placement expected{300, 450, 8000, 7000};
    const Placement defaults;
    const std::string key = GetParam().key;
    if (key == "MainLeft") expected.left = defaults.left;
    if (key == "MainTop") expected.top = defaults.top;
    if (key == "MainWidth") expected.width = defaults.width;
    if (key == "MainHeight") expected.height = defaults.height;
    MainWindow w;
    w.show();
    EXPECT_EQ(w.frameGeometry(), expectedFrame(expected, w));
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadStoredValueTest,
    ::testing::Values(BadStoredValue{"MainLeft", "abc"}, BadStoredValue{"MainTop", ""},
                      BadStoredValue{"MainWidth", "12x"}, BadStoredValue{"MainHeight", "nan"},
                      BadStoredValue{"MainWidth", "-5"}, BadStoredValue{"MainHeight", "0"},
                      BadStoredValue{"MainLeft", "1e30"}, BadStoredValue{"MainTop", "inf"}));

TEST_F(MainWindowTest, PlacementNoScreenShowsComesBackOntoTheScreen) {
    store("MainLeft", "-200000");
    store("MainTop", "300000");
    store("MainWidth", "6000");
    store("MainHeight", "5000");
    MainWindow w;
    w.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.frameGeometry()))
        << w.frameGeometry().x() << "," << w.frameGeometry().y();
    EXPECT_EQ(w.frameGeometry().size(), expectedFrame({0, 0, 6000, 5000}, w).size());
}

TEST_F(MainWindowTest, ClosingTheWindowClosesItsOtherWindows) {
    window->show();
    auto* about = new QDialog(window.get());  // owned by the window
    about->show();
    ASSERT_TRUE(about->isVisible());
    window->close();
    EXPECT_FALSE(about->isVisible());
}

}  // namespace
}  // namespace korimet
