// Messages over a pair of file descriptors, framed as the language server
// protocol frames them: header lines ("Content-Length: N"), a blank line,
// then N bytes of JSON.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orrinrc::lsp {

class Transport {
public:
    Transport(int in, int out) : in_(in), out_(out) {}

    enum class Status { Message, NoLength, TooLarge, End };
    struct Received {
        Status status;
        std::string body;
    };
    // The next message. A header without a length is reported (NoLength)
    // and skipped; so is a body over `limit` bytes (TooLarge), which is read
    // and dropped. End: the input has ended.
    Received receive(size_t limit);

    // Whether input is waiting: buffered, or readable at once.
    bool pending();

    // Sends one message; false when the output is gone.
    bool send(std::string_view body);

private:
    // Reads more input into the buffer; false at its end.
    bool fill();

    int in_, out_;
    std::string buf_;
    size_t pos_ = 0;
    bool ended_ = false;
};

}  // namespace orrinrc::lsp
