#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace korimet::test {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every .krt file anywhere under `root`, in order.
inline std::vector<std::filesystem::path> runFilesUnder(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root, ec)) {
        if (e.is_regular_file() && e.path().extension() == ".krt") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Stands in for a full disk in a child process: writes past `limit` bytes fail with EFBIG,
// as they would with ENOSPC, SIGXFSZ ignored so that the writer sees the failure.
inline bool limitFileSize(rlim_t limit) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit rl {};
    ::getrlimit(RLIMIT_FSIZE, &rl);
    rl.rlim_cur = limit;
    return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
}

}  // namespace korimet::test
