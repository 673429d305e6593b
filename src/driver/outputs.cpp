// Output placement: in place, or through temporary files renamed on success.
#include "driver/outputs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "output/resource_bin.h"
#include "util/files.h"
#include "util/process.h"

namespace orrinrc {

namespace {

std::string in_dir(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

void plan(OutputFile& o, const std::string& dir, const char* name) {
    o.final_path = in_dir(dir, name);
    o.temp_path.clear();
    if (!dir.empty()) o.temp_path = in_dir(dir, (std::string(".") + name + "." + std::to_string(process::id()) + ".tmp").c_str());
}

const std::string& written_path(const OutputFile& o) { return o.temp_path.empty() ? o.final_path : o.temp_path; }

// Whether the file `a` holds the bytes of the regular file `b`; false when
// either cannot be read (a device at `b` is replaced as before).
bool same_bytes(const std::string& a, const std::string& b) {
    const files::Status sa = files::status(a.c_str()), sb = files::status(b.c_str());
    if (sa.kind != files::Kind::Regular || sb.kind != files::Kind::Regular || sa.size != sb.size) return false;
    FILE* fa = std::fopen(a.c_str(), "rb");
    FILE* fb = fa != nullptr ? std::fopen(b.c_str(), "rb") : nullptr;
    bool same = fb != nullptr;
    char ba[65536], bb[sizeof ba];
    while (same) {
        const size_t na = std::fread(ba, 1, sizeof ba, fa), nb = std::fread(bb, 1, sizeof bb, fb);
        same = na == nb && std::memcmp(ba, bb, na) == 0 && !std::ferror(fa) && !std::ferror(fb);
        if (na < sizeof ba) break;
    }
    if (fa != nullptr) std::fclose(fa);
    if (fb != nullptr) std::fclose(fb);
    return same;
}

}  // namespace

int open_output_files(OutputFiles& files, const std::string& dir, FILE* out) {
    plan(files.bin, dir, "resource.bin");
    plan(files.header, dir, "resource.h");
    if (!files.bin.file.open(written_path(files.bin).c_str())) {
        std::fputs("Can't open output file resource.bin\n", out);
        return 3;
    }
    if (!files.header.file.open(written_path(files.header).c_str())) {
        std::fputs("Can't open output file resource.h\n", out);
        discard_output_files(files);
        return 4;
    }
    return 0;
}

std::optional<Error> commit_output_files(OutputFiles& files) {
    for (OutputFile* o : {&files.bin, &files.header}) {
        if (o->temp_path.empty()) continue;
        // An output whose bytes did not change keeps its file and its time
        // stamp, so that a build tool rebuilds only what reads a changed one.
        if (same_bytes(o->temp_path, o->final_path)) {
            files::remove(o->temp_path.c_str());
            o->temp_path.clear();
            continue;
        }
        if (const int err = files::replace(o->temp_path.c_str(), o->final_path.c_str())) {
            const bool bin = o == &files.bin;
            discard_output_files(files);
            return output_write_error(bin ? 3 : 4, bin ? "resource.bin" : "resource.h", err);
        }
        o->temp_path.clear();
    }
    return std::nullopt;
}

void discard_output_files(OutputFiles& files) {
    for (OutputFile* o : {&files.bin, &files.header}) {
        if (o->temp_path.empty()) continue;
        files::remove(o->temp_path.c_str());
        o->temp_path.clear();
    }
}

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

std::optional<Error> write_depfile(const std::string& path, const OutputFiles& files, const std::string& target,
                                   const std::string& input, const std::vector<std::string>& pictures) {
    std::string text = !target.empty() ? depfile_escape(target)
                                       : depfile_escape(files.bin.final_path) + ' ' + depfile_escape(files.header.final_path);
    text += ": " + depfile_escape(input);
    for (const std::string& p : pictures) text += " \\\n  " + depfile_escape(p);
    text += '\n';
    // Written whole, then renamed: a reader never sees half a file.
    const std::string temp = path + "." + std::to_string(process::id()) + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    bool ok = f != nullptr && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f != nullptr) ok = std::fclose(f) == 0 && ok;
    int err = ok ? 0 : errno;
    if (ok) err = files::replace(temp.c_str(), path.c_str());
    if (err == 0) return std::nullopt;
    files::remove(temp.c_str());
    return output_write_error(3, path.c_str(), err);
}

}  // namespace orrinrc
