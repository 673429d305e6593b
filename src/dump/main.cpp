// orrinrc-dump: lists a resource.bin image, draws its pictures as PNG files,
// or decompiles it into resource text and BMP files. Every mode reads the
// image one record at a time.
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dump/bmp_out.h"
#include "dump/container.h"
#include "dump/names.h"
#include "dump/pictures.h"
#include "dump/preview.h"
#include "dump/print.h"
#include "dump/rc_text.h"
#include "dump/records.h"
#include "util/process.h"

namespace fs = std::filesystem;
using namespace orrinrc::dump;

namespace {

// The usage: on standard output for --help (exit 0), else on standard error
// (exit 1).
int usage(const char* argv0, FILE* to = stderr) {
    std::fprintf(to,
                 "usage: %s [--pictures DIR] [--preview DIR] [--scale N] [--text DIR] resource.bin [resource.h]\n"
                 "  without options: lists every record and its values\n"
                 "  --pictures DIR:  writes every bitmap as a grey-level PNG file into DIR\n"
                 "  --preview DIR:   draws every form with its objects as a PNG file into DIR\n"
                 "  --scale N:       pictures and previews N times the device's size (1 to 16;\n"
                 "                   pictures default to 1, previews to 2)\n"
                 "  --text DIR:      writes resource text (DIR/resource.rc) and BMP files into DIR that\n"
                 "                   compile back to the same resource.bin (and resource.h, when given)\n"
                 "  -h, --help:      this text\n"
                 "  --version:       the version\n",
                 argv0);
    return to == stdout ? 0 : 1;
}

// A command line that is wrong: what is wrong, then the usage.
int wrong(const char* argv0, const std::string& what) {
    std::fprintf(stderr, "orrinrc-dump: %s\n", what.c_str());
    return usage(argv0);
}

// A file in a folder. Paths are UTF-8 strings joined with '/', which every
// system takes, so that the names printed are the same everywhere.
std::string in_dir(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool write_file(const std::string& path, const std::string& content) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    return std::fclose(f) == 0 && ok;
}

bool make_dir(const std::string& dir) {
    std::error_code ec;
    const fs::path path(std::u8string(dir.begin(), dir.end()));
    fs::create_directories(path, ec);
    if (fs::is_directory(path, ec)) return true;
    std::fprintf(stderr, "orrinrc-dump: cannot create folder %s\n", dir.c_str());
    return false;
}

// The run's inputs and how a fault in them is reported.
struct Inputs {
    std::string bin_path;
    ImageReader image;
    std::unique_ptr<DefineFile> names;  // null without resource.h

    std::string name_for(size_t index, uint16_t id) const { return names ? names->name_for(index, id) : ""; }

    int fault(const DumpError& e) const {
        std::fflush(stdout);
        std::fprintf(stderr, "orrinrc-dump: %s: offset 0x%06zx: %s\n", bin_path.c_str(), e.offset, e.what.c_str());
        return 1;
    }
    // The end of a run over an unfinished file: it is listed, but is no image.
    int unfinished(size_t records) const {
        std::fflush(stdout);
        std::fprintf(stderr,
                     "orrinrc-dump: %s: unfinished file: its total-length field is 0 (the compiler stopped at an "
                     "error); %zu complete record%s read\n",
                     bin_path.c_str(), records, records == 1 ? "" : "s");
        return 1;
    }
};

int list(Inputs& in) {
    std::printf("%s: %zu bytes\n", in.bin_path.c_str(), in.image.size());
    size_t count = 0;
    try {
        in.image.start();
        if (in.image.unfinished())
            std::printf("unfinished: the total-length field is 0 (the compiler stopped at an error); the records up "
                        "to the end of the file follow\n");
        walk_records(in.image, [&](Record& rec) {
            print_record(stdout, rec, in.name_for(count, rec.id));
            ++count;
        });
    } catch (const DumpError& e) {
        return in.fault(e);
    }
    std::printf("%zu record%s\n", count, count == 1 ? "" : "s");
    return in.image.unfinished() ? in.unfinished(count) : 0;
}

int write_pictures(Inputs& in, const std::string& dir, int scale) {
    if (!make_dir(dir)) return 2;
    NameSet used;
    size_t written = 0, count = 0;
    int rc = 0;
    try {
        in.image.rewind();
        walk_records(in.image, [&](Record& rec) {
            const std::string name = in.name_for(count++, rec.id);
            for (const Field& f : rec.fields) {
                if (rc != 0 || f.encoding() != Encoding::Bitmap || !f.bitmap().present) continue;
                std::string why;
                if (!f.bitmap().drawable(why)) {
                    std::fprintf(stderr, "orrinrc-dump: %s ID=%u %s not drawn: %s\n", rec.keyword(), rec.id, f.key(),
                                 why.c_str());
                    continue;
                }
                const std::string path = in_dir(dir, unique_file_base(used, name, rec.keyword(), rec.id, std::string("_") + f.info().picture) + ".png");
                if (!write_png(path, f.bitmap(), why, scale)) {
                    std::fprintf(stderr, "orrinrc-dump: cannot write %s: %s\n", path.c_str(), why.c_str());
                    rc = 2;
                    continue;
                }
                std::printf("%s\n", path.c_str());
                ++written;
            }
        });
    } catch (const DumpError& e) {
        return in.fault(e);
    }
    if (rc != 0) return rc;
    std::printf("%zu picture%s written\n", written, written == 1 ? "" : "s");
    return in.image.unfinished() ? in.unfinished(count) : 0;
}

// One PNG per form. The objects of a form may stand anywhere in the file,
// so the records are kept while the forms are drawn.
int write_previews(Inputs& in, const std::string& dir, int scale) {
    if (!make_dir(dir)) return 2;
    std::vector<Record> records;
    std::vector<std::string> names;
    try {
        in.image.rewind();
        walk_records(in.image, [&](Record& rec) {
            names.push_back(in.name_for(records.size(), rec.id));
            records.push_back(std::move(rec));
        });
    } catch (const DumpError& e) {
        return in.fault(e);
    }
    NameSet used;
    size_t drawn = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].kind() != orrinrc::format::Kind::Form) continue;
        const std::string path = in_dir(dir, unique_file_base(used, names[i], records[i].keyword(), records[i].id) + ".png");
        std::string why;
        if (!render_form(records[i], records).write_png(path, scale, why)) {
            std::fprintf(stderr, "orrinrc-dump: cannot write %s: %s\n", path.c_str(), why.c_str());
            return 2;
        }
        std::printf("%s\n", path.c_str());
        ++drawn;
    }
    std::printf("%zu form%s drawn\n", drawn, drawn == 1 ? "" : "s");
    return in.image.unfinished() ? in.unfinished(records.size()) : 0;
}

// The first pass of --text: every problem on standard error, nothing written.
class CheckSink : public TextSink {
public:
    void text(const std::string&) override {}
    void file(const std::string&, const BitmapView&) override {}
    void problem(const std::string& what) override {
        ++problems;
        std::fprintf(stderr, "orrinrc-dump: cannot be written as resource text: %s\n", what.c_str());
    }
    void note(const std::string&) override {}

    size_t problems = 0;
};

// The second pass: the text file and the BMP files, as they come.
class FileSink : public TextSink {
public:
    FileSink(const std::string& dir, FILE* rc) : dir_(dir), rc_(rc) {}
    void text(const std::string& piece) override {
        if (std::fwrite(piece.data(), 1, piece.size(), rc_) != piece.size()) failed_ = "resource.rc";
    }
    void file(const std::string& name, const BitmapView& bm) override {
        ++files;
        if (failed_.empty() && !write_file(in_dir(dir_, name), bmp_for(bm))) failed_ = name;
    }
    void problem(const std::string&) override {}
    void note(const std::string& what) override { std::printf("orrinrc-dump: note: %s\n", what.c_str()); }

    const std::string& failed() const { return failed_; }
    size_t files = 0;

private:
    std::string dir_;
    FILE* rc_;
    std::string failed_;
};

// Writes every record through `sink`; returns the number of records.
size_t decompile(Inputs& in, TextSink& sink) {
    ResourceTextWriter writer(sink);
    size_t count = 0;
    in.image.rewind();
    if (in.names) in.names->rewind();
    DefineLine line;
    walk_records(in.image, [&](Record& rec) {
        const bool has_line = in.names && in.names->line(count, line);
        writer.record(rec, count, in.names != nullptr, has_line ? &line : nullptr);
        ++count;
    });
    writer.finish(count, in.names != nullptr, in.names ? in.names->lines() : 0);
    return count;
}

int write_text(Inputs& in, const std::string& dir) {
    if (in.image.unfinished()) {
        std::fprintf(stderr, "orrinrc-dump: %s: unfinished file: its total-length field is 0; resource text "
                             "always compiles to a finished file, so it cannot give these bytes back\n",
                     in.bin_path.c_str());
        return 1;
    }
    // First pass: everything must be expressible before anything is written.
    CheckSink check;
    try {
        decompile(in, check);
    } catch (const DumpError& e) {
        return in.fault(e);
    }
    if (check.problems != 0) return 1;

    if (!make_dir(dir)) return 2;
    const std::string rc_path = in_dir(dir, "resource.rc");
    FILE* rc = std::fopen(rc_path.c_str(), "wb");
    if (rc == nullptr) {
        std::fprintf(stderr, "orrinrc-dump: cannot write %s\n", rc_path.c_str());
        return 2;
    }
    static char buffer[1 << 16];
    std::setvbuf(rc, buffer, _IOFBF, sizeof buffer);
    FileSink sink(dir, rc);
    try {
        decompile(in, sink);
    } catch (const DumpError& e) {
        std::fclose(rc);
        return in.fault(e);  // the file changed between the passes
    }
    if (std::fclose(rc) != 0 && sink.failed().empty()) {
        std::fprintf(stderr, "orrinrc-dump: cannot write %s\n", rc_path.c_str());
        return 2;
    }
    if (!sink.failed().empty()) {
        std::fprintf(stderr, "orrinrc-dump: cannot write %s\n", in_dir(dir, sink.failed()).c_str());
        return 2;
    }
    std::printf("%s and %zu BMP file%s written; compile them in that folder: orrinrc resource.rc\n", rc_path.c_str(),
                sink.files, sink.files == 1 ? "" : "s");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The listing and the messages are the same bytes on every system.
    orrinrc::process::binary_standard_streams();
    argv[0] = orrinrc::process::program_name(argv[0]);
    std::string pictures_dir, text_dir, preview_dir;
    int scale = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pictures" || arg == "--text" || arg == "--preview") {
            if (i + 1 >= argc) return wrong(argv[0], "a folder must follow " + arg);
            (arg == "--text" ? text_dir : arg == "--preview" ? preview_dir : pictures_dir) = argv[++i];
        } else if (arg == "--scale") {
            if (i + 1 >= argc) return wrong(argv[0], "a number must follow --scale");
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*argv[i] == '\0' || *end != '\0' || n < 1 || n > 16)
                return wrong(argv[0], std::string("--scale takes 1 to 16, not ") + argv[i]);
            scale = static_cast<int>(n);
        } else if (arg == "--help" || arg == "-h") {
            return usage(argv[0], stdout);
        } else if (arg == "--version") {
            std::printf("orrinrc-dump %s\n", ORRINRC_VERSION);
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong(argv[0], "unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) return wrong(argv[0], "no resource.bin given");
    if (files.size() > 2) return wrong(argv[0], "more files than resource.bin and resource.h: " + files[2]);

    Inputs in;
    in.bin_path = files[0];
    if (!in.image.open(files[0])) {
        std::fprintf(stderr, "orrinrc-dump: cannot read %s: %s\n", files[0].c_str(), std::strerror(errno));
        return 2;
    }
    if (files.size() == 2) {
        in.names = std::make_unique<DefineFile>();
        std::string error;
        bool unreadable = false;
        if (!in.names->open(files[1], error, unreadable)) {
            if (unreadable) {
                std::fprintf(stderr, "orrinrc-dump: cannot read %s: %s\n", files[1].c_str(), error.c_str());
                return 2;
            }
            std::fprintf(stderr, "orrinrc-dump: %s: %s\n", files[1].c_str(), error.c_str());
            return 1;
        }
    }

    // Large outputs are written in large pieces.
    static char out_buffer[1 << 16];
    std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);

    if (pictures_dir.empty() && text_dir.empty() && preview_dir.empty()) return list(in);
    try {
        in.image.start();
    } catch (const DumpError& e) {
        return in.fault(e);
    }
    int rc = 0;
    if (!pictures_dir.empty()) {
        rc = write_pictures(in, pictures_dir, scale > 0 ? scale : 1);
        if (rc != 0) return rc;
    }
    if (!preview_dir.empty()) {
        rc = write_previews(in, preview_dir, scale > 0 ? scale : 2);
        if (rc != 0) return rc;
    }
    if (!text_dir.empty()) rc = write_text(in, text_dir);
    return rc;
}
