#pragma once

#include <string>

#include "common/wording.h"
#include "messages/language.h"
#include "tools/tool_dialogs.h"

// The words for a tool that will not run, in the reader's words or in one language. The
// Japanese ones are the window's own.
namespace korimet {

std::string toolRefusalMessage(const ToolRefusal& refusal, const Wording& wording);
std::string toolRefusalMessage(const ToolRefusal& refusal, Language language);
// The title of the box that shows it: the tool's name.
std::string toolRefusalTitle(const ToolRefusal& refusal, const Wording& wording);
std::string toolRefusalTitle(const ToolRefusal& refusal, Language language);

// The name a script reads ("raceNoData", ...).
std::string toolRefusalCodeName(ToolRefusalCode code);

}  // namespace korimet
