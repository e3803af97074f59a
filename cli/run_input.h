#pragma once

#include <string>

#include "commandline/cli_texts.h"
#include "files/data_file.h"

namespace korimet::cli {

// "-" names standard input, as for decode.
inline bool isStandardInput(const std::string& name) { return name == "-"; }

// The run file a verb was given, read as File > Open reads it; "-" reads standard input to
// its end. Messages are the window's (Texts::windowMessage puts them into the run's
// language), standard input named in the run's language.
DataFileReadResult readRunFile(const std::string& name, const Texts& texts,
                               MemoField memo = MemoField::Read);

}  // namespace korimet::cli
