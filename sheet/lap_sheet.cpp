#include "sheet/lap_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lapdata/lap_time.h"
#include "lapdata/race_walk.h"
#include "lapdata/run_statistics.h"
#include "library/run_library.h"
#include "sheet/sheet_texts.h"
#include "tools/comparison.h"

namespace korimet {

namespace {

// The last two parts of a path, with either kind of separator.
std::pair<std::string_view, std::string_view> lastTwoParts(std::string_view path) {
    const auto fileAt = path.find_last_of("/\\");
    if (fileAt == std::string_view::npos) return {{}, path};
    const std::string_view file = path.substr(fileAt + 1);
    const std::string_view rest = path.substr(0, fileAt);
    const auto dirAt = rest.find_last_of("/\\");
    return {dirAt == std::string_view::npos ? rest : rest.substr(dirAt + 1), file};
}

std::string baseName(std::string_view path) { return std::string(lastTwoParts(path).second); }

std::string runName(const std::string& fileName, const Wording& words) {
    return fileName.empty() ? words(texts::kUnsavedRunName) : baseName(fileName);
}

// A text with "%1" in it, the value put there.
std::string filled(const std::string& pattern, const std::string& value) {
    std::string text = pattern;
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
    return text;
}

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string formatted(const char* format, double value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// The three laps' total, and which laps they are beside the caption ("ベスト3周 (5-7)"), so
// that the value fits its narrow field whole.
SheetField bestThreeField(const std::optional<BestThree>& three, const Wording& words) {
    if (!three) return {words(texts::kBestThreeCaption), words(texts::kNoValueText)};
    return {words(texts::kBestThreeCaption) + " (" + std::to_string(three->start + 1) + "-" +
                std::to_string(three->start + 3) + ")",
            lapTimeOrPlaceholder(three->total)};
}

LapRole roleOfColor(std::uint32_t color) {
    switch (color) {
        case kCellWorst:
            return LapRole::Worst;
        case kCellBest:
            return LapRole::Best;
        case kCellTarget:
            return LapRole::Target;
        default:
            return LapRole::None;
    }
}

const char* markOf(LapRole role) {
    switch (role) {
        case LapRole::Worst:
            return texts::kWorstMark;
        case LapRole::Best:
            return texts::kBestMark;
        case LapRole::Target:
            return texts::kTargetMark;
        case LapRole::None:
            break;
    }
    return "";
}

// The comparison as the window makes it; its refusal if the other run cannot be compared.
ComparisonOutcome comparisonOf(const SheetInput& input, const LapView& view) {
    return buildComparison(input.run.view.data, view.stats, input.comparison->view.data,
                           input.comparison->fileName);
}

}  // namespace

std::optional<SheetDateTime> libraryDownloadTime(std::string_view path) {
    // The library names its files; a path copied from Windows may use backslashes.
    const auto [folder, file] = lastTwoParts(path);
    const auto named = parseLibraryName(std::string(folder) + "/" + std::string(file));
    if (!named) return std::nullopt;
    return named->downloaded;
}

SheetDateTime sheetDate(std::string_view path, std::optional<SheetDateTime> fileTime,
                        SheetDateTime now) {
    if (auto downloaded = libraryDownloadTime(path)) return *downloaded;
    if (!path.empty() && fileTime) return *fileTime;
    return now;
}

std::string sheetDateText(const SheetDateTime& d) {
    return dateTimeText(d, DateTimeForm::ShownToMinute);
}

std::string suggestedSheetFileName(const SheetDateTime& d, const LapData& data,
                                   std::string_view extension) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d_%02d%02d_car%02d", d.year, d.month, d.day,
                  d.hour, d.minute, static_cast<int>(data.carId));
    return std::string(buffer) + std::string(extension);
}

std::optional<ToolRefusal> sheetComparisonRefusal(const SheetInput& input) {
    if (!input.comparison) return std::nullopt;
    return comparisonOf(input, buildLapView(input.run.view.data)).refusal;
}

LapSheet buildLapSheet(const SheetInput& input, const Wording& words) {
    const RunView& run = input.run.view;
    const LapData& data = run.data;
    const LapView view = buildLapView(data);
    const RunStatistics& stats = run.statistics;
    const RunPace& pace = run.pace;
    const std::string none = words(texts::kNoValueText);
    const std::string car = filled(words(texts::kCarNumberText), view.carText);
    const std::string name = runName(input.run.fileName, words);

    LapSheet sheet;
    sheet.title = words(texts::kSheetTitle) + "  " + car;
    sheet.chartTitle = car + "  " + sheetDateText(input.date) + "  " + name;
    std::string raceLine = none;
    if (data.raceMinutes != 0) {
        raceLine =
            raceResultLine(data.raceMinutes, walkRace(data.laps, data.raceMinutes * 60.0), words);
    }
    sheet.header = {
        {words(texts::kCarCaption), view.carText},
        {words(texts::kLapCountCaption), view.lapCountText},
        {words(texts::kTargetCaption), trimmed(view.targetText)},
        {words(texts::kRaceCaption), raceLine},
        {words(texts::kDateCaption), sheetDateText(input.date)},
        {words(texts::kFileCaption), name},
    };
    sheet.statistics = {
        {words(texts::kBestCaption), view.bestText},
        {words(texts::kWorstCaption), view.worstText},
        {words(texts::kAverageCaption), view.averageText},
        {words(texts::kMedianCaption), stats.median ? lapTimeOrPlaceholder(*stats.median) : none},
        {words(texts::kSpreadCaption),
         stats.spread ? formatted("%.2f", *stats.spread) + words(texts::kSecondsUnit) : none},
        {words(texts::kConsistencyCaption),
         stats.consistency ? formatted("%.1f%%", *stats.consistency) : none},
        bestThreeField(pace.bestThree, words),
        {words(texts::kPaceTrendCaption),
         pace.trend ? formatted("%+.2f", *pace.trend) + words(texts::kSecondsPerLapUnit) : none},
    };

    for (int slot = 0; slot < stats.counted; ++slot) {
        const GridPlace place = gridPlaceOfSlot(slot);
        const auto row = static_cast<std::size_t>(place.row);
        const std::uint32_t color = view.colors[row][static_cast<std::size_t>(place.timeColumn)];
        const LapRole role = roleOfColor(color);
        const auto at = static_cast<std::size_t>(slot);
        sheet.laps.push_back({slot + 1, view.cells[row][static_cast<std::size_t>(place.timeColumn)],
                              role, color, markOf(role),
                              at < run.marks.size() ? run.marks[at] : LapMark::None});
    }
    sheet.legend = {
        {LapRole::Best, kCellBest, texts::kBestMark, words(texts::kBestMeaning)},
        {LapRole::Worst, kCellWorst, texts::kWorstMark, words(texts::kWorstMeaning)},
    };
    if (data.targetTime < kNoTargetTime) {
        sheet.legend.push_back(
            {LapRole::Target, kCellTarget, texts::kTargetMark, words(texts::kTargetMeaning)});
    }
    sheet.lapNumberHeader = words(texts::kLapNumberHeader);
    sheet.lapTimeHeader = words(texts::kLapTimeHeader);
    sheet.noLapsText = words(texts::kNoLapsText);

    if (view.chart && stats.counted > 0) sheet.chart = *view.chart;
    sheet.seriesNames = {name};

    const std::string& memo = input.memo;
    for (std::size_t i = 0; i < memo.size(); ++i) {
        if (memo[i] != '\r') {
            sheet.memo.push_back(memo[i]);
        } else if (i + 1 >= memo.size() || memo[i + 1] != '\n') {
            sheet.memo.push_back('\n');  // a lone CR ends a line too
        }
    }
    sheet.memoCaption = words(texts::kMemoCaption);
    sheet.memoContinuedCaption = words(texts::kMemoContinuedCaption);

    if (input.comparison) {
        const ComparisonOutcome outcome = comparisonOf(input, view);
        if (outcome.refusal) {
            sheet.comparisonRefusal = outcome.refusal;
        } else {
            const ComparisonView& c = outcome.view;
            const std::string otherName = runName(input.comparison->fileName, words);
            sheet.chart = c.chart;
            sheet.seriesNames.push_back(otherName);
            const LapView other = buildLapView(input.comparison->view.data);
            const auto& otherDate = input.comparison->date;
            sheet.comparison = SheetComparison{
                words(texts::kComparedRunCaption),
                otherName,
                {{words(texts::kDateCaption), otherDate ? sheetDateText(*otherDate) : none},
                 {words(texts::kLapCountCaption), other.lapCountText},
                 {words(texts::kBestCaption), other.bestText},
                 {words(texts::kAverageCaption), other.averageText}},
                {{words(texts::kBestDifferenceCaption), c.bestDifferenceText},
                 {words(texts::kWorstDifferenceCaption), c.worstDifferenceText},
                 {words(texts::kAverageDifferenceCaption), c.averageDifferenceText}}};
        }
    }
    return sheet;
}

// ---- Page layout ----

namespace {
constexpr double kMargin = 15.0;
constexpr double kGap = 3.0;
constexpr double kTitleHeight = 9.0;
constexpr double kFieldRowHeight = 9.0;                          // caption over value
constexpr double kComparisonHeight = 2 * kFieldRowHeight + 2.0;  // the run, then differences
constexpr double kRowHeight = 4.6;
constexpr double kLegendHeight = 5.0;
constexpr double kMemoHeight = 34.0;
constexpr double kMemoBesideTable = 50.0;  // narrower than this, the memo goes below
}  // namespace

PageLayout layoutPage(const LapSheet& sheet, Paper paper) {
    PageLayout p;
    p.pageWidth = paper == Paper::Letter ? 215.9 : 210.0;
    p.pageHeight = paper == Paper::Letter ? 279.4 : 297.0;
    const double width = p.pageWidth - 2 * kMargin;
    const int laps = static_cast<int>(sheet.laps.size());

    double y = kMargin;
    auto take = [&](double height) {
        const SheetRect r{kMargin, y, width, height};
        y += height + (height > 0 ? kGap : 0.0);
        return r;
    };
    p.title = take(kTitleHeight);
    p.header = take(2 * kFieldRowHeight);
    p.statistics = take(kFieldRowHeight);
    p.comparison = take(sheet.comparison ? kComparisonHeight : 0.0);

    p.rowsPerGroup = kSheetRowsPerGroup;
    p.lapGroups = kSheetLapGroups;
    p.rowHeight = kRowHeight;
    const int bodyRows = std::max(1, std::min(laps, kSheetRowsPerGroup));  // one for "no laps"
    const double tableHeight = (bodyRows + 1) * kRowHeight;

    // The chart takes whatever the fixed parts leave.
    const double bottom = p.pageHeight - kMargin;
    const double fixedBelow = tableHeight + kGap + kLegendHeight + kGap + kMemoHeight;
    p.chart = {kMargin, y, width, std::max(40.0, bottom - fixedBelow - kGap - y)};
    y = p.chart.bottom() + kGap;
    p.lapTable = {kMargin, y, width, tableHeight};
    y = p.lapTable.bottom() + kGap;
    p.legend = {kMargin, y, width, kLegendHeight};
    y = p.legend.bottom() + kGap;
    p.memo = {kMargin, y, width, std::max(kRowHeight, bottom - y)};
    // A short run leaves most of the table's width empty: the memo takes it, from the
    // table's top to the foot of the page.
    const int usedGroups = std::max(1, (laps + kSheetRowsPerGroup - 1) / kSheetRowsPerGroup);
    const double groupWidth = width / kSheetLapGroups;
    const double besideX = kMargin + usedGroups * groupWidth + kGap;
    if (usedGroups < kSheetLapGroups && p.pageWidth - kMargin - besideX >= kMemoBesideTable) {
        // The legend under the table then lists its marks one under another.
        p.legend.width = usedGroups * groupWidth;
        p.legend.height = kLegendHeight * static_cast<double>(sheet.legend.size());
        p.memo = {besideX, p.lapTable.y, p.pageWidth - kMargin - besideX, bottom - p.lapTable.y};
    }
    return p;
}

SheetRect lapCellRect(const PageLayout& layout, int lapIndex) {
    const int rows = std::max(1, layout.rowsPerGroup);
    const double groupWidth = layout.lapTable.width / std::max(1, layout.lapGroups);
    return {layout.lapTable.x + (lapIndex / rows) * groupWidth,
            layout.lapTable.y + (lapIndex % rows + 1) * layout.rowHeight, groupWidth,
            layout.rowHeight};
}

}  // namespace korimet
