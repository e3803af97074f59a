#pragma once

class QWidget;

namespace korimet {

// Names the window's controls for screen readers without changing anything shown: the
// grid, the chart, the memo and the port combo get names, and each value label is named
// after its caption and reads its current text as its description ("ベストラップ",
// "01m04s90"). Controls are found by their layout names.
void nameControlsForScreenReaders(QWidget& window);

}  // namespace korimet
