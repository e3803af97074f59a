#include "lapdata/ui/lap_marks.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>

#include "common/ui/ui_text.h"
#include "lapdata/lap_view_model.h"
#include "lapdata/ui/lap_panel_texts.h"

namespace korimet {

namespace {

QColor markColor(LapMark mark) {
    return mark == LapMark::Corrected ? QColor(0x00, 0x80, 0x00) : QColor(0xFF, 0x80, 0x00);
}

const char* markTip(LapMark mark) {
    switch (mark) {
        case LapMark::Short:
            return texts::kShortLapMarkTip;
        case LapMark::Long:
            return texts::kLongLapMarkTip;
        case LapMark::Corrected:
            return texts::kCorrectedLapMarkTip;
        case LapMark::None:
            break;
    }
    return "";
}

}  // namespace

void paintLapMark(QPainter& painter, const QRectF& cell, double side, LapMark mark) {
    if (mark == LapMark::None) return;
    QPainterPath corner;
    corner.moveTo(cell.topLeft());
    corner.lineTo(cell.left() + side, cell.top());
    corner.lineTo(cell.left(), cell.top() + side);
    corner.closeSubpath();
    painter.fillPath(corner, markColor(mark));
}

LapMark LapMarkDelegate::markAt(int gridRow, int gridColumn) const {
    for (std::size_t slot = 0; slot < marks_.size(); ++slot) {
        const GridPlace place = gridPlaceOfSlot(static_cast<int>(slot));
        if (place.row == gridRow && place.numberColumn == gridColumn) return marks_[slot];
    }
    return LapMark::None;
}

void LapMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    // The table's rows are the grid's body rows 1..30.
    const LapMark mark = markAt(index.row() + 1, index.column());
    if (mark == LapMark::None) return;
    const QRect cell = option.rect;
    const int side = std::max(4, std::min(cell.height(), cell.width()) / 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    paintLapMark(*painter, QRectF(cell), side, mark);
    painter->restore();
}

bool LapMarkDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    const LapMark mark = markAt(index.row() + 1, index.column());
    if (event && event->type() == QEvent::ToolTip && mark != LapMark::None) {
        QToolTip::showText(event->globalPos(), uiText(markTip(mark)), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace korimet
