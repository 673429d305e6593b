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
