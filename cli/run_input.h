#pragma once

#include <string>

#include "commandline/cli_texts.h"
#include "corrections/run_view.h"
#include "files/data_file.h"

namespace korimet::cli {

// "-" names standard input, as for decode.
inline bool isStandardInput(const std::string& name) { return name == "-"; }

// The run file a verb was given, read as File > Open reads it; "-" reads standard input to
// its end, named in errors in the run's language.
DataFileReadResult readRunFile(const std::string& name, const Texts& texts,
                               MemoField memo = MemoField::Read);

// The run read as the correction file beside it makes it (standard input has none beside
// it), judged by the window's limits. A correction file that cannot be used is said on
// standard error and the run stays as downloaded, as a memo read in part is said and the run
// used.
RunView runOf(const std::string& name, const DataFileReadResult& read, const std::string& prefix,
              const Texts& texts);

// Says on standard error why the run could not be read, or which part of its memo could not
// (the run itself is then used as read). True when there is a run.
bool reportRead(const DataFileReadResult& read, const std::string& prefix, const Texts& texts);

}  // namespace korimet::cli
