#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pit/request_check.h"
#include "pit/web_socket.h"

// Any bytes a stranger sends, split where the first byte says: no crash, and nothing passes
// that does not carry the code; behind an upgrade, the frame reader takes the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t step = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    korimet::pit::RequestScanner scanner("K7M2QX");
    korimet::pit::FrameReader frames;
    std::size_t passed = 0;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
        const std::string_view piece = bytes.substr(at, step);
        if (scanner.upgraded()) {
            for (const auto& frame : frames.take(piece))
                if (frame.payload.size() > 1024) std::abort();
            continue;
        }
        scanner.take(piece);
        for (const auto& verdict : scanner.takeVerdicts()) {
            if (verdict.passes()) ++passed;
            if (!verdict.passes() && (verdict.status < 400 || verdict.status > 499)) std::abort();
        }
        if (scanner.upgraded()) frames.take(scanner.takeRest());
    }
    std::size_t withCode = 0;
    for (std::size_t at = 0; (at = bytes.find("code=K7M2QX", at)) != std::string_view::npos; ++at)
        ++withCode;
    if (passed > withCode) std::abort();
    return 0;
}
