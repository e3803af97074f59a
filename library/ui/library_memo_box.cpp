#include "library/ui/library_memo_box.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "common/ui/ui_text.h"
#include "files/ui/memo_line_ends.h"
#include "library/ui/library_table_model.h"
#include "library/ui/library_texts.h"
#include "session/command_guard.h"
#include "session/dialogs.h"
#include "session/run_session.h"
#include "session/system_path.h"

namespace korimet {

namespace {

namespace lt = librarytexts;

QString u8(const char* text) { return uiText(text); }

// Compared as names, without asking the file system: the window never waits on a file.
bool samePath(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() &&
           QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

}  // namespace

LibraryMemoBox::LibraryMemoBox(const Addition& addition, QWidget* parent)
    : QWidget(parent), addition_(addition), store_(addition.runs) {
    auto* layout = new QVBoxLayout(this);  // owned by the box
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(this);
    setFixedText(caption, lt::kMemoCaption);
    layout->addWidget(caption);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName("libraryMemo");
    edit_->setTabChangesFocus(true);
    caption->setBuddy(edit_);
    layout->addWidget(edit_, 1);
    note_ = new QLabel(this);
    note_->setObjectName("libraryMemoNote");
    note_->setWordWrap(true);
    note_->setVisible(false);
    layout->addWidget(note_);
    saveButton_ = new QPushButton(this);
    setFixedText(saveButton_, lt::kSaveMemoButton);
    saveButton_->setObjectName("saveMemoButton");
    saveButton_->setEnabled(false);
    layout->addWidget(saveButton_);

    // Under the guard every command of the window runs under, named by its button.
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        runGuarded(addition_.dialogs, commandName(saveButton_->text()), [this] { save(); });
    });
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
        if (linked_) addition_.session.setMemo(edit_->toPlainText());
        enableSave();
    });
    connect(&addition_.session, &RunSession::memoChanged, this, &LibraryMemoBox::followSession);
    connect(&addition_.session, &RunSession::runReplaced, this, &LibraryMemoBox::relink);
    connect(&addition_.session, &RunSession::keptFileChanged, this, &LibraryMemoBox::relink);
    connect(&store_, &RunStore::runRead, this, &LibraryMemoBox::read);
    connect(&store_, &RunStore::memoSaved, this, &LibraryMemoBox::written);
}

void LibraryMemoBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && noteText_) note_->setText(noteText_());
    QWidget::changeEvent(event);
}

void LibraryMemoBox::enableSave() {
    saveButton_->setEnabled(loaded_ && edit_->toPlainText() != inFile_);
}

std::string LibraryMemoBox::relativePath(const QString& path) const {
    return systemPath(QDir(folder_).relativeFilePath(path));
}

bool LibraryMemoBox::listed(const QString& path) const {
    const std::string relative = relativePath(path);
    return std::any_of(store_.entries().begin(), store_.entries().end(),
                       [&](const LibraryEntry& e) { return e.path == relative; });
}

bool LibraryMemoBox::shownInMainWindow(const QString& path) const {
    const RunSession& session = addition_.session;
    return samePath(session.currentFileName(), path) || samePath(session.keptFileName(), path);
}

bool LibraryMemoBox::unsaved() const {
    return !path_.isEmpty() && loaded_ && !linked_ && edit_->toPlainText() != inFile_;
}

// The listing holds the memo's first line only: the box takes the whole memo from the file
// (read by the store), so that saving it never cuts the rest. A memo read with a warning (bytes
// that decode to nothing, an encoding in doubt) says so above the box, so that saving it is
// never done unseen.
void LibraryMemoBox::showRun(const LibraryEntry* e, bool fileChanged) {
    const QString path =
        e && e->readable() ? pathFromSystem(systemPath(folder_) + "/" + e->path) : QString();
    if (!path.isEmpty() && path == path_) {
        // The same run: the box takes what the file now holds, unless the racer is typing.
        if (fileChanged && !linked_ && !unsaved() && load_ == 0) {
            reload_ = true;
            load_ = store_.readRun(relativePath(path));
        }
        return;
    }
    if (unsaved()) askToSave();
    path_ = path;
    inFile_.clear();
    loaded_ = false;
    linked_ = false;
    reload_ = false;
    load_ = 0;
    {
        const QSignalBlocker quiet(edit_);
        edit_->clear();
    }
    // Until the store has read the run, there is nothing to type into.
    edit_->setReadOnly(true);
    edit_->setEnabled(!path.isEmpty());
    showNote({});
    saveButton_->setEnabled(false);
    if (!path.isEmpty()) load_ = store_.readRun(relativePath(path));
}

void LibraryMemoBox::read(const StoreRunRead& result) {
    if (result.job != load_) return;
    load_ = 0;
    const bool reload = std::exchange(reload_, false);
    if (!result.read) {
        // Gone or spoilt since it was listed: the store's listing will say so.
        if (!reload) edit_->setEnabled(false);
        return;
    }
    const QString inFile = memoForBox(result.read.content->memo);
    // Typed into while the run was read again: that is the racer's draft now, against the
    // file's new memo. Otherwise the box shows the run afresh.
    if (reload && (linked_ || edit_->toPlainText() != inFile_)) {
        inFile_ = inFile;
        enableSave();
        return;
    }
    if (!listed(path_)) return;  // deleted meanwhile
    loaded_ = true;
    inFile_ = inFile;
    const RunSession& session = addition_.session;
    linked_ = shownInMainWindow(path_) && session.memoIsTheRuns();
    const QString memo = linked_ ? session.memo() : inFile_;
    {
        const QSignalBlocker quiet(edit_);
        edit_->setPlainText(memo);
    }
    edit_->setReadOnly(false);
    edit_->setEnabled(true);
    if (linked_ && memo != inFile_) {
        showNote([] { return u8(lt::kMemoFromWindow); });
    } else if (result.read.warning) {
        showNote([w = result.read.warning] { return libraryMessage(w); });
    } else {
        showNote({});
    }
    enableSave();
}

void LibraryMemoBox::showNote(std::function<QString()> text) {
    noteText_ = std::move(text);
    note_->setText(noteText_ ? noteText_() : QString());
    note_->setVisible(static_cast<bool>(noteText_));
}

// The main window now shows another run, or the download it shows was kept: the box is that
// window's memo exactly while both show one run whose memo it is. A draft typed here for the
// run stays a draft; nothing typed in either box is replaced.
void LibraryMemoBox::relink() {
    const RunSession& session = addition_.session;
    const bool link = loaded_ && shownInMainWindow(path_) && session.memoIsTheRuns();
    if (link == linked_) return;
    if (!link) {
        linked_ = false;
        enableSave();
        return;
    }
    if (unsaved()) return;
    linked_ = true;
    followSession(session.memo());
}

void LibraryMemoBox::followSession(const QString& memo) {
    if (!linked_) {
        // Typing in the main window after a download makes its memo the run's.
        relink();
        return;
    }
    if (edit_->toPlainText() != memo) {
        const QSignalBlocker quiet(edit_);
        edit_->setPlainText(memo);
    }
    const bool differs = memo != inFile_;
    enableSave();
    showNote(differs ? std::function<QString()>([] { return u8(lt::kMemoFromWindow); })
                     : std::function<QString()>());
}

void LibraryMemoBox::askToSave() {
    const QString path = path_;
    const QString memo = edit_->toPlainText();
    path_.clear();              // asked once, whatever the answer
    if (!listed(path)) return;  // deleted: the racer chose to drop it with its run
    if (addition_.dialogs.ask(
            u8(lt::kMemoUnsavedQuestion).arg(QDir::toNativeSeparators(shownPath(path))),
            u8(lt::kMemoUnsavedTitle)))
        write(path, memo);
}

void LibraryMemoBox::closing() {
    if (!unsaved()) return;
    askToSave();
    showRun(nullptr, false);
}

void LibraryMemoBox::save() {
    if (!loaded_ || path_.isEmpty()) return;
    saveButton_->setEnabled(false);
    write(path_, edit_->toPlainText());
}

// Written by the store as File > Save writes, the laps as the file holds them then; the
// listing's row follows with the store's change.
void LibraryMemoBox::write(const QString& path, const QString& memo) {
    saves_[store_.saveMemo(relativePath(path), memoForFile(memo))] = memo;
}

void LibraryMemoBox::written(const StoreMemoSaved& result) {
    const auto asked = saves_.find(result.job);
    if (asked == saves_.end()) return;
    const QString memo = asked->second;
    saves_.erase(asked);
    const QString path = pathFromSystem(systemPath(folder_) + "/" + result.path);
    const bool shownHere = path == path_ && loaded_;
    if (!result.ok) {
        addition_.dialogs.message(libraryMessage(result.error), {}, MessageIcon::Critical);
        if (shownHere) enableSave();
        return;
    }
    // The main window showing this run with the memo its file held shows the new one; what
    // the racer typed there and never saved stays for them to keep or drop.
    RunSession& session = addition_.session;
    if (shownInMainWindow(path) && session.memo() == memoForBox(result.memoBefore))
        session.setMemo(memo);
    if (!shownHere) return;
    inFile_ = memo;
    enableSave();
    if (!linked_ || session.memo() == memo) showNote({});
    emit saved(shownPath(QDir(folder_).relativeFilePath(path)));
}

}  // namespace korimet
