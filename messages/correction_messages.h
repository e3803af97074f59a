#pragma once

#include <string>

#include "common/wording.h"
#include "corrections/correction_file.h"
#include "messages/language.h"

namespace korimet {

// What went wrong with a run's correction file, and that the run is shown as downloaded
// instead, in the reader's words or in one language. The path is put in as given (its bytes).
std::string correctionFileMessage(const CorrectionFileError& error, const Wording& wording);
std::string correctionFileMessage(const CorrectionFileError& error, Language language);

// Why a correction does not apply to the laps, in the reader's words or in one language.
std::string correctionRefusalMessage(CorrectionRefusal refusal, const Wording& wording);
std::string correctionRefusalMessage(CorrectionRefusal refusal, Language language);

}  // namespace korimet
