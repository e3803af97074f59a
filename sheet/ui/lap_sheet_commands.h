#pragma once

namespace korimet {

class RunSession;
struct Addition;
struct LapSheet;

// Adds 印刷..., PDFに保存... and グラフを画像で保存... to the additions menu. They read the
// run from the session and ask through the addition's dialogs.
void attachLapSheet(const Addition& addition);

// The sheet of what the window shows now: its run, memo, comparison and date.
LapSheet sheetOfSession(const RunSession& session);

}  // namespace korimet
