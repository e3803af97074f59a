#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lapdata/lap_data.h"

namespace korimet {

inline constexpr int kGridRows = 31;  // row 0 is the header
inline constexpr int kGridColumns = 4;
inline constexpr int kGridBodyRows = 30;

// Cell colours as the timer software writes them: blue in the high byte, red in the low.
inline constexpr std::uint32_t kCellWhite = 0xFFFFFF;
inline constexpr std::uint32_t kCellTarget = 0xC0FFFF;  // light yellow
inline constexpr std::uint32_t kCellBest = 0xFF8080;    // light blue
inline constexpr std::uint32_t kCellWorst = 0x8080FF;   // light red

inline constexpr const char* kNoTargetText = "   N.A.";
inline constexpr const char* kBestRowLabel = "Best";
inline constexpr const char* kWorstRowLabel = "Worst";

// One row of the chart's table: category label and one value per series (none = empty).
struct ChartRow {
    std::string label;
    std::vector<std::optional<double>> values;
    friend bool operator==(const ChartRow&, const ChartRow&) = default;
};
using ChartTable = std::vector<ChartRow>;

struct LapStatistics {
    double lapTotal = 0.0;
    double bestLap = 0.0;
    double worstLap = 0.0;
    double averageLap = 0.0;
    friend bool operator==(const LapStatistics&, const LapStatistics&) = default;
};

// Grid row and columns (number cell, time cell) of a lap slot 0..59.
struct GridPlace {
    int row;
    int numberColumn;
    int timeColumn;
};
GridPlace gridPlaceOfSlot(int slot);

// Everything one redraw of the lap display shows, computed from a record.
struct LapView {
    std::array<std::array<std::string, kGridColumns>, kGridRows> cells;
    std::array<std::array<std::uint32_t, kGridColumns>, kGridRows> colors;  // row 0 unused
    std::string carText;                                                    // Label4
    std::string lapCountText;                                               // Label5
    std::string targetText;                                                 // Label6
    std::string bestText;                                                   // Label17
    std::string averageText;                                                // Label19
    std::string worstText;                                                  // Label21
    std::string raceLine;                                                   // Label7
    bool chartVisible = false;
    std::optional<ChartTable> chart;  // none: the chart's table is left as it was
    LapStatistics stats;
    int bestSlot = 0;                 // slot painted as best (0 when there are no laps)
    int worstSlot = 0;                // slot painted as worst
    std::optional<double> raceTotal;  // none: the previous race total stays
};

LapView buildLapView(const LapData& data);

// The grid as it stands before any lap data: headers, lap numbers, placeholder times.
std::array<std::array<std::string, kGridColumns>, kGridRows> emptyGridCells();

}  // namespace korimet
