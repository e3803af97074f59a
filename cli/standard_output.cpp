#include "cli/standard_output.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <iostream>
#include <streambuf>

namespace korimet::cli {

namespace {

class DescriptorBuffer : public std::streambuf {
  public:
    DescriptorBuffer() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    int error() const { return error_; }

    // After everything was flushed; EBADF alone means standard output was closed and
    // nothing went to it, which is no loss.
    void close() {
        if (::close(STDOUT_FILENO) != 0 && error_ == 0 && errno != EBADF) error_ = errno;
    }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
        return c;
    }

    int sync() override { return drain() ? 0 : -1; }

  private:
    // Writes what the buffer holds. Once a write has failed, everything after it is
    // dropped: the output is broken anyway, and the first reason is the one to tell.
    bool drain() {
        const char* at = pbase();
        const char* end = pptr();
        while (error_ == 0 && at < end) {
            const ssize_t n = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(end - at));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error_ = errno;
            } else {
                at += n;
            }
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return error_ == 0;
    }

    std::array<char, 65536> buffer_;
    int error_ = 0;
};

DescriptorBuffer& standardOutput() {
    static DescriptorBuffer buffer;
    return buffer;
}

std::streambuf* original = nullptr;

}  // namespace

void takeStandardOutput() { original = std::cout.rdbuf(&standardOutput()); }

int finishStandardOutput() {
    std::cout.flush();
    standardOutput().close();
    // The stream's own buffer back before ours goes with the other statics at exit.
    if (original) std::cout.rdbuf(original);
    return standardOutput().error();
}

}  // namespace korimet::cli
