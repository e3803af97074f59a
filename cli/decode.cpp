#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "cli/json_out.h"
#include "cli/verbs.h"
#include "device/frame_receiver.h"

namespace korimet::cli {

int decodeVerb(const Args& args) {
    std::string capture;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out") {
            std::cerr << "korimet-cli decode: --out is not available yet\n";
            return 2;
        }
        if (!capture.empty()) {
            std::cerr << "usage: korimet-cli decode [CAPTURE]\n";
            return 2;
        }
        capture = args[i];
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
        }
    }
    std::cout.flush();
    return frames > 0 ? 0 : 1;
}

}  // namespace korimet::cli
