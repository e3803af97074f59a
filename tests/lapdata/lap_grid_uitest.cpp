#include <gtest/gtest.h>

#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_grid.h"
#include "lapdata/ui/twips.h"

namespace korimet {
namespace {

struct ColorCase {
    std::uint32_t bgr;
    QColor rgb;
};

TEST(LapGridColor, BlueIsTheHighByteAndRedTheLow) {
    const ColorCase cases[] = {
        {kCellWhite, QColor(255, 255, 255)},
        {kCellTarget, QColor(255, 255, 0xC0)},  // light yellow
        {kCellBest, QColor(0x80, 0x80, 255)},   // light blue
        {kCellWorst, QColor(255, 0x80, 0x80)},  // light red
        {0x123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const ColorCase& c : cases) {
        EXPECT_EQ(colorFromBgr(c.bgr), c.rgb) << std::hex << c.bgr;
        EXPECT_EQ(bgrFromColor(c.rgb), c.bgr) << std::hex << c.bgr;
    }
}

TEST(LapGrid, HeaderIsRowZeroOfTheMatrix) {
    LapGrid grid;
    grid.setTextMatrix(0, 1, "Time");
    grid.setTextMatrix(1, 1, "01m00s00");
    grid.setTextMatrix(30, 3, "--m--s--");
    EXPECT_EQ(grid.textMatrix(0, 1), "Time");
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Time");
    EXPECT_EQ(grid.textMatrix(1, 1), "01m00s00");
    EXPECT_EQ(grid.item(0, 1)->text(), "01m00s00");
    EXPECT_EQ(grid.textMatrix(30, 3), "--m--s--");
}

TEST(LapGrid, CellsOutsideTheMatrixAreIgnored) {
    LapGrid grid;
    const std::pair<int, int> outside[] = {{-1, 0}, {31, 0}, {0, -1}, {0, 4}, {40, 7}};
    for (const auto& [r, c] : outside) {
        grid.setTextMatrix(r, c, "x");
        grid.setCellBackColor(r, c, kCellWorst);
        EXPECT_EQ(grid.textMatrix(r, c), "");
    }
    EXPECT_EQ(grid.rowCount(), 30);
    EXPECT_EQ(grid.columnCount(), 4);
}

TEST(LapGrid, BackgroundIsPerCell) {
    LapGrid grid;
    grid.setCellBackColor(5, 2, kCellBest);
    EXPECT_EQ(grid.cellBackColor(5, 2), kCellBest);
    EXPECT_EQ(grid.cellBackColor(5, 3), kCellWhite);
    EXPECT_EQ(grid.cellBackColor(4, 2), kCellWhite);
    EXPECT_EQ(grid.cellBackColor(6, 2), kCellWhite);
}

TEST(LapGrid, RowMinusOneSetsEveryRowHeaderIncluded) {
    LapGrid grid;
    const double dpi = logicalDpiOf(&grid);
    grid.setRowHeightTwips(-1, 600);
    for (int r = 0; r < LapGrid::kRows; ++r) {
        EXPECT_EQ(grid.rowHeightPixels(r), twipsToPixels(600, dpi)) << r;
    }
    grid.setRowHeightTwips(3, 300);
    EXPECT_EQ(grid.rowHeightPixels(3), twipsToPixels(300, dpi));
    EXPECT_EQ(grid.rowHeightPixels(4), twipsToPixels(600, dpi));
    grid.setColWidthTwips(1, 900);
    EXPECT_EQ(grid.colWidthPixels(1), twipsToPixels(900, dpi));
}

TEST(Twips, FifteenTwipsAPixelAt96Dpi) {
    const struct {
        double twips;
        double dpi;
        int pixels;
    } cases[] = {{15, 96, 1},      {9500, 96, 633}, {200, 96, 13},
                 {1440, 120, 120}, {0, 96, 0},      {-120, 96, -8}};
    for (const auto& c : cases) {
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << "@" << c.dpi;
    }
    EXPECT_EQ(pixelsToTwips(13, 96), 195);
    EXPECT_EQ(pixelsToTwips(120, 120), 1440);
}

}  // namespace
}  // namespace korimet
