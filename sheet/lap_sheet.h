#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/wording.h"
#include "corrections/run_view.h"
#include "lapdata/lap_data.h"
#include "lapdata/lap_view_model.h"
#include "library/run_library.h"
#include "tools/tool_dialogs.h"

// The printed lap sheet as plain data: what it says and where each part goes on the page.
// The window's print and PDF commands and the command-line tool all draw this one model.
namespace korimet {

// The moment a sheet is dated by, to the second: the library's own local time.
using SheetDateTime = LocalTime;

// The download time a library file's path records: ".../YYYY-MM-DD/HHMMSS-carNN....krt".
// None for any other path.
std::optional<SheetDateTime> libraryDownloadTime(std::string_view path);

// The date a sheet shows: the library's download time for a library file, else the file's
// modification time, else (a download not yet saved) now.
SheetDateTime sheetDate(std::string_view path, std::optional<SheetDateTime> fileTime,
                        SheetDateTime now);

std::string sheetDateText(const SheetDateTime& date);  // "2026-12-10 14:35"

// "2026-12-10_1435_car07" + extension (".pdf", ".png").
std::string suggestedSheetFileName(const SheetDateTime& date, const LapData& data,
                                   std::string_view extension);

struct SheetRun {
    RunView view;          // as the window shows it, corrections applied
    std::string fileName;  // the path it was read from; empty for an unsaved download
    std::optional<SheetDateTime> date =
        std::nullopt;  // for a compared run: when it was driven, if known
};

struct SheetInput {
    SheetRun run;
    std::string memo;  // UTF-8, as the memo box holds it
    SheetDateTime date;
    std::optional<SheetRun> comparison;
};

struct SheetField {
    std::string caption;
    std::string value;
    friend bool operator==(const SheetField&, const SheetField&) = default;
};

// Best, worst and target as the window paints them: worst over best over target.
enum class LapRole { None, Target, Best, Worst };

struct SheetLap {
    int number = 0;  // 1-based
    std::string timeText;
    LapRole role = LapRole::None;
    std::uint32_t color = kCellWhite;  // as the grid's cells: blue high, red low
    std::string mark;                  // the role again, for a page printed in black and white
    LapMark lapMark = LapMark::None;   // beside the number, as the window marks the lap
    friend bool operator==(const SheetLap&, const SheetLap&) = default;
};

struct SheetLegendEntry {
    LapRole role;
    std::uint32_t color;
    std::string mark;
    std::string meaning;
};

struct SheetComparison {
    std::string runCaption;
    std::string runName;
    std::vector<SheetField> details;      // the other run's date, laps, best, average
    std::vector<SheetField> differences;  // best, worst, average
};

// Every word on the page is in the sheet, in the language it was built in; lap times, dates,
// numbers and file names are the same in every language.
struct LapSheet {
    std::string title;
    std::string chartTitle;  // car, date and run, so a picture of the chart says whose it is
    std::vector<SheetField> header;      // car, lap count, target, race line, date, file
    std::vector<SheetField> statistics;  // best, worst, average, median, spread, consistency
    std::vector<SheetLap> laps;          // every counted lap
    std::vector<SheetLegendEntry> legend;
    ChartTable chart;                      // empty without laps
    std::vector<std::string> seriesNames;  // one per chart column
    std::string memo;                      // line ends as "\n"
    std::string memoCaption;
    std::string memoContinuedCaption;  // over the memo on the pages after the first
    std::string lapNumberHeader;
    std::string lapTimeHeader;
    std::string noLapsText;  // in the chart's and the table's place without laps
    std::optional<SheetComparison> comparison;
    std::optional<ToolRefusal> comparisonRefusal;  // why a comparison asked for is not shown
};

// The sheet in the words `wording` gives for the Japanese texts.
LapSheet buildLapSheet(const SheetInput& input, const Wording& wording = japaneseWording);

// Why the comparison asked for cannot be shown, as buildLapSheet would say; none without one.
std::optional<ToolRefusal> sheetComparisonRefusal(const SheetInput& input);

// ---- Where things go, in millimetres from the page's top left corner ----

enum class Paper { A4, Letter };

struct SheetRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double bottom() const { return y + height; }
    double right() const { return x + width; }
};

struct PageLayout {
    double pageWidth = 0;
    double pageHeight = 0;
    SheetRect title;
    SheetRect header;      // two rows of three fields
    SheetRect statistics;  // one row of six fields
    SheetRect comparison;  // height 0 without a comparison
    SheetRect chart;
    SheetRect lapTable;  // header row, then rows of laps in column groups
    SheetRect legend;
    SheetRect memo;        // beside the lap table's used groups, down to the page's foot
    int lapGroups = 0;     // column groups of LAP / mark / time
    int rowsPerGroup = 0;  // lap rows in a full group
    double rowHeight = 0;
};

inline constexpr int kSheetRowsPerGroup = 15;
inline constexpr int kSheetLapGroups = 4;

PageLayout layoutPage(const LapSheet& sheet, Paper paper);

// Lap i (0-based) sits in group i / rows, row i % rows of the table body.
SheetRect lapCellRect(const PageLayout& layout, int lapIndex);

}  // namespace korimet
