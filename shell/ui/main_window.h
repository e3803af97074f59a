#pragma once

#include <QMainWindow>

namespace korimet {

// The one main window: owns the run records, the receiver and every control.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace korimet
