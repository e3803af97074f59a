#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTextEdit>
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/ui/file_command_texts.h"
#include "files/ui/memo_line_ends.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_texts.h"

// File > Open, Save and Save As, and the template read at start-up. These run from the
// menu, the toolbar and shortcut keys: nothing may leave them as an exception, and a
// failure leaves the run, the memo, the file name and the file on disk as they were.
namespace korimet {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }
QString qs(const std::string& text) { return QString::fromStdString(text); }

// Paths go to the core as the bytes the system knows the file by, not as UTF-8.
std::string systemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void showFailure(Dialogs& dialogs, const std::string& text) noexcept {
    try {
        dialogs.message(qs(text), qs(texts::kAppTitle), MessageIcon::None);
    } catch (...) {
        // Not even the message could be shown; the command has changed nothing.
    }
}

// Runs a step that may throw (out of memory, mostly). A throw becomes a message naming
// the file; false tells the caller to stop.
template <typename Step>
bool guarded(Dialogs& dialogs, const char* failedHead, const QString& path, Step&& step) noexcept {
    const char* reason = filetexts::kUnexpectedError;
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        reason = filetexts::kOutOfMemory;
    } catch (...) {
    }
    try {
        showFailure(dialogs, std::string(failedHead) + path.toStdString() + "\n" + reason);
    } catch (...) {
    }
    return false;
}

// Writes the run and the memo box text to path; a failure is shown and leaves any file
// already there whole.
bool writeRun(Dialogs& dialogs, const QString& path, const LapData& data, const QString& memo) {
    SaveResult saved;
    const bool ran = guarded(dialogs, filetexts::kSaveFailed, path, [&] {
        saved = korimet::saveDataFile(systemPath(path), data, memoForFile(memo));
    });
    if (!ran) return false;
    if (!saved) showFailure(dialogs, saved.error);
    return saved.ok;
}

// The start-up has no window to show a message in yet: one line on standard error.
void logTemplateFailure(std::string text) noexcept {
    try {
        for (char& c : text) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        std::cerr << texts::kAppTitle << ": " << text << '\n';
    } catch (...) {
    }
}

}  // namespace

void MainWindow::readTemplateFile() {
    try {
        const QString path = QDir::current().absoluteFilePath(qs(kTemplateFileName));
        const QFileInfo info(path);
        // No template is the usual case and no fault.
        if (!info.exists() && !info.isSymLink()) return;
        const DataFileReadResult read = loadTemplateFile(systemPath(path), session_->currentData());
        if (!read) {
            logTemplateFailure(read.error);
            return;
        }
        // The box shows the marks; a save refuses them until the user has dealt with them.
        if (!read.warning.empty()) logTemplateFailure(read.warning);
        const QString memo = memoForBox(read.content->memo);
        memoBox->setPlainText(memo);
        session_->replaceRun(read.content->data, RunOrigin::Template, QString());
    } catch (const std::bad_alloc&) {
        logTemplateFailure(std::string(filetexts::kReadFailed) + kTemplateFileName + "\n" +
                           filetexts::kOutOfMemory);
    } catch (...) {
        logTemplateFailure(std::string(filetexts::kReadFailed) + kTemplateFileName + "\n" +
                           filetexts::kUnexpectedError);
    }
}

void MainWindow::openDataFile() {
    try {
        const QString path =
            dialogs().askOpenPath(qs(filetexts::kOpenDialogTitle), qs(texts::kDataFileFilter));
        if (path.isEmpty()) return;
        readRunFile(path, RunOrigin::File);
    } catch (...) {
        // Only the dialog itself can get here, before anything changed.
    }
}

bool MainWindow::readRunFile(const QString& path, RunOrigin origin) {
    bool opened = false;
    guarded(dialogs(), filetexts::kReadFailed, path, [&] {
        // The whole file is read before anything of the window changes.
        const DataFileReadResult read = loadDataFile(systemPath(path));
        if (!read) {
            showFailure(dialogs(), read.error);
            return;
        }
        const QString memo = memoForBox(read.content->memo);
        memoBox->setPlainText(memo);
        modelLabel->setText(qs(filetexts::kLoadDataCaption));
        versionLabel->setText(path);
        session_->replaceRun(read.content->data, origin, path);
        opened = true;
        // The laps are worth having without the memo. The file stays as it is, and the
        // marks in the box make a save refuse until the user has dealt with them.
        if (!read.warning.empty()) {
            showFailure(dialogs(), read.warning + "\n" + filetexts::kMemoMarksBlockSave);
        }
    });
    return opened;
}

void MainWindow::saveDataFileAs() {
    try {
        const QString typed =
            dialogs().askSavePath(qs(filetexts::kSaveDialogTitle), qs(texts::kDataFileFilter));
        if (typed.isEmpty()) return;
        const QString path = QFile::decodeName(withDataFileSuffix(systemPath(typed)).c_str());
        // The name is kept only once the file holds the run, so a failed save leaves the
        // next File > Save pointing where it pointed before.
        if (writeRun(dialogs(), path, session_->currentData(), memoBox->toPlainText())) {
            session_->setCurrentFileName(path);
        }
    } catch (...) {
        // Only the dialog or the memo text can get here, before anything was written.
    }
}

void MainWindow::saveDataFile() {
    if (session_->currentFileName().isEmpty()) {
        saveDataFileAs();
        return;
    }
    try {
        writeRun(dialogs(), session_->currentFileName(), session_->currentData(),
                 memoBox->toPlainText());
    } catch (...) {
        // Only the memo text can get here, before anything was written.
    }
}

}  // namespace korimet
