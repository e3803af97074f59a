#include "lapdata/ui/lap_grid.h"

#include <QHeaderView>

#include "lapdata/ui/twips.h"

namespace korimet {

QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t bgrFromColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

LapGrid::LapGrid(QWidget* parent) : QTableWidget(kRows - 1, kColumns, parent) {
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    // A time fills its 900-twip cell to within the view's text margins; an ellipsis would
    // hide its last digits for nothing.
    setTextElideMode(Qt::ElideNone);
    for (int c = 0; c < kColumns; ++c) {
        setHorizontalHeaderItem(c, new QTableWidgetItem);  // owned by the table
        for (int r = 0; r < kRows - 1; ++r) {
            auto* item = new QTableWidgetItem;  // owned by the table
            item->setTextAlignment(Qt::AlignCenter);
            item->setBackground(colorFromBgr(0xFFFFFF));
            setItem(r, c, item);
        }
    }
}

int LapGrid::pixels(double twips) const { return twipsToPixels(twips, logicalDpiOf(this)); }

QTableWidgetItem* LapGrid::cell(int row, int column) const {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return nullptr;
    if (row == 0) return horizontalHeaderItem(column);
    return item(row - 1, column);
}

void LapGrid::setRowHeightTwips(int row, double twips) {
    const int px = pixels(twips);
    if (row == -1) {
        horizontalHeader()->setFixedHeight(px);
        verticalHeader()->setDefaultSectionSize(px);
        for (int r = 0; r < kRows - 1; ++r) setRowHeight(r, px);
    } else if (row == 0) {
        horizontalHeader()->setFixedHeight(px);
    } else if (row < kRows) {
        setRowHeight(row - 1, px);
    }
}

int LapGrid::rowHeightPixels(int row) const {
    if (row == 0) return horizontalHeader()->height();
    if (row > 0 && row < kRows) return rowHeight(row - 1);
    return -1;
}

void LapGrid::setColWidthTwips(int column, double twips) {
    if (column >= 0 && column < kColumns) setColumnWidth(column, pixels(twips));
}

int LapGrid::colWidthPixels(int column) const { return columnWidth(column); }

void LapGrid::setTextMatrix(int row, int column, const QString& text) {
    if (QTableWidgetItem* c = cell(row, column)) c->setText(text);
}

QString LapGrid::textMatrix(int row, int column) const {
    const QTableWidgetItem* c = cell(row, column);
    return c ? c->text() : QString();
}

void LapGrid::setCellBackColor(int row, int column, std::uint32_t bgr) {
    if (row <= 0) return;
    if (QTableWidgetItem* c = cell(row, column)) c->setBackground(colorFromBgr(bgr));
}

std::uint32_t LapGrid::cellBackColor(int row, int column) const {
    if (row <= 0) return 0;
    const QTableWidgetItem* c = cell(row, column);
    return c ? bgrFromColor(c->background().color()) : 0;
}

}  // namespace korimet
