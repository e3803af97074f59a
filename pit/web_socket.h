#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The live connection's frames, both ways. The page only listens, so what it may send is
// small: a close, a ping or pong, now and then a short message, all masked as a browser
// masks them. Anything else ends the connection.
namespace korimet::pit {

enum class Opcode : std::uint8_t {
    Continuation = 0x0,
    Text = 0x1,
    Binary = 0x2,
    Close = 0x8,
    Ping = 0x9,
    Pong = 0xA,
};

// One whole, unmasked frame from the server.
std::string webSocketFrame(Opcode opcode, std::string_view payload);

// The close frame for `code` (1000 normal, 1002 protocol error, 1009 too big).
std::string closeFrame(std::uint16_t code);

// Sec-WebSocket-Accept for the client's key (base64 of SHA-1 of key and the protocol's GUID).
std::string webSocketAccept(std::string_view key);

class FrameReader {
  public:
    struct Frame {
        Opcode opcode;
        std::string payload;  // unmasked
    };

    explicit FrameReader(std::size_t maxPayload = 1024) : maxPayload_(maxPayload) {}

    // Takes newly arrived bytes; the frames they complete. After a close frame or a fault,
    // nothing more is read.
    std::vector<Frame> take(std::string_view bytes);
    // 0 while the client keeps to the protocol, else the close code to answer with.
    std::uint16_t fault() const { return fault_; }
    bool closed() const { return closed_; }

  private:
    std::size_t maxPayload_;
    std::string pending_;
    std::uint16_t fault_ = 0;
    bool closed_ = false;
};

}  // namespace korimet::pit
