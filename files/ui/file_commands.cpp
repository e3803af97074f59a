#include "files/ui/file_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iostream>
#include <new>
#include <string>

#include "common/ui/ui_text.h"
#include "files/data_file.h"
#include "files/file_texts.h"
#include "files/ui/file_command_texts.h"
#include "files/ui/memo_line_ends.h"
#include "messages/ui/window_messages.h"
#include "session/dialogs.h"
#include "session/system_path.h"
#include "session/window_texts.h"

namespace korimet {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }

void showFailure(Dialogs& dialogs, const QString& text) {
    dialogs.message(text, qs(texts::kAppTitle), MessageIcon::None);
}

// Reading and writing may run out of memory on a huge file. That becomes a message naming
// the file rather than the command guard's general one; false tells the caller to stop.
template <typename Step>
bool namingTheFile(Dialogs& dialogs, const char* failedHead, const QString& path, Step&& step) {
    const char* reason = filetexts::kUnexpectedError;
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        reason = filetexts::kOutOfMemory;
    } catch (const std::exception&) {
    }
    showFailure(dialogs, uiText(failedHead) + shownPath(path) + '\n' + uiText(reason));
    return false;
}

// The start-up has no window to show a message in yet: one line on standard error.
void logTemplateFailure(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::cerr << texts::kAppTitle << ": " << text << '\n';
}

}  // namespace

FileCommands::FileCommands(RunSession& session, Dialogs& dialogs, QObject* parent)
    : QObject(parent), session_(session), dialogs_(dialogs) {}

void FileCommands::readTemplateFile() {
    const char* reason = filetexts::kUnexpectedError;
    try {
        const QString path = QDir::current().absoluteFilePath(qs(kTemplateFileName));
        const QFileInfo info(path);
        // No template is the usual case and no fault.
        if (!info.exists() && !info.isSymLink()) return;
        const DataFileReadResult read = loadTemplateFile(systemPath(path), session_.currentData());
        if (!read) {
            logTemplateFailure(windowMessage(read.error).toStdString());
            return;
        }
        // The box shows the marks; a save refuses them until the user has dealt with them.
        if (read.warning) logTemplateFailure(windowMessage(read.warning).toStdString());
        NewRun run;
        run.data = read.content->data;
        run.origin = RunOrigin::Template;
        run.memo = memoForBox(read.content->memo);
        session_.replaceRun(run);
        return;
    } catch (const std::bad_alloc&) {
        reason = filetexts::kOutOfMemory;
    } catch (const std::exception&) {
    }
    // The window is still being built: nothing may stop it from coming up.
    logTemplateFailure(std::string(filetexts::kReadFailed) + kTemplateFileName + "\n" + reason);
}

void FileCommands::openDataFile() {
    const QString path =
        dialogs_.askOpenPath(uiText(filetexts::kOpenDialogTitle), uiText(texts::kDataFileFilter));
    if (path.isEmpty()) return;
    openRunFile(path, RunOrigin::File);
}

bool FileCommands::openRunFile(const QString& given, RunOrigin origin) {
    // A name relative to where the program was started (its command line) is shown and
    // saved to as the full path File > Open gives, so a later save cannot go elsewhere.
    const QString path =
        QDir::isRelativePath(given) ? QDir::current().absoluteFilePath(given) : given;
    bool opened = false;
    namingTheFile(dialogs_, filetexts::kReadFailed, path, [&] {
        // The whole file is read before anything of the session changes.
        const DataFileReadResult read = loadDataFile(systemPath(path));
        if (!read) {
            showFailure(dialogs_, windowMessage(read.error));
            return;
        }
        NewRun run;
        run.data = read.content->data;
        run.origin = origin;
        run.fileName = path;
        run.memo = memoForBox(read.content->memo);
        run.modelCaption = qs(filetexts::kLoadDataCaption);
        run.sourceCaption = shownPath(path);
        session_.replaceRun(run);
        opened = true;
        // The laps are worth having without the memo. The file stays as it is, and the
        // marks in the box make a save refuse until the user has dealt with them.
        if (read.warning.code == FileErrorCode::MemoUnreadable) {
            showFailure(dialogs_, windowMessage(read.warning) + '\n' +
                                      uiText(filetexts::kMemoMarksBlockSave));
        } else if (read.warning) {
            showFailure(dialogs_, windowMessage(read.warning));
        }
    });
    return opened;
}

bool FileCommands::writeRun(const QString& path) {
    SaveResult saved;
    const bool ran = namingTheFile(dialogs_, filetexts::kSaveFailed, path, [&] {
        saved = korimet::saveDataFile(systemPath(path), session_.currentData(),
                                      memoForFile(session_.memo()));
    });
    if (!ran) return false;
    if (!saved) showFailure(dialogs_, windowMessage(saved.error));
    if (saved.ok) session_.announceSaved(path);
    return saved.ok;
}

void FileCommands::saveDataFileAs() {
    const QString typed =
        dialogs_.askSavePath(uiText(filetexts::kSaveDialogTitle), uiText(texts::kDataFileFilter));
    if (typed.isEmpty()) return;
    const QString path = pathFromSystem(withDataFileSuffix(systemPath(typed)));
    // The name is kept only once the file holds the run, so a failed save leaves the next
    // File > Save pointing where it pointed before.
    if (writeRun(path)) session_.setCurrentFileName(path);
}

void FileCommands::saveDataFile() {
    if (session_.currentFileName().isEmpty()) {
        saveDataFileAs();
        return;
    }
    writeRun(session_.currentFileName());
}

}  // namespace korimet
