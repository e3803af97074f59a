#pragma once

namespace korimet {

class MainWindow;
struct LapSheet;

// Adds 印刷..., PDFに保存... and グラフを画像で保存... to the window's additions menu. They
// read the run through the window's RunSession and ask through its Dialogs.
void attachLapSheet(MainWindow& window);

// The sheet of what the window shows now: its run, memo, comparison and date.
LapSheet sheetOfWindow(const MainWindow& window);

}  // namespace korimet
