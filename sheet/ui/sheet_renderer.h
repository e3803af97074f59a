#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include "sheet/lap_sheet.h"

class QCPPainter;
class QPrinter;

namespace korimet {

// The paper of the default printer's default page: Letter where it says so, else A4.
Paper defaultPaper();
Paper paperOf(const QPrinter& printer);

// Paints the sheet on one page. `pageRect` is the whole sheet of paper in the painter's
// coordinates; the layout is scaled to fit it. Text stays text, the chart stays vectors.
// Gives back the part of the memo that goes on to the next page, empty when all fitted.
QString paintSheet(QCPPainter& painter, const QRectF& pageRect, const LapSheet& sheet, Paper paper);

// The texts of the sheet's first page that are wider than their place there.
QStringList sheetTextsCut(const LapSheet& sheet, Paper paper);

// Prints onto a printer that has already been set up, a long memo going on over as many
// pages as it needs; false when it could not begin.
bool printSheet(QPrinter& printer, const LapSheet& sheet);

// The chart alone: 800 x 400 logical pixels drawn at `scale`, so 2 gives a picture for
// sharp screens.
inline constexpr QSize kChartPictureSize{800, 400};
QImage renderChartPicture(const LapSheet& sheet, double scale);

// Why a sheet was not written: the page could not be drawn, or the system refused the file
// (its errno). The caller names the file and puts the reason into words.
struct SheetWriteResult {
    bool ok = false;
    bool paintFailed = false;
    int systemError = 0;
    bool notAFile = false;  // the name holds a socket or a block device: left as it was
    explicit operator bool() const { return ok; }
};

// The whole file drawn in memory, for a caller that writes it itself (a name given as
// bytes, standard output); no bytes when the page could not be drawn.
struct SheetBytes {
    QByteArray bytes;
    bool painted = false;
    explicit operator bool() const { return painted; }
};
SheetBytes sheetPdfBytes(const LapSheet& sheet, Paper paper);
SheetBytes chartPngBytes(const LapSheet& sheet, int width);

// Draws in memory, then writes durably: the name only ever holds a complete file, and on
// any failure nothing new stays behind and an existing file keeps its content. A pipe or a
// character device chosen is written to as it is. The path goes to the system as
// QFile::encodeName makes it.
SheetWriteResult writeSheetPdf(const LapSheet& sheet, Paper paper, const QString& path);
SheetWriteResult writeChartPng(const LapSheet& sheet, int width, const QString& path);

}  // namespace korimet
