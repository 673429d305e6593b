// Content-Length framing.
#include "lsp/transport.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "util/files.h"
#include "util/process.h"

namespace orrinrc::lsp {

namespace {

// The value of a Content-Length header found anywhere in the line (so that
// a header line glued to the end of a broken body is still found), or -1.
long long content_length(std::string_view line) {
    static constexpr std::string_view kName = "content-length:";
    std::string lower(line);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.rfind(kName);
    if (at == std::string::npos) return -1;
    size_t i = at + kName.size();
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i]))) return -1;
    long long value = 0;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > (1LL << 50)) return 1LL << 50;  // more than any limit
    }
    return value;
}

}  // namespace

bool Transport::fill() {
    if (ended_) return false;
    if (pos_ > 0 && pos_ == buf_.size()) {
        buf_.clear();
        pos_ = 0;
    } else if (pos_ > (1u << 20)) {
        buf_.erase(0, pos_);
        pos_ = 0;
    }
    char chunk[65536];
    const long n = files::read(in_, chunk, sizeof chunk);
    if (n <= 0) {
        ended_ = true;
        return false;
    }
    buf_.append(chunk, static_cast<size_t>(n));
    return true;
}

bool Transport::pending() {
    if (pos_ < buf_.size()) return true;
    if (ended_) return false;
    return process::input_waiting(in_);
}

Transport::Received Transport::receive(size_t limit) {
    long long length = -1;
    bool any_header = false;
    // Header lines up to a blank line.
    for (;;) {
        const size_t nl = buf_.find('\n', pos_);
        if (nl == std::string::npos) {
            if (buf_.size() - pos_ > 65536) {
                // No header line is this long: drop what came so far.
                pos_ = buf_.size();
                any_header = true;
            }
            if (!fill()) return {Status::End, {}};
            continue;
        }
        std::string_view line(buf_.data() + pos_, nl - pos_);
        pos_ = nl + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) {
            if (length >= 0) break;
            if (any_header) return {Status::NoLength, {}};
            continue;  // blank lines between messages
        }
        any_header = true;
        if (const long long n = content_length(line); n >= 0) length = n;
    }
    if (static_cast<unsigned long long>(length) > limit) {
        // Read past the body without keeping it.
        unsigned long long left = static_cast<unsigned long long>(length);
        while (left > 0) {
            if (pos_ == buf_.size() && !fill()) return {Status::End, {}};
            const size_t take = static_cast<size_t>(std::min<unsigned long long>(left, buf_.size() - pos_));
            pos_ += take;
            left -= take;
        }
        return {Status::TooLarge, {}};
    }
    // The body goes straight into a string of its own: a large message
    // (a whole document) is not gathered in the buffer first and then
    // copied out of it.
    const size_t size = static_cast<size_t>(length);
    const size_t buffered = std::min(size, buf_.size() - pos_);
    std::string body(buf_, pos_, buffered);
    pos_ += buffered;
    for (size_t have = buffered; have < size;) {
        // The string grows as bytes come, not to a length that is only
        // announced.
        if (body.size() == have) body.resize(have + std::min(size - have, std::max<size_t>(have, 65536)));
        const long n = files::read(in_, body.data() + have, body.size() - have);
        if (n <= 0) {
            ended_ = true;
            return {Status::End, {}};
        }
        have += static_cast<size_t>(n);
    }
    return {Status::Message, std::move(body)};
}

namespace {

bool write_all(int fd, std::string_view bytes) {
    size_t done = 0;
    return files::write_all(fd, bytes.data(), bytes.size(), done) == 0;
}

}  // namespace

bool Transport::send(std::string_view body) {
    // The header and a small body in one write; a large body after its
    // header rather than copied behind it.
    std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    if (body.size() <= 65536) {
        header.append(body);
        return write_all(out_, header);
    }
    return write_all(out_, header) && write_all(out_, body);
}

}  // namespace orrinrc::lsp
