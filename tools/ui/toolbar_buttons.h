#pragma once

#include "common/text_mark.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

class QToolBar;

namespace korimet {

// Toolbar button keys (what the dispatch compares) and their tooltips.
inline constexpr const char* kKeyOpen = KORIMET_TR("Korimet", "開く");
inline constexpr const char* kKeySave = KORIMET_TR("Korimet", "上書き保存");
inline constexpr const char* kKeyCut = KORIMET_TR("Korimet", "切り取り");
inline constexpr const char* kKeyCopy = KORIMET_TR("Korimet", "ｺﾋﾟｰ");
inline constexpr const char* kKeyPaste = KORIMET_TR("Korimet", "貼り付け");
inline constexpr const char* kKeyRace = KORIMET_TR("Korimet", "レース模擬");
inline constexpr const char* kKeyCompare = KORIMET_TR("Korimet", "データ比較");
inline constexpr const char* kRaceToolTip = KORIMET_TR("Korimet", "レース模擬結果表示");

struct ToolbarButton {
    const char* key;  // what the dispatch compares
    const char* toolTip;
    const char* iconName;  // ":/icons/<iconName>.png"
    bool separatorAfter;
};

// Left to right, as the toolbar shows them.
inline constexpr std::array<ToolbarButton, 7> kToolbarButtons = {{
    {kKeyOpen, kKeyOpen, "Open", false},
    {kKeySave, kKeySave, "Save", true},
    {kKeyCut, kKeyCut, "Cut", false},
    {kKeyCopy, kKeyCopy, "Copy", false},
    {kKeyPaste, kKeyPaste, "Paste", true},
    {kKeyRace, kRaceToolTip, "Race", false},
    {kKeyCompare, kKeyCompare, "hikaku", false},
}};

QString toolbarIconResource(const ToolbarButton& button);

// Puts the buttons on `toolBar`, icons only, with their separators. A click calls
// `onButtonClick` with the button's key. Each action carries its key as data and is named
// "tbButton<iconName>".
void addToolbarButtons(QToolBar& toolBar,
                       const std::function<void(const QString& key)>& onButtonClick);

struct ToolbarCommand {
    QString key;
    std::function<void()> run;
};

enum class ToolbarDispatch {
    NoMatch,    // no command has that key: nothing ran
    Done,       // the command ran to its end
    Abandoned,  // the command threw; the rest of it was given up without a word
};

// Runs the first command of `table` whose key equals `key` exactly (case and width matter).
// Whatever the command throws ends that command only, so the window stays usable.
ToolbarDispatch dispatchToolbarKey(const QString& key, const std::vector<ToolbarCommand>& table);

}  // namespace korimet
