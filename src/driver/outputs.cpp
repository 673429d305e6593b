// Output placement: in place, or through temporary files renamed on success.
#include "driver/outputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "driver/run.h"

namespace orrinrc {

namespace {

struct Output {
    std::string final_path;  // where it ends up
    std::string temp_path;   // where it is written; empty: in place
};
Output bin_output, header_output;

std::string in_dir(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

Output plan(const std::string& dir, const char* name) {
    Output o{in_dir(dir, name), ""};
    if (!dir.empty()) o.temp_path = in_dir(dir, (std::string(".") + name + "." + std::to_string(getpid()) + ".tmp").c_str());
    return o;
}

const std::string& written_path(const Output& o) { return o.temp_path.empty() ? o.final_path : o.temp_path; }

}  // namespace

int open_output_files(const std::string& dir) {
    bin_output = plan(dir, "resource.bin");
    header_output = plan(dir, "resource.h");
    if (!bin_open(resource_bin, written_path(bin_output).c_str())) {
        std::printf("Can't open output file resource.bin\n");
        return 3;
    }
    resource_bin.path = "resource.bin";
    if (!header_open(resource_h, written_path(header_output).c_str())) {
        std::printf("Can't open output file resource.h\n");
        discard_output_files();
        return 4;
    }
    resource_h.path = "resource.h";
    return 0;
}

void commit_output_files() {
    for (const Output* o : {&bin_output, &header_output}) {
        if (o->temp_path.empty()) continue;
        if (std::rename(o->temp_path.c_str(), o->final_path.c_str()) != 0) {
            const int err = errno;
            discard_output_files();
            fail_write(o == &bin_output ? 3 : 4, o == &bin_output ? "resource.bin" : "resource.h", err);
        }
    }
    bin_output.temp_path.clear();
    header_output.temp_path.clear();
}

void discard_output_files() {
    for (Output* o : {&bin_output, &header_output}) {
        if (o->temp_path.empty()) continue;
        ::unlink(o->temp_path.c_str());
        o->temp_path.clear();
    }
}

std::vector<std::string> output_paths() { return {bin_output.final_path, header_output.final_path}; }

std::string depfile_escape(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == ' ' || c == '\t') {
            // Backslashes right before a blank are doubled, then the blank escaped.
            for (size_t j = i; j > 0 && path[j - 1] == '\\'; --j) out += '\\';
            out += '\\';
            out += c;
        } else if (c == '$') {
            out += "$$";
        } else if (c == '#') {
            out += "\\#";
        } else {
            out += c;
        }
    }
    return out;
}

void write_depfile(const std::string& path, const std::string& input, const std::vector<std::string>& pictures) {
    std::string text;
    for (const std::string& target : output_paths()) {
        if (!text.empty()) text += ' ';
        text += depfile_escape(target);
    }
    text += ": " + depfile_escape(input);
    for (const std::string& p : pictures) text += " \\\n  " + depfile_escape(p);
    text += '\n';
    // Written whole, then renamed: a reader never sees half a file.
    const std::string temp = path + "." + std::to_string(getpid()) + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "w");
    bool ok = f != nullptr && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f != nullptr) ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int err = errno;
        ::unlink(temp.c_str());
        std::printf("error: can't write %s: %s\n", path.c_str(), std::strerror(err));
        std::fflush(stdout);
        std::exit(3);
    }
}

}  // namespace orrinrc
