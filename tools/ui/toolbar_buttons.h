#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "tools/tool_texts.h"

class QToolBar;

namespace korimet {

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
