#include "sheet/ui/lap_sheet_commands.h"

#include <sys/stat.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "common/ui/window_messages.h"
#include "session/addition.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/sheet_renderer.h"

namespace korimet {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }

QString reasonOf(const SheetWriteResult& w) {
    if (w.paintFailed) return qs(texts::kPaintFailed);
    return QString::fromStdString(systemReason(w.systemError, windowLanguage()));
}

SheetDateTime fromQt(const QDateTime& t) {
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

SheetDateTime dateOf(const RunSession& session) {
    // A run from the library is dated by its download even after Save As moved it.
    const QString path = session.origin() == RunOrigin::Library ? session.sourceFileName()
                                                                : session.currentFileName();
    std::optional<SheetDateTime> fileTime;
    struct stat info {};
    if (!path.isEmpty() && ::stat(systemPath(path).c_str(), &info) == 0) {
        fileTime = fromQt(QDateTime::fromSecsSinceEpoch(info.st_mtime));
    }
    return sheetDate(systemPath(path), fileTime, fromQt(QDateTime::currentDateTime()));
}

class LapSheetCommands : public QObject {
  public:
    explicit LapSheetCommands(const Addition& addition)
        : QObject(&addition.window),
          session_(addition.session),
          dialogs_(addition.dialogs),
          window_(addition.window) {}

    void print() {
        const LapSheet sheet = sheetOfSession(session_);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(
            QPageSize(defaultPaper() == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
        printer.setDocName(QString::fromStdString(sheet.title));
        QPrintPreviewDialog preview(&printer, &window_);
        preview.setObjectName(QStringLiteral("dlgLapSheetPreview"));
        preview.setWindowTitle(qs(texts::kPrintTitle));
        bool failed = false;
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [&](QPrinter* target) { failed = !printSheet(*target, sheet) || failed; });
        preview.exec();
        if (failed) {
            dialogs_.message(qs(texts::kPrintFailed).arg(printer.printerName()), QString(),
                             MessageIcon::None);
        }
    }

    void savePdf() {
        const LapSheet sheet = sheetOfSession(session_);
        const QString path = askPath(texts::kSavePdfTitle, texts::kSavePdfFilter, ".pdf");
        if (path.isEmpty()) return;
        if (const SheetWriteResult w = writeSheetPdf(sheet, defaultPaper(), path); !w) {
            dialogs_.message(qs(texts::kPdfWriteFailed).arg(path, reasonOf(w)), QString(),
                             MessageIcon::None);
        }
    }

    void saveChart() {
        const LapSheet sheet = sheetOfSession(session_);
        const QString path = askPath(texts::kSaveChartTitle, texts::kSaveChartFilter, ".png");
        if (path.isEmpty()) return;
        const int width = static_cast<int>(2 * kChartPictureSize.width());  // sharp at 2x
        if (const SheetWriteResult w = writeChartPng(sheet, width, path); !w) {
            dialogs_.message(qs(texts::kPngWriteFailed).arg(path, reasonOf(w)), QString(),
                             MessageIcon::None);
        }
    }

  private:
    // Suggests a name from the run's date and car beside its file; adds the extension
    // when the answer has none.
    QString askPath(const char* title, const char* filter, const char* extension) {
        const RunSession& session = session_;
        const QString name = QString::fromStdString(
            suggestedSheetFileName(dateOf(session), session.currentData(), extension));
        const QString file = session.currentFileName();
        const QString suggested = file.isEmpty() ? name : QFileInfo(file).dir().filePath(name);
        QString path = dialogs_.askSavePathFrom(qs(title), qs(filter), suggested);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += qs(extension);
        return path;
    }

    const RunSession& session_;
    Dialogs& dialogs_;
    QWidget& window_;
};

QAction* addCommand(QMenu* menu, const char* text, const char* name) {
    QAction* action = menu->addAction(qs(text));  // the menu owns it
    action->setObjectName(qs(name));
    return action;
}

}  // namespace

LapSheet sheetOfSession(const RunSession& session) {
    SheetInput input;
    input.run = {session.currentData(), systemPath(session.currentFileName())};
    input.memo = session.memo().toStdString();
    input.date = dateOf(session);
    if (session.hasComparison()) {
        input.comparison =
            SheetRun{session.comparisonData(), systemPath(session.comparisonFileName())};
    }
    return buildLapSheet(input);
}

void attachLapSheet(const Addition& addition) {
    auto* commands = new LapSheetCommands(addition);  // the window owns it
    QMenu* menu = &addition.menu;
    QObject::connect(addCommand(menu, texts::kPrintCommand, texts::kPrintCommandName),
                     &QAction::triggered, commands, [commands] { commands->print(); });
    QObject::connect(addCommand(menu, texts::kSavePdfCommand, texts::kSavePdfCommandName),
                     &QAction::triggered, commands, [commands] { commands->savePdf(); });
    QObject::connect(addCommand(menu, texts::kSaveChartCommand, texts::kSaveChartCommandName),
                     &QAction::triggered, commands, [commands] { commands->saveChart(); });
}

}  // namespace korimet
