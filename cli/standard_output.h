#pragma once

// Standard output through a buffer of the tool's own, which keeps the first failed write:
// a full disk or a closed pipe must not pass for a finished job, and the message names the
// system's reason even when the failure came long before the end.
namespace korimet::cli {

// From here on std::cout writes to file descriptor 1 through that buffer.
void takeStandardOutput();

// Flushes and closes standard output. 0 when everything written arrived; else the errno of
// the first failure.
int finishStandardOutput();

}  // namespace korimet::cli
