#pragma once

#include <QObject>
#include <QString>

class QWidget;

class QMimeData;

namespace korimet {

class Dialogs;
class FileCommands;

// A file handed to the window by the desktop (its command line, a drop). The path holds the
// name's bytes whatever their encoding (session/system_path.h), so a CP932 name from an old
// disk opens like any other.
struct GivenFile {
    QString path;
};

// The first local .krt file among dragged URLs; an empty path when there is none.
GivenFile runFileAmong(const QMimeData* data);

// Opens it exactly as File > Open does. False when nothing was opened.
bool openGivenFile(FileCommands& files, const GivenFile& file);

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
