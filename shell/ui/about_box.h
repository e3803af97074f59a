#pragma once

#include <QDialog>
#include <QString>

namespace korimet {

// "Version <major>.<minor>.<patch>" of this build.
QString aboutVersionText();

// The version information box ("frmAbout"): title, icon and version, closed by OK, Enter
// or Esc. Fixed size, no minimise or maximise button.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// Shows the box modal, owned by `parent`, and returns once it is closed.
void showAboutBox(QWidget* parent);

}  // namespace korimet
