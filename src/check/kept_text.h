// Storage for what the checker keeps to the end of a check: the names of the
// resources and the lines that later warnings quote, and an index of the
// resources by name. Built for inputs of a hundred thousand resources and
// more: a text is kept once, in large blocks, and never moves.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace orrinrc::check {

// Texts kept for the whole check. A view that keep() returns stays valid as
// long as the store lives.
class KeptText {
public:
    std::string_view keep(std::string_view text) {
        if (text.empty()) return {};
        if (text.size() > left_) {
            const size_t size = text.size() > kBlock / 4 ? text.size() : kBlock;
            blocks_.push_back(std::make_unique<char[]>(size));
            char* block = blocks_.back().get();
            if (size != kBlock) {
                // A large text has a block of its own; the current block stays in use.
                std::memcpy(block, text.data(), text.size());
                return {block, text.size()};
            }
            free_ = block;
            left_ = size;
        }
        char* at = free_;
        std::memcpy(at, text.data(), text.size());
        free_ += text.size();
        left_ -= text.size();
        return {at, text.size()};
    }

private:
    static constexpr size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
};

// Text that grows at its end by the piece, a piece of every match: the
// lines that the checker keeps, one after the other without their line ends.
class LineBuffer {
public:
    const char* data() const { return data_.get(); }
    size_t size() const { return size_; }
    std::string_view view(size_t from, size_t to) const { return {data_.get() + from, to - from}; }

    // Appends the `n` bytes of `text` up to the first line end among them;
    // returns how many that is (n when there is none). The line end itself
    // is not counted.
    size_t append_to_line_end(const char* text, size_t n) {
        if (capacity_ - size_ < n + 8) grow(n + 8);
        char* out = data_.get() + size_;
        size_t k = n;
        if constexpr (std::endian::native == std::endian::little) {
            // Eight (or four) bytes at a time, copied and looked at for a
            // '\n'; the last ones read as a whole too, overlapping the ones
            // before. Bytes copied past the line end are beyond the size.
            if (n >= 8) {
                size_t i = 0;
                uint64_t found = 0;
                for (; i + 8 < n; i += 8) {
                    found = copy8(out + i, text + i);
                    if (found != 0) break;
                }
                if (found == 0) {
                    found = copy8(out + n - 8, text + n - 8) & (~uint64_t{0} << (8 * (i - (n - 8))));
                    i = n - 8;
                }
                if (found != 0) k = i + static_cast<size_t>(std::countr_zero(found)) / 8;
            } else if (n >= 4) {
                uint32_t head, tail;
                std::memcpy(&head, text, 4);
                std::memcpy(&tail, text + n - 4, 4);
                std::memcpy(out, &head, 4);
                std::memcpy(out + n - 4, &tail, 4);
                if (const uint64_t found = line_ends(head)) k = static_cast<size_t>(std::countr_zero(found)) / 8;
                else if (const uint64_t found_tail = line_ends(tail))
                    k = n - 4 + static_cast<size_t>(std::countr_zero(found_tail)) / 8;
            } else {
                for (k = 0; k < n && text[k] != '\n'; ++k) out[k] = text[k];
            }
        } else {
            for (k = 0; k < n && text[k] != '\n'; ++k) out[k] = text[k];
        }
        size_ += k;
        return k;
    }
    void truncate(size_t size) { size_ = size; }
    // Drops the first `n` bytes.
    void drop_front(size_t n) {
        if (n == 0) return;
        std::memmove(data_.get(), data_.get() + n, size_ - n);
        size_ -= n;
    }

private:
    // The bytes of `w` that are '\n', as their top bits (exact up to the
    // first one, which is all that is asked).
    static uint64_t line_ends(uint64_t w) {
        const uint64_t x = w ^ 0x0a0a0a0a0a0a0a0aull;
        return (x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull;
    }
    static uint64_t copy8(char* out, const char* in) {
        uint64_t w;
        std::memcpy(&w, in, 8);
        std::memcpy(out, &w, 8);
        return line_ends(w);
    }
    void grow(size_t room) {
        size_t capacity = capacity_ == 0 ? 4096 : capacity_ * 2;
        while (capacity - size_ < room) capacity *= 2;
        auto data = std::make_unique<char[]>(capacity);
        if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// A set of entries (numbers from 0) found by their names, which the caller
// gives: the first entry of a name is the one kept.
class NameIndex {
public:
    // The entry already named `name`, or `entry`, which then takes the name.
    // `name_of(i)` gives the name of an earlier entry.
    template <class NameOf>
    uint32_t find_or_add(std::string_view name, uint32_t entry, NameOf name_of) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        const uint32_t h = hash(name);
        for (size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& s = slots_[i];
            if (s.entry == kEmpty) {
                s = Slot{entry, h};
                ++count_;
                return entry;
            }
            if (s.hash == h && name_of(s.entry) == name) return s.entry;
        }
    }

    static uint32_t hash(std::string_view s) {
        uint64_t h = 0xcbf29ce484222325ull;
        for (const char c : s) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
        return static_cast<uint32_t>(h ^ (h >> 32));
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        uint32_t entry = kEmpty;
        uint32_t hash = 0;
    };

    void grow() {
        std::vector<Slot> old(slots_.empty() ? 0 : slots_.size() * 2);
        old.swap(slots_);
        if (slots_.empty()) slots_.resize(1024);
        for (const Slot& s : old) {
            if (s.entry == kEmpty) continue;
            size_t i = s.hash & (slots_.size() - 1);
            while (slots_[i].entry != kEmpty) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = s;
        }
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};

}  // namespace orrinrc::check
