// orrinrc-dump: lists a resource.bin image, draws its pictures as PNG files,
// or decompiles it into resource text and BMP files.
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "dump/canvas.h"
#include "dump/container.h"
#include "dump/names.h"
#include "dump/pictures.h"
#include "dump/preview.h"
#include "dump/print.h"
#include "dump/rc_text.h"
#include "dump/records.h"

namespace fs = std::filesystem;
using namespace orrinrc::dump;

namespace {

int usage(const char* argv0) {
    std::fprintf(stderr,
                 "usage: %s [--pictures DIR] [--preview DIR] [--scale N] [--text DIR] resource.bin [resource.h]\n"
                 "  without options: lists every record and its values\n"
                 "  --pictures DIR:  writes every bitmap as a grey-level PNG file into DIR\n"
                 "  --preview DIR:   draws every form with its objects as a PNG file into DIR\n"
                 "  --scale N:       pictures and previews N times the device's size (1 to 16;\n"
                 "                   previews default to 2)\n"
                 "  --text DIR:      writes resource text (DIR/resource.rc) and BMP files into DIR that\n"
                 "                   compile back to the same resource.bin (and resource.h, when given)\n",
                 argv0);
    return 1;
}

bool write_file(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
}

bool make_dir(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (fs::is_directory(dir, ec)) return true;
    std::fprintf(stderr, "orrinrc-dump: cannot create folder %s\n", dir.c_str());
    return false;
}

// The name of a record: the resource.h line at its position when that line
// has its identifier, otherwise the first line with its identifier.
std::string name_of(const std::vector<DefineLine>& names, size_t index, uint16_t id) {
    if (index < names.size() && names[index].id == id) return names[index].name;
    for (const DefineLine& d : names)
        if (d.id == id) return d.name;
    return "";
}

int write_pictures(const std::vector<Record>& records, const std::vector<DefineLine>& names, const fs::path& dir,
                   int scale) {
    if (!make_dir(dir)) return 2;
    std::set<std::string> used;
    size_t written = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& rec = records[i];
        std::string name = name_of(names, i, rec.id);
        const std::string base = name.empty() ? strf("%s_%u", rec.keyword(), rec.id) : file_base(name);
        for (const Field& f : rec.fields) {
            if (f.encoding() != Encoding::Bitmap || !f.bitmap.present) continue;
            std::string why;
            if (!f.bitmap.drawable(why)) {
                std::fprintf(stderr, "orrinrc-dump: %s ID=%u %s not drawn: %s\n", rec.keyword(), rec.id, f.key(),
                             why.c_str());
                continue;
            }
            const std::string picture = f.spec().picture;
            std::string file = base + "_" + picture;
            for (int n = 2; !used.insert(file).second; ++n) file = base + "_" + picture + "_" + std::to_string(n);
            const fs::path path = dir / (file + ".png");
            Canvas canvas(f.bitmap.width, f.bitmap.height);
            canvas.picture(0, 0, f.bitmap);
            if (!canvas.write_png(path.string(), scale, why)) {
                std::fprintf(stderr, "orrinrc-dump: cannot write %s: %s\n", path.c_str(), why.c_str());
                return 2;
            }
            std::printf("%s\n", path.c_str());
            ++written;
        }
    }
    std::printf("%zu picture%s written\n", written, written == 1 ? "" : "s");
    return 0;
}

// One PNG per form, named after the form (its identifier without a name).
int write_previews(const std::vector<Record>& records, const std::vector<DefineLine>& names, const fs::path& dir,
                   int scale) {
    if (!make_dir(dir)) return 2;
    std::set<std::string> used;
    size_t written = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& rec = records[i];
        if (rec.kind() != orrinrc::format::Kind::Form) continue;
        const std::string name = name_of(names, i, rec.id);
        std::string file = name.empty() ? strf("%s_%u", rec.keyword(), rec.id) : file_base(name);
        for (int n = 2; !used.insert(file).second; ++n) file = (name.empty() ? strf("%s_%u", rec.keyword(), rec.id) : file_base(name)) + "_" + std::to_string(n);
        const fs::path path = dir / (file + ".png");
        std::string why;
        if (!render_form(rec, records).write_png(path.string(), scale, why)) {
            std::fprintf(stderr, "orrinrc-dump: cannot write %s: %s\n", path.c_str(), why.c_str());
            return 2;
        }
        std::printf("%s\n", path.c_str());
        ++written;
    }
    std::printf("%zu form%s drawn\n", written, written == 1 ? "" : "s");
    return 0;
}

int write_text(const std::vector<Record>& records, const std::vector<DefineLine>* names, const fs::path& dir) {
    const ResourceText text = write_resource_text(records, names);
    if (!text.problems.empty()) {
        for (const std::string& p : text.problems)
            std::fprintf(stderr, "orrinrc-dump: cannot be written as resource text: %s\n", p.c_str());
        return 1;
    }
    if (!make_dir(dir)) return 2;
    const fs::path rc = dir / "resource.rc";
    if (!write_file(rc, text.text)) {
        std::fprintf(stderr, "orrinrc-dump: cannot write %s\n", rc.c_str());
        return 2;
    }
    for (const auto& [file, content] : text.files) {
        if (!write_file(dir / file, content)) {
            std::fprintf(stderr, "orrinrc-dump: cannot write %s\n", (dir / file).c_str());
            return 2;
        }
    }
    std::printf("%s and %zu BMP file%s written; compile them in that folder: orrinrc resource.rc\n", rc.c_str(),
                text.files.size(), text.files.size() == 1 ? "" : "s");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string pictures_dir, text_dir, preview_dir;
    int scale = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pictures" || arg == "--text" || arg == "--preview") {
            if (i + 1 >= argc) return usage(argv[0]);
            (arg == "--text" ? text_dir : arg == "--preview" ? preview_dir : pictures_dir) = argv[++i];
        } else if (arg == "--scale") {
            if (i + 1 >= argc) return usage(argv[0]);
            scale = std::atoi(argv[++i]);
            if (scale < 1 || scale > 16) return usage(argv[0]);
        } else if (arg == "--help" || arg == "-h") {
            usage(argv[0]);
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage(argv[0]);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty() || files.size() > 2) return usage(argv[0]);

    Bytes bytes;
    if (!read_whole_file(files[0], bytes)) {
        std::fprintf(stderr, "orrinrc-dump: cannot read %s: %s\n", files[0].c_str(), std::strerror(errno));
        return 2;
    }
    std::vector<DefineLine> names;
    if (files.size() == 2) {
        Bytes header;
        if (!read_whole_file(files[1], header)) {
            std::fprintf(stderr, "orrinrc-dump: cannot read %s: %s\n", files[1].c_str(), std::strerror(errno));
            return 2;
        }
        std::string error;
        if (!parse_resource_h(std::string(header.begin(), header.end()), names, error)) {
            std::fprintf(stderr, "orrinrc-dump: %s: %s\n", files[1].c_str(), error.c_str());
            return 1;
        }
    }

    const bool listing = pictures_dir.empty() && text_dir.empty() && preview_dir.empty();
    std::vector<Record> records;
    try {
        if (listing) std::printf("%s: %zu bytes\n", files[0].c_str(), bytes.size());
        walk_image(bytes, [&](Record& rec) {
            if (listing) print_record(stdout, rec, name_of(names, records.size(), rec.id));
            records.push_back(std::move(rec));
        });
    } catch (const DumpError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "orrinrc-dump: %s: offset 0x%06zx: %s\n", files[0].c_str(), e.offset, e.what.c_str());
        return 1;
    }
    if (listing) {
        std::printf("%zu record%s\n", records.size(), records.size() == 1 ? "" : "s");
        return 0;
    }
    if (!pictures_dir.empty()) {
        const int rc = write_pictures(records, names, pictures_dir, scale > 0 ? scale : 1);
        if (rc != 0) return rc;
    }
    if (!preview_dir.empty()) {
        const int rc = write_previews(records, names, preview_dir, scale > 0 ? scale : 2);
        if (rc != 0) return rc;
    }
    if (!text_dir.empty()) return write_text(records, files.size() == 2 ? &names : nullptr, text_dir);
    return 0;
}
