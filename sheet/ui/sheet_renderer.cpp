#include "sheet/ui/sheet_renderer.h"

#include "session/system_path.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "common/ui/ui_fonts.h"
#include "files/durable_write.h"
#include "lapdata/ui/lap_chart.h"
#include "lapdata/ui/lap_marks.h"

namespace korimet {

namespace {

QString paintFirstPage(QCPPainter& p, const QRectF& pageRect, const LapSheet& sheet, Paper paper,
                       QStringList* cut);

// The page is drawn in points; the layout is in millimetres.
constexpr double kPointsPerMm = 72.0 / 25.4;

QString q(const std::string& text) { return QString::fromStdString(text); }

QRectF pt(const SheetRect& r) {
    return {r.x * kPointsPerMm, r.y * kPointsPerMm, r.width * kPointsPerMm,
            r.height * kPointsPerMm};
}

QColor fromCellColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Pixel sizes, so that a font scales with the painter like everything else on the page
// instead of following the device's resolution.
QFont sheetFont(int size, bool bold = false) {
    QFont font = japaneseGothicFont(10, bold);
    font.setStretch(QFont::Unstretched);
    font.setPixelSize(size);
    return font;
}

const QColor kCaptionColor(90, 90, 90);
const QColor kRuleColor(160, 160, 160);
const QColor kHeadFill(235, 235, 235);

// Notes a text wider than the room it is drawn in; no notes are kept when `cut` is null.
void noteIfCut(const QPainter& p, const QString& text, double room, QStringList* cut) {
    if (cut && p.fontMetrics().horizontalAdvance(text) > room) cut->push_back(text);
}

// A row of fields, each a small caption over its value.
void drawFields(QPainter& p, const QRectF& area, const std::vector<SheetField>& fields, int perRow,
                int valueSize, QStringList* cut) {
    if (fields.empty()) return;
    const int rows = (static_cast<int>(fields.size()) + perRow - 1) / perRow;
    const double w = area.width() / perRow;
    const double h = area.height() / rows;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const QRectF cell(area.x() + (i % perRow) * w, area.y() + (i / perRow) * h, w, h);
        const QRectF inner = cell.adjusted(3, 1, -3, -1);
        p.setFont(sheetFont(7));
        p.setPen(kCaptionColor);
        const QString caption = q(fields[static_cast<std::size_t>(i)].caption);
        p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, caption);
        noteIfCut(p, caption, inner.width(), cut);
        p.setFont(sheetFont(valueSize));
        p.setPen(Qt::black);
        const QString value = q(fields[static_cast<std::size_t>(i)].value);
        noteIfCut(p, value, inner.width(), cut);
        p.drawText(
            inner, Qt::AlignLeft | Qt::AlignBottom,
            p.fontMetrics().elidedText(value, Qt::ElideMiddle, static_cast<int>(inner.width())));
    }
}

// The chart's widget on the sheet: the window's chart, named by run, in pixel-sized fonts.
void drawChart(QCPPainter& p, const QRectF& area, const LapSheet& sheet, int fontSize) {
    if (sheet.chart.empty()) {
        p.setFont(sheetFont(9));
        p.setPen(kCaptionColor);
        p.drawText(area, Qt::AlignCenter, q(sheet.noLapsText));
        return;
    }
    LapChart chart;
    QCustomPlot* plot = chart.plot();
    const QSize size(static_cast<int>(area.width()), static_cast<int>(area.height()));
    chart.resize(size);
    plot->setGeometry(QRect(QPoint(0, 0), size));
    const QFont font = sheetFont(fontSize);
    for (QCPAxis* axis : {plot->xAxis, plot->yAxis, plot->yAxis2}) axis->setTickLabelFont(font);
    plot->legend->setFont(font);
    chart.setChartData(sheet.chart);
    for (int g = 0; g < plot->graphCount(); ++g) {
        if (static_cast<std::size_t>(g) < sheet.seriesNames.size())
            plot->graph(g)->setName(q(sheet.seriesNames[static_cast<std::size_t>(g)]));
    }
    if (plot->graphCount() > 1) {
        // Above the plot, in one row: on paper nothing may hide a lap. The chart of two runs
        // has usually put it there already; taking it from the inset again would only warn.
        if (plot->legend->layout() == plot->axisRect()->insetLayout()) {
            plot->plotLayout()->insertRow(0);
            plot->plotLayout()->addElement(0, 0, plot->legend);  // leaves the inset
            plot->axisRect()->insetLayout()->simplify();
            plot->plotLayout()->setRowStretchFactor(0, 0.001);
        }
        plot->legend->setFillOrder(QCPLegend::foColumnsFirst);
        plot->legend->setBorderPen(Qt::NoPen);
        plot->legend->setVisible(true);
    }

    p.save();
    p.translate(area.topLeft());
    p.setClipRect(QRectF(QPointF(0, 0), area.size()));
    p.setMode(QCPPainter::pmVectorized);
    p.setMode(QCPPainter::pmNoCaching);
    plot->toPainter(&p, size.width(), size.height());
    p.restore();
}

void drawLapTable(QPainter& p, const PageLayout& layout, const LapSheet& sheet, QStringList* cut) {
    const double row = layout.rowHeight * kPointsPerMm;
    const double groupWidth = layout.lapTable.width * kPointsPerMm / layout.lapGroups;
    const double numberWidth = groupWidth * 0.26;
    const double markWidth = groupWidth * 0.16;
    const QRectF table = pt(layout.lapTable);
    const int used = std::max(
        1, (static_cast<int>(sheet.laps.size()) + layout.rowsPerGroup - 1) / layout.rowsPerGroup);

    p.setPen(QPen(kRuleColor, 0.5));
    for (int g = 0; g < used; ++g) {
        const QRectF head(table.x() + g * groupWidth, table.y(), groupWidth, row);
        p.fillRect(head, kHeadFill);
        p.setFont(sheetFont(8, true));
        p.setPen(Qt::black);
        p.drawText(QRectF(head.x(), head.y(), numberWidth, row), Qt::AlignCenter,
                   q(sheet.lapNumberHeader));
        noteIfCut(p, q(sheet.lapNumberHeader), numberWidth, cut);
        noteIfCut(p, q(sheet.lapTimeHeader), groupWidth - numberWidth - markWidth, cut);
        p.drawText(QRectF(head.x() + numberWidth + markWidth, head.y(),
                          groupWidth - numberWidth - markWidth, row),
                   Qt::AlignCenter, q(sheet.lapTimeHeader));
        p.setPen(QPen(kRuleColor, 0.5));
        p.drawRect(head);
    }
    if (sheet.laps.empty()) {
        p.setFont(sheetFont(8));
        p.setPen(kCaptionColor);
        p.drawText(QRectF(table.x() + 3, table.y() + row, table.width(), row),
                   Qt::AlignLeft | Qt::AlignVCenter, q(sheet.noLapsText));
        return;
    }
    for (std::size_t i = 0; i < sheet.laps.size(); ++i) {
        const SheetLap& lap = sheet.laps[i];
        const QRectF cell = pt(lapCellRect(layout, static_cast<int>(i)));
        p.fillRect(cell, fromCellColor(lap.color));
        p.setPen(QPen(kRuleColor, 0.5));
        p.drawRect(cell);
        paintLapMark(p, cell, row / 2, lap.lapMark);
        p.setPen(Qt::black);
        p.setFont(sheetFont(8));
        p.drawText(QRectF(cell.x(), cell.y(), numberWidth, row), Qt::AlignCenter,
                   QString::number(lap.number));
        p.drawText(QRectF(cell.x() + numberWidth, cell.y(), markWidth, row), Qt::AlignCenter,
                   q(lap.mark));
        p.setFont(sheetFont(9, lap.role == LapRole::Best || lap.role == LapRole::Worst));
        p.drawText(QRectF(cell.x() + numberWidth + markWidth, cell.y(),
                          cell.width() - numberWidth - markWidth, row),
                   Qt::AlignCenter, q(lap.timeText));
    }
}

// Side by side while they fit the area's width, else one under another.
void drawLegend(QPainter& p, const QRectF& area, const LapSheet& sheet) {
    // The layout makes a stacked legend a line high for each mark, a row one line high.
    const bool stacked = !sheet.legend.empty() && area.width() < 8 * area.height();
    const double line =
        stacked ? area.height() / static_cast<double>(sheet.legend.size()) : area.height();
    double x = area.x();
    double y = area.y();
    const double box = line * 0.7;
    p.setFont(sheetFont(8));
    for (const SheetLegendEntry& entry : sheet.legend) {
        const QRectF swatch(x, y + (line - box) / 2, box * 1.6, box);
        p.fillRect(swatch, fromCellColor(entry.color));
        p.setPen(QPen(kRuleColor, 0.5));
        p.drawRect(swatch);
        p.setPen(Qt::black);
        p.drawText(swatch, Qt::AlignCenter, q(entry.mark));
        const QString meaning = q(entry.meaning);
        const double textWidth = p.fontMetrics().horizontalAdvance(meaning);
        p.drawText(QRectF(swatch.right() + 3, y, textWidth + 2, line),
                   Qt::AlignLeft | Qt::AlignVCenter, meaning);
        if (stacked) {
            y += line;
        } else {
            x = swatch.right() + 3 + textWidth + 14;
        }
    }
}

// Wrapped at word or character boundaries; gives back what did not fit, from the first line
// left out, for the next page.
QString drawMemo(QPainter& p, const QRectF& area, const QString& memo, const QString& caption) {
    p.setFont(sheetFont(7));
    p.setPen(kCaptionColor);
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop, caption);
    const QRectF box = area.adjusted(0, 10, 0, 0);
    p.setPen(QPen(kRuleColor, 0.5));
    p.drawRect(box);
    const QRectF text = box.adjusted(4, 3, -4, -3);
    const QFont font = sheetFont(9);
    p.setFont(font);
    p.setPen(Qt::black);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double y = text.y();
    const QStringList paragraphs = memo.split(QLatin1Char('\n'));
    for (qsizetype k = 0; k < paragraphs.size(); ++k) {
        const QString& paragraph = paragraphs[k];
        QTextLayout layout(paragraph, font, p.device());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(text.width());
            // A box too small for even one line still takes one, so every page moves on.
            if (y + line.height() > text.bottom() && y > text.y()) {
                const qsizetype from = line.textStart();
                layout.endLayout();
                QStringList rest = paragraphs.mid(k);
                rest.front() = paragraph.mid(from);
                return rest.join(QLatin1Char('\n'));
            }
            line.setPosition(QPointF(0, y - text.y()));
            line.draw(&p, text.topLeft());
            y += line.height();
        }
        layout.endLayout();
        if (paragraph.isEmpty()) y += QFontMetricsF(font).height();
    }
    return {};
}

// A page that only goes on with the memo.
QString paintMemoPage(QPainter& p, const QRectF& pageRect, const QString& memo,
                      const QString& caption, double pageWidthMm, double pageHeightMm) {
    const double scale = std::min(pageRect.width() / (pageWidthMm * kPointsPerMm),
                                  pageRect.height() / (pageHeightMm * kPointsPerMm));
    p.save();
    p.translate(pageRect.topLeft());
    p.scale(scale, scale);
    p.setRenderHint(QPainter::TextAntialiasing);
    constexpr double kMarginMm = 15.0;
    const QRectF area(kMarginMm * kPointsPerMm, kMarginMm * kPointsPerMm,
                      (pageWidthMm - 2 * kMarginMm) * kPointsPerMm,
                      (pageHeightMm - 2 * kMarginMm) * kPointsPerMm);
    const QString rest = drawMemo(p, area, memo, caption);
    p.restore();
    return rest;
}

// Every page of the sheet onto a device that has begun: the sheet, then the memo's rest.
template <typename Device>
void paintAllPages(QCPPainter& painter, Device& device, const QRectF& pageRect,
                   const LapSheet& sheet, Paper paper) {
    QString rest = paintFirstPage(painter, pageRect, sheet, paper, nullptr);
    const PageLayout layout = layoutPage(sheet, paper);
    while (!rest.isEmpty()) {
        device.newPage();
        rest = paintMemoPage(painter, pageRect, rest, q(sheet.memoContinuedCaption),
                             layout.pageWidth, layout.pageHeight);
    }
}

}  // namespace

Paper defaultPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull() && printer.defaultPageSize().id() == QPageSize::Letter)
        return Paper::Letter;
    return Paper::A4;
}

Paper paperOf(const QPrinter& printer) {
    return printer.pageLayout().pageSize().id() == QPageSize::Letter ? Paper::Letter : Paper::A4;
}

namespace {

QString paintFirstPage(QCPPainter& p, const QRectF& pageRect, const LapSheet& sheet, Paper paper,
                       QStringList* cut) {
    const PageLayout layout = layoutPage(sheet, paper);
    const double scale = std::min(pageRect.width() / (layout.pageWidth * kPointsPerMm),
                                  pageRect.height() / (layout.pageHeight * kPointsPerMm));
    p.save();
    p.translate(pageRect.topLeft());
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF title = pt(layout.title);
    p.setPen(Qt::black);
    p.setFont(sheetFont(15, true));
    p.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, q(sheet.title));
    noteIfCut(p, q(sheet.title), title.width() * 0.8, cut);  // the program's name on the right
    p.setFont(sheetFont(8));
    p.setPen(kCaptionColor);
    p.drawText(title, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Korimet"));
    p.setPen(QPen(Qt::black, 0.8));
    p.drawLine(title.bottomLeft() + QPointF(0, 2), title.bottomRight() + QPointF(0, 2));

    drawFields(p, pt(layout.header), sheet.header, 3, 10, cut);
    const QRectF stats = pt(layout.statistics);
    p.fillRect(stats, kHeadFill);
    drawFields(p, stats, sheet.statistics, static_cast<int>(sheet.statistics.size()), 10, cut);

    if (sheet.comparison) {
        const QRectF area = pt(layout.comparison);
        p.setPen(QPen(kRuleColor, 0.5));
        p.drawRect(area);
        std::vector<SheetField> fields = {
            {sheet.comparison->runCaption, sheet.comparison->runName}};
        fields.insert(fields.end(), sheet.comparison->differences.begin(),
                      sheet.comparison->differences.end());
        drawFields(p, area.adjusted(0, 2, 0, -2), fields, 4, 10, cut);
    }

    const QRectF chart = pt(layout.chart);
    drawChart(p, chart, sheet, 8);
    p.setPen(QPen(kRuleColor, 0.5));
    p.drawRect(chart);

    drawLapTable(p, layout, sheet, cut);
    drawLegend(p, pt(layout.legend), sheet);
    QString rest = drawMemo(p, pt(layout.memo), q(sheet.memo), q(sheet.memoCaption));
    p.restore();
    return rest;
}

}  // namespace

QString paintSheet(QCPPainter& p, const QRectF& pageRect, const LapSheet& sheet, Paper paper) {
    return paintFirstPage(p, pageRect, sheet, paper, nullptr);
}

QStringList sheetTextsCut(const LapSheet& sheet, Paper paper) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QCPPainter painter;
    QStringList cut;
    if (!painter.begin(&writer)) return cut;
    paintFirstPage(painter, QRectF(0, 0, writer.width(), writer.height()), sheet, paper, &cut);
    painter.end();
    return cut;
}

bool printSheet(QPrinter& printer, const LapSheet& sheet) {
    printer.setFullPage(true);
    QCPPainter painter;
    if (!painter.begin(&printer)) return false;
    paintAllPages(painter, printer, QRectF(0, 0, printer.width(), printer.height()), sheet,
                  paperOf(printer));
    return painter.end();
}

QImage renderChartPicture(const LapSheet& sheet, double scale) {
    QImage image(static_cast<int>(std::lround(kChartPictureSize.width() * scale)),
                 static_cast<int>(std::lround(kChartPictureSize.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QCPPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A picture shared on its own still says whose run it shows.
    constexpr double kTitleHeight = 28.0;
    painter.setFont(sheetFont(14, true));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(10, 0, kChartPictureSize.width() - 20, kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, q(sheet.chartTitle));
    drawChart(painter,
              QRectF(0, kTitleHeight, kChartPictureSize.width(),
                     kChartPictureSize.height() - kTitleHeight),
              sheet, 11);
    painter.end();
    return image;
}

SheetBytes sheetPdfBytes(const LapSheet& sheet, Paper paper) {
    // Drawn whole in memory first: a failure half way never reaches the disk.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(q(sheet.title));
        writer.setCreator(QStringLiteral("Korimet"));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QCPPainter painter;
        if (!painter.begin(&writer)) return {{}, false};
        paintAllPages(painter, writer, QRectF(0, 0, writer.width(), writer.height()), sheet, paper);
        if (!painter.end()) return {{}, false};
    }
    return {bytes, true};
}

SheetBytes chartPngBytes(const LapSheet& sheet, int width) {
    const QImage image =
        renderChartPicture(sheet, width / static_cast<double>(kChartPictureSize.width()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {{}, false};
    return {bytes, true};
}

namespace {

SheetWriteResult written(const SheetBytes& drawn, const QString& path) {
    if (!drawn) return {false, true, 0, false};
    const DurableWrite w = writeOutputFile(
        systemPath(path),
        std::string_view(drawn.bytes.constData(), static_cast<std::size_t>(drawn.bytes.size())));
    if (w.status == DurableWrite::Status::NotAFile && w.found == FileKind::Directory)
        return {false, false, EISDIR, false};  // said as the system says it
    return {static_cast<bool>(w), false, w.error, w.status == DurableWrite::Status::NotAFile};
}

}  // namespace

SheetWriteResult writeSheetPdf(const LapSheet& sheet, Paper paper, const QString& path) {
    return written(sheetPdfBytes(sheet, paper), path);
}

SheetWriteResult writeChartPng(const LapSheet& sheet, int width, const QString& path) {
    return written(chartPngBytes(sheet, width), path);
}

}  // namespace korimet
