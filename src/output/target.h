// Where the bytes of an output go: a file, a buffer in memory, or nowhere.
// resource.bin and resource.h are written through this interface, so that a
// run can write files (the compiler) or keep its outputs in memory or drop
// them (the checker, the editor server, tests and fuzzers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace orrinrc {

// Every operation returns 0 or the errno of its failure.
class OutputTarget {
public:
    virtual ~OutputTarget() = default;
    // Appends data[0, n); `done` is set to the bytes that were taken, also
    // when the write fails half-way.
    virtual int append(const void* data, size_t n, size_t& done) = 0;
    // Overwrites bytes already written, at offset `at`.
    virtual int write_at(uint64_t at, const void* data, size_t n) = 0;
    // Cuts the output back to `size` bytes.
    virtual int truncate(uint64_t size) = 0;
    virtual int close() = 0;
    // Whether the bytes go nowhere: a writer may then skip making them.
    virtual bool keeps_nothing() const { return false; }
};

// A file, created or truncated by open().
class FileTarget final : public OutputTarget {
public:
    ~FileTarget() override;
    bool open(const char* path);
    int append(const void* data, size_t n, size_t& done) override;
    int write_at(uint64_t at, const void* data, size_t n) override;
    int truncate(uint64_t size) override;
    int close() override;

private:
    int fd_ = -1;
};

// The bytes in memory.
class MemoryTarget final : public OutputTarget {
public:
    int append(const void* data, size_t n, size_t& done) override;
    int write_at(uint64_t at, const void* data, size_t n) override;
    int truncate(uint64_t size) override;
    int close() override { return 0; }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// Takes everything and keeps nothing.
class NullTarget final : public OutputTarget {
public:
    int append(const void*, size_t n, size_t& done) override {
        done = n;
        return 0;
    }
    int write_at(uint64_t, const void*, size_t) override { return 0; }
    int truncate(uint64_t) override { return 0; }
    int close() override { return 0; }
    bool keeps_nothing() const override { return true; }
};

// The run's standard output (the trace, and text that no statement takes):
// a stream, a string, or nowhere.
class Console {
public:
    Console() = default;
    explicit Console(FILE* to) : file_(to) {}
    explicit Console(std::string* to) : text_(to) {}
    void write(const char* data, size_t n) {
        if (file_ != nullptr) std::fwrite(data, 1, n, file_);
        else if (text_ != nullptr) text_->append(data, n);
    }
    void put(const char* text);
    // Whether what is written goes nowhere.
    bool nowhere() const { return file_ == nullptr && text_ == nullptr; }

private:
    FILE* file_ = nullptr;
    std::string* text_ = nullptr;
};

}  // namespace orrinrc
