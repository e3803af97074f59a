#include "pit/web_socket.h"

#include <array>

namespace korimet::pit {

namespace {

constexpr std::uint16_t kProtocolError = 1002;
constexpr std::uint16_t kTooBig = 1009;

std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

std::array<std::uint8_t, 20> sha1(std::string_view text) {
    std::uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    std::string m(text);
    const std::uint64_t bits = static_cast<std::uint64_t>(text.size()) * 8;
    m.push_back(static_cast<char>(0x80));
    while (m.size() % 64 != 56) m.push_back('\0');
    for (int i = 7; i >= 0; --i) m.push_back(static_cast<char>(bits >> (i * 8)));
    for (std::size_t block = 0; block < m.size(); block += 64) {
        std::uint32_t w[80];
        for (int i = 0; i < 16; ++i) {
            w[i] = 0;
            for (int b = 0; b < 4; ++b)
                w[i] = (w[i] << 8) | static_cast<std::uint8_t>(m[block + i * 4 + b]);
        }
        for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            std::uint32_t f;
            std::uint32_t k;
            if (i < 20) {
                f = (b & c) | (~b & d);
                k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d);
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const std::uint32_t t = rotl(a, 5) + f + e + k + w[i];
            e = d;
            d = c;
            c = rotl(b, 30);
            b = a;
            a = t;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
    }
    std::array<std::uint8_t, 20> out{};
    for (int i = 0; i < 20; ++i) out[i] = static_cast<std::uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    return out;
}

std::string base64(const std::uint8_t* bytes, std::size_t size) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t n = (static_cast<std::uint32_t>(bytes[i]) << 16) |
                                (i + 1 < size ? static_cast<std::uint32_t>(bytes[i + 1]) << 8 : 0) |
                                (i + 2 < size ? bytes[i + 2] : 0);
        out.push_back(kDigits[(n >> 18) & 63]);
        out.push_back(kDigits[(n >> 12) & 63]);
        out.push_back(i + 1 < size ? kDigits[(n >> 6) & 63] : '=');
        out.push_back(i + 2 < size ? kDigits[n & 63] : '=');
    }
    return out;
}

bool isControl(Opcode opcode) { return static_cast<std::uint8_t>(opcode) >= 0x8; }

bool isKnown(std::uint8_t opcode) { return opcode <= 0x2 || (opcode >= 0x8 && opcode <= 0xA); }

}  // namespace

std::string webSocketFrame(Opcode opcode, std::string_view payload) {
    std::string frame;
    frame.push_back(static_cast<char>(0x80 | static_cast<std::uint8_t>(opcode)));
    const std::uint64_t size = payload.size();
    if (size < 126) {
        frame.push_back(static_cast<char>(size));
    } else if (size <= 0xFFFF) {
        frame.push_back(static_cast<char>(126));
        frame.push_back(static_cast<char>(size >> 8));
        frame.push_back(static_cast<char>(size));
    } else {
        frame.push_back(static_cast<char>(127));
        for (int i = 7; i >= 0; --i) frame.push_back(static_cast<char>(size >> (i * 8)));
    }
    frame.append(payload);
    return frame;
}

std::string closeFrame(std::uint16_t code) {
    const char payload[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    return webSocketFrame(Opcode::Close, std::string_view(payload, 2));
}

std::string webSocketAccept(std::string_view key) {
    std::string text(key);
    text += "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
    const auto digest = sha1(text);
    return base64(digest.data(), digest.size());
}

std::vector<FrameReader::Frame> FrameReader::take(std::string_view bytes) {
    std::vector<Frame> frames;
    if (fault_ != 0 || closed_) return frames;
    pending_.append(bytes);
    const auto fail = [&](std::uint16_t code) {
        fault_ = code;
        pending_.clear();
        return frames;
    };
    for (;;) {
        if (pending_.size() < 2) return frames;
        const auto b0 = static_cast<std::uint8_t>(pending_[0]);
        const auto b1 = static_cast<std::uint8_t>(pending_[1]);
        const bool fin = (b0 & 0x80) != 0;
        const std::uint8_t code = b0 & 0x0F;
        if ((b0 & 0x70) != 0 || !isKnown(code)) return fail(kProtocolError);
        const auto opcode = static_cast<Opcode>(code);
        // A client that does not mask is not a browser keeping to the protocol.
        if ((b1 & 0x80) == 0) return fail(kProtocolError);
        std::uint64_t size = b1 & 0x7F;
        std::size_t at = 2;
        if (size == 126 || size == 127) {
            const std::size_t width = size == 126 ? 2 : 8;
            if (pending_.size() < at + width) return frames;
            size = 0;
            for (std::size_t i = 0; i < width; ++i)
                size = (size << 8) | static_cast<std::uint8_t>(pending_[at + i]);
            at += width;
        }
        if (isControl(opcode) && (size > 125 || !fin)) return fail(kProtocolError);
        if (size > maxPayload_) return fail(kTooBig);
        if (pending_.size() < at + 4 + size) return frames;
        const std::string_view mask(pending_.data() + at, 4);
        at += 4;
        std::string payload = pending_.substr(at, static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < payload.size(); ++i) payload[i] ^= mask[i % 4];
        pending_.erase(0, at + static_cast<std::size_t>(size));
        frames.push_back(Frame{opcode, std::move(payload)});
        if (opcode == Opcode::Close) {
            closed_ = true;
            pending_.clear();
            return frames;
        }
    }
}

}  // namespace korimet::pit
