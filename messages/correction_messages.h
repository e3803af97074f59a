#pragma once

#include <string>

#include "corrections/correction_file.h"
#include "messages/language.h"

namespace korimet {

// What went wrong with a run's correction file, and that the run is shown as downloaded
// instead, in one language. The path is put in as given (its bytes).
std::string correctionFileMessage(const CorrectionFileError& error, Language language);

// Why a correction does not apply to the laps, in one language.
std::string correctionRefusalMessage(CorrectionRefusal refusal, Language language);

}  // namespace korimet
