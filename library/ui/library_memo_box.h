#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "library/run_library.h"
#include "library/store/run_store.h"
#include "session/addition.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korimet {

// The library window's memo box: the selected run's whole memo, read and written by the run
// store. A run shown in the main window too has one memo there and here (typed in either, it
// is in both). What the racer types is never dropped by a refresh, a download, a change made
// elsewhere or a language switch: it stays until saved, and moving to another run asks first.
class LibraryMemoBox : public QWidget {
    Q_OBJECT
  public:
    LibraryMemoBox(const Addition& addition, QWidget* parent);

    // The library folder the rows are relative to.
    void setFolder(const QString& folder) { folder_ = folder; }
    // The run to show, none for no run. `fileChanged`: its file was written since the box
    // took its memo (by this program or another).
    void showRun(const LibraryEntry* entry, bool fileChanged);
    // Writes the box into the run's file.
    void save();
    // Asks about a draft, as the window closes; the box is then empty.
    void closing();
    // Waiting for the store: the run being read, a memo being written.
    bool busy() const { return load_ != 0 || !saves_.empty(); }

  signals:
    void saved(const QString& relativePath);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    bool unsaved() const;
    bool shownInMainWindow(const QString& fullPath) const;
    bool listed(const QString& fullPath) const;
    std::string relativePath(const QString& fullPath) const;
    void read(const StoreRunRead& result);
    void written(const StoreMemoSaved& result);
    void write(const QString& fullPath, const QString& memo);
    void askToSave();
    void relink();
    void followSession(const QString& memo);
    void showNote(std::function<QString()> text);
    void enableSave();

    Addition addition_;
    RunStore& store_;
    QString folder_;
    QString path_;            // the file of the run whose memo the box holds
    QString inFile_;          // that memo as the file holds it
    bool loaded_ = false;     // the box holds that run's memo (read, not only asked for)
    bool linked_ = false;     // the box is the main window's memo of the same run
    std::uint64_t load_ = 0;  // the store's job reading the run, 0 for none
    bool reload_ = false;     // that job reads the same run again
    std::map<std::uint64_t, QString> saves_;  // the store's memo jobs: the memo written
    std::function<QString()> noteText_;       // the note above the box

    QPlainTextEdit* edit_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

}  // namespace korimet
