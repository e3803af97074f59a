#pragma once

#include <QStyledItemDelegate>
#include <utility>
#include <vector>

#include "session/run_session.h"

class QPainter;
class QRectF;

namespace korimet {

// A lap's mark as the window draws it: a triangle of `side` in the cell's top left corner,
// green for a corrected lap, orange for one that looks mis-pressed. The sheet draws the same.
void paintLapMark(QPainter& painter, const QRectF& cell, double side, LapMark mark);

// Draws the session's lap marks as a small corner triangle in the lap-number cells, with a
// tooltip saying what it means; the cells' texts and colours stay exactly as the view made
// them, so a run without marks looks as it always did.
class LapMarkDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit LapMarkDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    // One mark per lap slot, first slot first.
    void setMarks(std::vector<LapMark> marks) { marks_ = std::move(marks); }
    // The mark drawn in a cell of the lap grid (row 0 is the header).
    LapMark markAt(int gridRow, int gridColumn) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

  private:
    std::vector<LapMark> marks_;
};

}  // namespace korimet
