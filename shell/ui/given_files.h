#pragma once

#include <QObject>
#include <QString>

class QWidget;

class QMimeData;

namespace korimet {

class Dialogs;
class FileCommands;

// A file handed to the window by the desktop (its command line, a drop), with whether its
// name reached us whole: Qt decodes file names as UTF-8, so a name in another encoding
// (Shift_JIS from an old disk) arrives with its bytes replaced.
struct GivenFile {
    QString path;
    bool nameIntact = true;
};

// The first local .krt file among dragged URLs; an empty path when there is none.
GivenFile runFileAmong(const QMimeData* data);

// Opens it exactly as File > Open does; a name that did not reach us whole gets File >
// Open's message with the reason instead of a misleading "not found". False when nothing
// was opened.
bool openGivenFile(FileCommands& files, Dialogs& dialogs, const GivenFile& file);

// Dropping a .krt file anywhere on the window opens it as File > Open does; other drops
// (text on the memo) go where they went before.
class RunFileDrops : public QObject {
    Q_OBJECT
  public:
    // Parented to window; watches the drops on it and on every control in it.
    RunFileDrops(QWidget& window, FileCommands& files, Dialogs& dialogs);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    FileCommands& files_;
    Dialogs& dialogs_;
};

}  // namespace korimet
