#pragma once

#include <QObject>

// The functions the menu applies a choice with, which the program calls at start as well.
#include "common/ui/ui_language.h"

class QActionGroup;
class QMainWindow;
class QMenu;

namespace korimet {

// The racer's choice in the additions menu: 日本語, English and any other translation, each
// in its own language, and the system's. Attached by the program, not by the window, so that
// tests of the window see the Japanese texts whatever their locale.
class LanguageMenu : public QObject {
    Q_OBJECT
  public:
    explicit LanguageMenu(QMainWindow& window);  // owned by the window
    // Chooses as the menu does: kept in the settings and applied.
    void choose(const QString& choice);

  private:
    void showChecked();

    QMenu* menu_;
    QActionGroup* choices_;
};

}  // namespace korimet
