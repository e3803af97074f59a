#include "sheet/ui/lap_sheet_commands.h"

#include <sys/stat.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QToolTip>

#include "common/ui/ui_text.h"
#include "lapdata/run_statistics.h"
#include "messages/file_messages.h"
#include "session/addition.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"
#include "sheet/lap_sheet.h"
#include "sheet/sheet_texts.h"
#include "sheet/ui/sheet_renderer.h"

namespace korimet {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }
// A text of the sheet's commands in the window's language.
QString said(const char* japanese) { return uiText(japanese); }

QString reasonOf(const SheetWriteResult& w) {
    if (w.paintFailed) return said(texts::kPaintFailed);
    if (w.notAFile) return said(texts::kNotAnOutput);
    return QString::fromStdString(systemReason(w.systemError, uiWording()));
}

SheetDateTime fromQt(const QDateTime& t) {
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

// The file a sheet names the run by: the one File > Save writes to, else for a download the
// library's copy of it.
QString runFileOf(const RunSession& session) {
    return session.currentFileName().isEmpty() ? session.keptFileName() : session.currentFileName();
}

std::optional<SheetDateTime> modifiedAt(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(systemPath(path).c_str(), &info) != 0) return std::nullopt;
    return fromQt(QDateTime::fromSecsSinceEpoch(info.st_mtime));
}

// Sheets are kept where the racer put the last one, not among the library's runs.
const QString kSheetFolderKey = QStringLiteral("Sheet/Folder");

QString sheetFolder() {
    const QString remembered = QSettings().value(kSheetFolderKey).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

SheetDateTime dateOf(const RunSession& session) {
    // A run from the library is dated by its download even after Save As moved it, and so
    // is a download by its library copy.
    QString path = session.origin() == RunOrigin::Library ? session.sourceFileName()
                                                          : session.currentFileName();
    if (session.origin() == RunOrigin::Timer && !session.keptFileName().isEmpty())
        path = session.keptFileName();
    return sheetDate(systemPath(path), modifiedAt(path), fromQt(QDateTime::currentDateTime()));
}

class LapSheetCommands : public QObject {
  public:
    explicit LapSheetCommands(const Addition& addition)
        : QObject(&addition.window),
          session_(addition.session),
          dialogs_(addition.dialogs),
          window_(addition.window) {}

    void print() {
        if (nothingToPrint()) return;
        const LapSheet sheet = sheetOfSession(session_);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(
            QPageSize(defaultPaper() == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
        // The print dialog names a print to file after the document, so it is named as a
        // sheet saved as PDF would be.
        printer.setDocName(QString::fromStdString(
            suggestedSheetFileName(dateOf(session_), session_.currentData(), "")));
        QPrintPreviewDialog preview(&printer, &window_);
        preview.setObjectName(QStringLiteral("dlgLapSheetPreview"));
        preview.setWindowTitle(said(texts::kPrintTitle));
        // Large enough to read the page: most of the screen's height, a page's proportions.
        if (const QScreen* screen = window_.screen()) {
            const QRect room = screen->availableGeometry();
            const int height = room.height() * 9 / 10;
            preview.resize(std::min(room.width() * 9 / 10, height * 5 / 6), height);
        }
        bool failed = false;
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [&](QPrinter* target) { failed = !printSheet(*target, sheet) || failed; });
        if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) pages->fitToWidth();
        preview.exec();
        if (failed) {
            dialogs_.message(said(texts::kPrintFailed).arg(printer.printerName()), QString(),
                             MessageIcon::None);
        }
    }

    void savePdf() {
        if (nothingToPrint()) return;
        const LapSheet sheet = sheetOfSession(session_);
        const QString path = askPath(texts::kSavePdfTitle, texts::kSavePdfFilter, ".pdf");
        if (path.isEmpty()) return;
        if (const SheetWriteResult w = writeSheetPdf(sheet, defaultPaper(), path); !w) {
            dialogs_.message(said(texts::kPdfWriteFailed).arg(path, reasonOf(w)), QString(),
                             MessageIcon::None);
            return;
        }
        saved(texts::kPdfSaved, path);
    }

    void saveChart() {
        if (nothingToPrint()) return;
        const LapSheet sheet = sheetOfSession(session_);
        const QString path = askPath(texts::kSaveChartTitle, texts::kSaveChartFilter, ".png");
        if (path.isEmpty()) return;
        const int width = static_cast<int>(2 * kChartPictureSize.width());  // sharp at 2x
        if (const SheetWriteResult w = writeChartPng(sheet, width, path); !w) {
            dialogs_.message(said(texts::kPngWriteFailed).arg(path, reasonOf(w)), QString(),
                             MessageIcon::None);
            return;
        }
        saved(texts::kPngSaved, path);
    }

  private:
    // The template the window starts with is no run: an empty page would say nothing.
    bool nothingToPrint() {
        if (session_.origin() != RunOrigin::Template ||
            runStatistics(session_.currentData()).counted > 0) {
            return false;
        }
        dialogs_.message(said(texts::kNothingToPrint), QString(), MessageIcon::None);
        return true;
    }

    // Said in passing, over the window: the window's status bar keeps what it says.
    void saved(const char* text, const QString& path) {
        QSettings().setValue(kSheetFolderKey, QFileInfo(path).absolutePath());
        const QString notice = said(text).arg(QDir::toNativeSeparators(path));
        QToolTip::showText(window_.mapToGlobal(QPoint(window_.width() / 3, window_.height() - 40)),
                           notice, &window_, {}, 5000);
    }

    // Suggests a name from the run's date and car in the folder sheets were last saved to;
    // adds the extension when the answer has none.
    QString askPath(const char* title, const char* filter, const char* extension) {
        const QString name = QString::fromStdString(
            suggestedSheetFileName(dateOf(session_), session_.currentData(), extension));
        const QString suggested = QDir(sheetFolder()).filePath(name);
        QString path = dialogs_.askSavePathFrom(said(title), said(filter), suggested);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += qs(extension);
        return path;
    }

    const RunSession& session_;
    Dialogs& dialogs_;
    QWidget& window_;
};

// Under the guard every command of the window runs under, named as the menu shows it when it
// runs.
void addCommand(LapSheetCommands* commands, const Addition& addition, const char* text,
                const char* name, void (LapSheetCommands::*command)()) {
    QAction* action = addition.menu.addAction(QString());  // the menu owns it
    setFixedText(action, text);
    action->setObjectName(qs(name));
    Dialogs* dialogs = &addition.dialogs;
    QObject::connect(action, &QAction::triggered, commands, [commands, dialogs, action, command] {
        runGuarded(*dialogs, commandName(action->text()), [&] { (commands->*command)(); });
    });
}

}  // namespace

LapSheet sheetOfSession(const RunSession& session) {
    SheetInput input;
    input.run = {session.runView(), systemPath(runFileOf(session))};
    input.memo = session.runMemo().toStdString();
    input.date = dateOf(session);
    if (session.hasComparison()) {
        const QString other = session.comparisonFileName();
        input.comparison = SheetRun{
            session.comparisonRun(), systemPath(other),
            sheetDate(systemPath(other), modifiedAt(other), fromQt(QDateTime::currentDateTime()))};
    }
    return buildLapSheet(input, uiWording());
}

void attachLapSheet(const Addition& addition) {
    auto* commands = new LapSheetCommands(addition);  // the window owns it
    addCommand(commands, addition, texts::kPrintCommand, texts::kPrintCommandName,
               &LapSheetCommands::print);
    addCommand(commands, addition, texts::kSavePdfCommand, texts::kSavePdfCommandName,
               &LapSheetCommands::savePdf);
    addCommand(commands, addition, texts::kSaveChartCommand, texts::kSaveChartCommandName,
               &LapSheetCommands::saveChart);
}

}  // namespace korimet
