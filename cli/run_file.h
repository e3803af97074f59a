#pragma once

#include <string>

#include "files/data_file.h"

namespace korimet::cli {

// Reads and parses the data file at `path`, taken as bytes whatever their encoding (a
// CP932 name unpacked from a Windows archive opens as it is). Messages as the window's.
DataFileReadResult readRunFile(const std::string& path);

}  // namespace korimet::cli
