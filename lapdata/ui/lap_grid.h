#pragma once

#include <QColor>
#include <QString>
#include <QTableWidget>
#include <cstdint>

namespace korimet {

// Colours of the lap view are 0xBBGGRR values (blue high, red low); these are the only
// places that turn them into Qt colours and back.
QColor colorFromBgr(std::uint32_t bgr);
std::uint32_t bgrFromColor(const QColor& color);

// The lap table: 31 rows by 4 columns addressed as one matrix, row 0 being the fixed
// header (the table's horizontal header, so it never scrolls away) and rows 1..30 the
// body. Sizes are in twips. Out-of-range cells are ignored.
class LapGrid : public QTableWidget {
    Q_OBJECT
  public:
    static constexpr int kRows = 31;
    static constexpr int kColumns = 4;

    explicit LapGrid(QWidget* parent = nullptr);

    // row -1 sets every row, the header included.
    void setRowHeightTwips(int row, double twips);
    int rowHeightPixels(int row) const;
    void setColWidthTwips(int column, double twips);
    int colWidthPixels(int column) const;

    void setTextMatrix(int row, int column, const QString& text);
    QString textMatrix(int row, int column) const;

    // Body cells only; the header keeps its own look.
    void setCellBackColor(int row, int column, std::uint32_t bgr);
    std::uint32_t cellBackColor(int row, int column) const;

  private:
    QTableWidgetItem* cell(int row, int column) const;
    int pixels(double twips) const;
};

}  // namespace korimet
