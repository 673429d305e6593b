// Run-wide outputs, the error exit, resource.h lines and the parse trace.
#include "driver/run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

BinWriter resource_bin;
FILE* resource_h = nullptr;
Text resource_name;

namespace {

[[noreturn]] void header_failed(int err) {
    std::printf("error: can't write resource.h: %s\n", std::strerror(err));
    std::fflush(stdout);
    std::_Exit(4);
}

}  // namespace

void fail_run(int code) {
    bin_abandon(resource_bin);
    if (resource_h != nullptr) {
        FILE* h = resource_h;
        resource_h = nullptr;
        if (std::fclose(h) != 0) header_failed(errno);
    }
    std::exit(code);
}

void write_define(uint16_t id) {
    const char* name = resource_name ? resource_name->c_str() : "";
    if (std::fprintf(resource_h, "#define %-40s %u\n", name, static_cast<unsigned>(id)) < 0) header_failed(errno);
    resource_name.reset();
}

void trace_open(const char* keyword) {
    std::fputs(keyword, stdout);
}

void trace_id(const char* keyword, uint16_t id) {
    int pad = 10 - static_cast<int>(std::strlen(keyword));
    std::printf("%*sID=%-4u", pad, "", static_cast<unsigned>(id));
}

void trace_end() {
    uint64_t length = resource_bin.pos();
    std::printf(" end=0x%06llx %llu\n", static_cast<unsigned long long>(length),
                static_cast<unsigned long long>(length));
}

void end_definition(uint16_t id, void (*writer)(BinWriter&)) {
    // A name is used by exactly one resource: without a NAME= line of its
    // own, the resource has nothing to define in resource.h.
    if (!resource_name) {
        std::printf("error: resource %u has no NAME= line\n", static_cast<unsigned>(id));
        fail_run(1);
    }
    writer(resource_bin);
    bin_commit_record(resource_bin);
    write_define(id);
    trace_end();
}
