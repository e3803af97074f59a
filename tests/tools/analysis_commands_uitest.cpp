#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "files/data_file.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_grid.h"
#include "sheet/lap_sheet.h"
#include "sheet/ui/lap_sheet_commands.h"
#include "shell/ui/main_window.h"
#include "support/double_press.h"
#include "support/fake_dialogs.h"
#include "support/frames.h"
#include "support/run_cli.h"
#include "support/window_fixture.h"
#include "tools/tool_texts.h"

namespace korimet {
namespace {

using test::FakeDialogs;
using test::frameFor;
using test::runOfLaps;
using test::runWithLaps;
using Kind = FakeDialogs::Kind;

QString u8(const char* text) { return QString::fromUtf8(text); }

LapData everyLapOf(double seconds, int count) {
    LapData d;
    d.carId = 3;
    d.lapCount = static_cast<std::uint8_t>(count);
    for (int i = 0; i < count; ++i) d.laps[static_cast<std::size_t>(i)] = seconds;
    return d;
}

// Fifteen laps of 61 s, the fastest in slot 3 and the slowest in slot 13.
LapData comparisonOf15() {
    LapData d = everyLapOf(61.0, 15);
    d.laps[3] = 59.5;
    d.laps[13] = 66.0;
    return d;
}

class AnalysisCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings().clear();
        window = test::windowWithFakeDialogs(dialogs);
    }

    QString label(const char* name) const {
        const auto* found = window->findChild<QLabel*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found ? found->text() : QString("<missing>");
    }
    void setLabel(const char* name, const QString& text) const {
        window->findChild<QLabel*>(name)->setText(text);
    }
    LapChart& chart() const { return *window->findChild<LapChart*>("MSChart1"); }
    LapGrid& grid() const { return *window->findChild<LapGrid*>("MSFlexGrid1"); }
    QString memo() const { return window->findChild<QTextEdit*>("RichTextBox1")->toPlainText(); }

    void load(const LapData& run) const { window->deviceLink().feedBytes(frameFor(run)); }

    QString writeRun(const QString& name, const LapData& run) const {
        const QString path = dir.filePath(name);
        const SaveResult saved = saveDataFile(path.toStdString(), run, "memo of the other run");
        EXPECT_TRUE(saved) << saved.error;
        return path;
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Answers the open dialog with `path` and runs the command.
    void compareWith(const QString& path) const {
        dialogs->answers.push_back(path);
        window->analysisCommands().compareData();
    }

    // Everything a comparison may change and the lap data view shows, to prove it stayed.
    struct Display {
        LapData comparisonData;
        ChartTable chartData;
        std::vector<std::vector<std::optional<double>>> plotted;
        QStringList categories;
        QString label25, label26, label27, label7;
        bool operator==(const Display&) const = default;
    };
    Display display() const {
        Display d{window->comparisonData(),
                  window->lapPanel().chartData(),
                  {},
                  chart().categoryLabels(),
                  label("Label25"),
                  label("Label26"),
                  label("Label27"),
                  label("Label7")};
        for (int s = 0; s < chart().seriesCount(); ++s) {
            d.plotted.emplace_back();
            for (int p = 0; p < chart().pointCount(s); ++p) {
                d.plotted.back().push_back(chart().pointValue(s, p));
            }
        }
        return d;
    }

    double tickStep() const {
        auto* ticker = dynamic_cast<QCPAxisTickerFixed*>(chart().plot()->yAxis->ticker().data());
        return ticker ? ticker->tickStep() : 0.0;
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = nullptr;  // owned by the window
};

// ---- Race simulation ----

TEST_F(AnalysisCommandsTest, RaceSimulationWritesTheRaceLineForEachAnswer) {
    struct Case {
        const char* name;
        LapData run;
        std::optional<const char*> answer;  // none: Cancel
        std::optional<const char*> line;    // none: Label7 keeps what it had
    };
    const Case cases[] = {
        {"five minutes of 60 s laps", everyLapOf(60.0, 10), "5", "5分レース模擬 5Lap 05m00s00"},
        {"five minutes of 61 s laps", everyLapOf(61.0, 10), "5", "5分レース模擬 5Lap 05m05s00"},
        {"a fifth of a minute", everyLapOf(60.0, 10), "0.2", "分レース模擬 1Lap 01m00s00"},
        {"empty slots are walked too", everyLapOf(60.0, 10), "20", "20分レース模擬 60Lap 10m00s00"},
        {"zero", everyLapOf(60.0, 10), "0", ""},
        {"negative", everyLapOf(60.0, 10), "-3", ""},
        {"not a number", everyLapOf(60.0, 10), "abc", std::nullopt},
        {"empty answer", everyLapOf(60.0, 10), "", std::nullopt},
        {"cancel", everyLapOf(60.0, 10), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(c.run);
        const QString before = u8("以前の結果");
        setLabel("Label7", before);
        const LapData current = window->currentData();
        const LapData comparison = window->comparisonData();
        const double raceTotal = window->lapPanel().raceTotal();
        dialogs->calls.clear();
        dialogs->answers.clear();
        if (c.answer) dialogs->answers.push_back(u8(*c.answer));

        window->analysisCommands().simulateRace();

        ASSERT_EQ(dialogs->calls.size(), 1u);
        const FakeDialogs::Call& asked = dialogs->calls[0];
        EXPECT_EQ(asked.kind, Kind::Input);
        EXPECT_EQ(asked.text, u8("レース想定時間を分単位で入力"));
        EXPECT_EQ(asked.title, u8("レース時間"));
        EXPECT_EQ(asked.defaultText, "");
        EXPECT_EQ(label("Label7"), c.line ? u8(*c.line) : before);
        EXPECT_EQ(window->currentData(), current);
        EXPECT_EQ(window->comparisonData(), comparison);
        EXPECT_EQ(window->lapPanel().raceTotal(), raceTotal);
    }
}

TEST_F(AnalysisCommandsTest, ToolsRefuseARunWithoutLapsWithoutAsking) {
    load(runWithLaps({}));
    ASSERT_EQ(window->currentData().lapCount, 0);
    setLabel("Label7", "kept");

    struct Case {
        void (AnalysisCommands::*command)();
        const char* message;
        const char* title;
    };
    const Case cases[] = {
        {&AnalysisCommands::simulateRace, "データ未読込み", "レース模擬"},
        {&AnalysisCommands::compareData, "比較元データ未読込み", "データ比較"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        dialogs->calls.clear();
        dialogs->answers = {"5", writeRun("other.krt", runOfLaps(5))};
        const Display before = display();

        (window->analysisCommands().*c.command)();

        ASSERT_EQ(dialogs->calls.size(), 1u);
        EXPECT_EQ(dialogs->calls[0].kind, Kind::Message);
        EXPECT_EQ(dialogs->calls[0].text, u8(c.message));
        EXPECT_EQ(dialogs->calls[0].title, u8(c.title));
        EXPECT_EQ(dialogs->calls[0].icon, MessageIcon::Critical);
        EXPECT_EQ(display(), before);
    }
}

// ---- Data comparison ----

TEST_F(AnalysisCommandsTest, ComparisonShowsBothRunsAndTheDifferences) {
    load(runOfLaps(12));  // 60.00 .. 64.07, best 60.00, worst 64.07, average 62.035
    const QString path = writeRun("other.krt", comparisonOf15());
    const QString memoBefore = memo();
    const QString model = label("Label2");
    const QString version = label("Label3");
    const QString fileName = window->currentFileName();
    const LapData current = window->currentData();
    dialogs->calls.clear();

    compareWith(path);

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::OpenPath);
    EXPECT_EQ(dialogs->calls[0].title, u8("開く"));
    EXPECT_EQ(dialogs->calls[0].filter, u8("Korimet DATAﾌｧｲﾙ (*.krt)|*.krt"));

    const ChartTable& table = window->lapPanel().chartData();
    ASSERT_EQ(table.size(), 15u);
    for (std::size_t r = 0; r < table.size(); ++r) {
        SCOPED_TRACE(r);
        const std::string expectedLabel = r == 3    ? "Best"
                                          : r == 13 ? "Worst"
                                                    : "lap" + std::to_string(r);
        EXPECT_EQ(table[r].label, expectedLabel);
        ASSERT_EQ(table[r].values.size(), 2u);
        if (r < 12) {
            EXPECT_EQ(table[r].values[0], current.laps[r]);
        } else {
            EXPECT_FALSE(table[r].values[0].has_value());
        }
        EXPECT_EQ(table[r].values[1], comparisonOf15().laps[r]);
        EXPECT_EQ(chart().categoryLabels()[static_cast<qsizetype>(r)],
                  QString::fromStdString(expectedLabel));
        EXPECT_EQ(chart().pointValue(0, static_cast<int>(r)), table[r].values[0]);
        EXPECT_EQ(chart().pointValue(1, static_cast<int>(r)), table[r].values[1]);
    }
    EXPECT_EQ(chart().seriesCount(), 2);
    EXPECT_TRUE(chart().isVisibleTo(window.get()));

    EXPECT_EQ(label("Label25"), u8("(+.5sec)"));    // 60.00 - 59.50
    EXPECT_EQ(label("Label26"), u8("(▼1.93sec)"));  // 64.07 - 66.00
    EXPECT_EQ(label("Label27"), u8("(+.8sec)"));    // 62.035 - 61.2333

    EXPECT_EQ(window->comparisonData(), comparisonOf15());
    EXPECT_EQ(window->currentData(), current);
    EXPECT_EQ(window->currentFileName(), fileName);
    EXPECT_EQ(memo(), memoBefore);
    EXPECT_EQ(label("Label2"), model);
    EXPECT_EQ(label("Label3"), version);
}

TEST_F(AnalysisCommandsTest, ShorterComparisonLeavesTheLoadedRunsTailAlone) {
    load(runOfLaps(15));
    compareWith(writeRun("other.krt", everyLapOf(62.0, 12)));

    const ChartTable& table = window->lapPanel().chartData();
    ASSERT_EQ(table.size(), 15u);
    for (std::size_t r = 0; r < table.size(); ++r) {
        EXPECT_TRUE(table[r].values[0].has_value()) << r;
        EXPECT_EQ(table[r].values[1].has_value(), r < 12) << r;
    }
    // Equal laps: the first is best and worst at once and reads "Worst".
    EXPECT_EQ(table[0].label, "Worst");
    EXPECT_EQ(table[1].label, "lap1");
}

TEST_F(AnalysisCommandsTest, FailedComparisonLeavesEverythingAsItWas) {
    load(runOfLaps(12));
    compareWith(writeRun("first.krt", comparisonOf15()));
    const Display before = display();
    const QString fileName = window->currentFileName();

    struct Case {
        const char* name;
        QString path;
        const char* messageStart;  // the file's name follows somewhere in the message
    };
    const Case cases[] = {
        {"broken lap", writeBytes("broken.krt", "7,12,0,0,0,0,0\r\n61.5\r\nabc\r\n"), nullptr},
        {"not there", dir.filePath("missing.krt"), nullptr},
        {"no laps", writeRun("empty.krt", runWithLaps({})), kCompareNoLapsMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->calls.clear();
        compareWith(c.path);

        ASSERT_EQ(dialogs->calls.size(), 2u);
        const FakeDialogs::Call& told = dialogs->calls[1];
        EXPECT_EQ(told.kind, Kind::Message);
        EXPECT_EQ(told.title, u8("データ比較"));
        EXPECT_TRUE(told.text.contains(QFileInfo(c.path).fileName())) << told.text.toStdString();
        if (c.messageStart) {
            EXPECT_TRUE(told.text.startsWith(u8(c.messageStart)));
        }
        EXPECT_EQ(display(), before);
        EXPECT_EQ(window->currentFileName(), fileName);
    }
}

TEST_F(AnalysisCommandsTest, ComparisonTakesTheLapsWhateverTheMemo) {
    load(runOfLaps(12));
    const QString good = writeRun("other.krt", comparisonOf15());
    QByteArray laps;
    {
        QFile file(good);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        laps = file.readAll();
        laps.truncate(laps.lastIndexOf("\"memo of"));  // everything up to the memo field
    }
    const struct {
        const char* name;
        QByteArray memoField;
    } cases[] = {
        {"memo neither CP932 nor UTF-8", "\"\x80\x80\"\r\n"},
        {"memo without its closing quote", "\"never closed"},
        {"no memo at all", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->calls.clear();
        compareWith(writeBytes("odd.krt", laps + c.memoField));

        ASSERT_EQ(dialogs->calls.size(), 1u) << dialogs->calls.back().text.toStdString();
        EXPECT_EQ(window->comparisonData(), comparisonOf15());
        EXPECT_EQ(label("Label25"), u8("(+.5sec)"));
    }
}

// The other run as its correction file makes it, as korimet-cli compare takes it: the chart,
// the differences and what the sheet says of it.
TEST_F(AnalysisCommandsTest, ComparisonTakesTheOtherRunsCorrections) {
    const QString mine = writeRun("mine.krt", runOfLaps(12));
    const QString other = dir.filePath("other.krt");
    ASSERT_TRUE(test::writeDoublePressRun(other.toStdString(), true));
    ASSERT_TRUE(window->fileCommands().openRunFile(mine));
    dialogs->calls.clear();

    compareWith(other);

    EXPECT_EQ(dialogs->calls.size(), 1u);  // the open dialog alone
    const LapData merged = test::mergedDoublePressRun();
    EXPECT_EQ(window->comparisonData(), merged);
    const ChartTable& table = window->lapPanel().chartData();
    ASSERT_EQ(table.size(), 12u);
    for (std::size_t r = 0; r < 9; ++r) EXPECT_EQ(table[r].values[1], merged.laps[r]) << r;
    EXPECT_FALSE(table[9].values[1]);

    const test::CliResult cli = test::runCli("compare --json " + test::quoted(mine.toStdString()) +
                                             " " + test::quoted(other.toStdString()));
    ASSERT_EQ(cli.status, 0);
    const nlohmann::json compared = nlohmann::json::parse(cli.out);
    for (const char* name : {"Label25", "Label26", "Label27"})
        EXPECT_EQ(label(name).toStdString(), compared["labels"][name]) << name;
    for (std::size_t r = 0; r < table.size(); ++r) {
        EXPECT_EQ(table[r].label, compared["chart"][r][0]) << r;
        EXPECT_EQ(chart().categoryLabels()[static_cast<qsizetype>(r)].toStdString(),
                  compared["chart"][r][0])
            << r;
    }

    const LapSheet sheet = sheetOfSession(window->runSession());
    ASSERT_TRUE(sheet.comparison);
    EXPECT_EQ(sheet.comparison->details[1].value, "09L");
    EXPECT_EQ(sheet.comparison->details[2].value, "00m52s19");
    EXPECT_EQ(sheet.comparison->differences[0].value, compared["labels"]["Label25"]);
}

TEST_F(AnalysisCommandsTest, CancelledOpenDialogChangesNothing) {
    load(runOfLaps(12));
    compareWith(writeRun("first.krt", comparisonOf15()));
    const Display before = display();
    dialogs->calls.clear();

    window->analysisCommands().compareData();  // no answer: Cancel

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::OpenPath);
    EXPECT_EQ(display(), before);
}

TEST_F(AnalysisCommandsTest, NextFrameBringsBackTheOneSeriesChart) {
    load(runOfLaps(12));
    compareWith(writeRun("other.krt", comparisonOf15()));
    ASSERT_EQ(chart().seriesCount(), 2);

    dialogs->answers.push_back("5");
    window->analysisCommands().simulateRace();  // leaves the comparison alone
    EXPECT_EQ(chart().seriesCount(), 2);
    EXPECT_FALSE(label("Label25").isEmpty());

    const LapData next = runOfLaps(20);
    load(next);
    const LapView view = buildLapView(next);
    ASSERT_TRUE(view.chart.has_value());
    EXPECT_EQ(window->lapPanel().chartData(), *view.chart);
    EXPECT_EQ(chart().seriesCount(), 1);
    for (const char* name : {"Label25", "Label26", "Label27"}) EXPECT_EQ(label(name), "") << name;
}

// ---- Chart edit dialogs ----

TEST_F(AnalysisCommandsTest, EitherValueAxisFixesValueAxisOneAndKeepsItForLaterData) {
    for (int axis : {LapChart::kValueAxis, LapChart::kSecondaryValueAxis}) {
        SCOPED_TRACE(axis);
        SetUp();
        load(runOfLaps(12));
        const double oldMinimum = chart().valueMinimum();
        const double oldMaximum = chart().valueMaximum();
        dialogs->answers = {"120", "60"};

        emit chart().axisClicked(axis);

        ASSERT_EQ(dialogs->calls.size(), 2u);
        EXPECT_EQ(dialogs->calls[0].text, u8("最大値:"));
        EXPECT_EQ(dialogs->calls[0].title, u8("軸設定"));
        EXPECT_DOUBLE_EQ(dialogs->calls[0].defaultText.toDouble(), oldMaximum);
        EXPECT_EQ(dialogs->calls[1].text, u8("最小値:"));
        EXPECT_EQ(dialogs->calls[1].title, u8("軸設定"));
        EXPECT_DOUBLE_EQ(dialogs->calls[1].defaultText.toDouble(), oldMinimum);

        EXPECT_TRUE(chart().isValueRangeFixed());
        EXPECT_DOUBLE_EQ(chart().valueMinimum(), 60.0);
        EXPECT_DOUBLE_EQ(chart().valueMaximum(), 120.0);
        EXPECT_DOUBLE_EQ(tickStep(), 6.0);

        load(runOfLaps(30));
        EXPECT_DOUBLE_EQ(chart().valueMinimum(), 60.0);
        EXPECT_DOUBLE_EQ(chart().valueMaximum(), 120.0);
        compareWith(writeRun("other.krt", comparisonOf15()));
        EXPECT_DOUBLE_EQ(chart().valueMinimum(), 60.0);
        EXPECT_DOUBLE_EQ(chart().valueMaximum(), 120.0);
    }
}

TEST_F(AnalysisCommandsTest, AxisAnswersThatAreNoNumberKeepThatLimitOnly) {
    struct Case {
        const char* name;
        std::vector<QString> answers;
        std::optional<double> maximum;  // none: the limit it had
        std::optional<double> minimum;
    };
    const Case cases[] = {
        {"cancel on both", {}, std::nullopt, std::nullopt},
        {"maximum abc", {"abc", "55"}, std::nullopt, 55.0},
        {"minimum empty", {"70", ""}, 70.0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        load(runOfLaps(12));
        const double oldMinimum = chart().valueMinimum();
        const double oldMaximum = chart().valueMaximum();
        ASSERT_FALSE(chart().isValueRangeFixed());
        dialogs->answers.assign(c.answers.begin(), c.answers.end());

        emit chart().axisClicked(LapChart::kValueAxis);

        EXPECT_EQ(dialogs->calls.size(), 2u);  // the minimum is asked whatever came before
        EXPECT_TRUE(chart().isValueRangeFixed());
        const double minimum = c.minimum.value_or(oldMinimum);
        const double maximum = c.maximum.value_or(oldMaximum);
        EXPECT_DOUBLE_EQ(chart().valueMinimum(), minimum);
        EXPECT_DOUBLE_EQ(chart().valueMaximum(), maximum);
        EXPECT_DOUBLE_EQ(tickStep(), (maximum - minimum) / 10);
    }
}

TEST_F(AnalysisCommandsTest, OtherAxesAskNothing) {
    load(runOfLaps(12));
    const double minimum = chart().valueMinimum();
    const double maximum = chart().valueMaximum();
    dialogs->answers = {"120", "60"};

    emit chart().axisClicked(0);

    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_FALSE(chart().isValueRangeFixed());
    EXPECT_DOUBLE_EQ(chart().valueMinimum(), minimum);
    EXPECT_DOUBLE_EQ(chart().valueMaximum(), maximum);
}

TEST_F(AnalysisCommandsTest, PointEditChangesThePlotOnlyUntilTheNextRedraw) {
    const LapData run = runOfLaps(12);
    load(run);
    const GridPlace place = gridPlaceOfSlot(3);
    const QString gridText = grid().textMatrix(place.row, place.timeColumn);
    const ChartTable table = window->lapPanel().chartData();
    const QString best = label("Label17");
    dialogs->answers = {"99.5"};

    emit chart().pointClicked(0, 3);

    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, Kind::Input);
    EXPECT_EQ(dialogs->calls[0].text, u8("グラフプロットのみ変更可能:"));
    EXPECT_EQ(dialogs->calls[0].title, "");
    EXPECT_DOUBLE_EQ(dialogs->calls[0].defaultText.toDouble(), run.laps[3]);
    EXPECT_EQ(chart().pointValue(0, 3), 99.5);
    EXPECT_EQ(chart().pointValue(0, 4), run.laps[4]);
    EXPECT_EQ(window->lapPanel().chartData(), table);
    EXPECT_EQ(grid().textMatrix(place.row, place.timeColumn), gridText);
    EXPECT_EQ(label("Label17"), best);
    EXPECT_EQ(window->currentData(), run);

    load(run);
    EXPECT_EQ(chart().pointValue(0, 3), run.laps[3]);
}

TEST_F(AnalysisCommandsTest, PointEditThatGetsNoNumberOrHitsAGapChangesNothing) {
    load(runOfLaps(12));
    compareWith(writeRun("other.krt", everyLapOf(62.0, 5)));
    const Display before = display();

    struct Case {
        const char* name;
        int series;
        int point;
        std::vector<QString> answers;
        std::size_t questions;
    };
    const Case cases[] = {
        {"cancel", 0, 2, {}, 1},
        {"not a number", 1, 2, {"abc"}, 1},
        {"a gap in the comparison run", 1, 8, {"70"}, 0},
        {"past the last point", 0, 40, {"70"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->calls.clear();
        dialogs->answers.assign(c.answers.begin(), c.answers.end());
        emit chart().pointClicked(c.series, c.point);
        EXPECT_EQ(dialogs->calls.size(), c.questions);
        EXPECT_EQ(display(), before);
    }
}

}  // namespace
}  // namespace korimet
