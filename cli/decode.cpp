#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "cli/json_out.h"
#include "cli/verbs.h"
#include "device/frame_receiver.h"
#include "files/data_file.h"

namespace korimet::cli {

int decodeVerb(const Args& args) {
    std::string capture;
    std::string outDir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size() && outDir.empty()) {
            outDir = args[++i];
            if (!outDir.empty()) continue;
        }
        if (!capture.empty() || args[i].starts_with("--")) {
            std::cerr << "usage: korimet-cli decode [CAPTURE] [--out DIR]\n";
            return 2;
        }
        capture = args[i];
    }
    if (!outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(outDir, ec);
        if (ec) {
            std::cerr << "korimet-cli decode: cannot create " << outDir << ": " << ec.message()
                      << "\n";
            return 2;
        }
    }

    std::vector<char> bytes;
    if (capture.empty() || capture == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), {});
        if (std::cin.bad()) {
            std::cerr << "korimet-cli decode: cannot read standard input\n";
            return 2;
        }
    } else {
        std::ifstream in(capture, std::ios::binary);
        if (!in) {
            std::cerr << "korimet-cli decode: cannot read " << capture << "\n";
            return 2;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (in.bad()) {
            std::cerr << "korimet-cli decode: error reading " << capture << "\n";
            return 2;
        }
    }

    FrameReceiver receiver;
    int frames = 0;
    for (char c : bytes) {
        if (auto frame = receiver.feedByte(static_cast<std::uint8_t>(c))) {
            std::cout << frameJson(*frame).dump() << "\n";
            ++frames;
            if (!outDir.empty()) {
                char name[32];
                std::snprintf(name, sizeof name, "run-%03d.krt", frames);
                const auto path = (std::filesystem::path(outDir) / name).string();
                const SaveResult saved = saveDataFile(path, frame->data, "");
                if (!saved) {
                    std::cout.flush();
                    std::cerr << saved.error << "\n";
                    return 2;
                }
            }
        }
    }
    std::cout.flush();
    return frames > 0 ? 0 : 1;
}

}  // namespace korimet::cli
