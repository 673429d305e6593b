// Writes a large, realistic resource text for the benchmark, deterministically
// from a seed: screens of one form and the objects on it (controls of every
// style, fields, lists, menus, scroll bars, tables, SCHLINE objects, strings,
// bitmaps, text boxes and lines), with texts of realistic lengths, comments,
// blank lines, a quarter of the screens with CR LF line ends, and a few BMP
// pictures that many definitions share.
//
//   gen_rc <folder> <megabytes> <seed>
//
// writes <folder>/bench.rc and the BMP files it names (relative names, so the
// compiler must run inside <folder>).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// xorshift64*: small, fast and the same on every machine.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t next() {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return s * 0x2545F4914F6CDD1Dull;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
};

const char* const kWords[] = {
    "Open",    "Save",     "Cancel",  "Delete", "Contact", "Address", "Phone",  "Note",
    "Memo",    "Today",    "Week",    "Month",  "Alarm",   "Repeat",  "Every",  "Name",
    "Company", "Title",    "Details", "Edit",   "New",     "Find",    "Next",   "Previous",
    "Category", "Unfiled", "Business", "Personal", "Priority", "Due", "Done",   "Sync",
    "Settings", "Display", "Sound",   "Power",  "Owner",   "Security", "Backup", "Battery",
    "the",     "of",       "and",     "to",     "for",     "with",    "on",     "your"};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

const char* const kColors[] = {"COLOR_WHITE", "COLOR_GREY1", "COLOR_GREY2", "COLOR_BLACK"};
const char* const kFonts[] = {"SMALL_FONT", "NORMAL_FONT", "MEDIUM_FONT", "LARGE_FONT"};
const char* const kAligns[] = {"LEFT", "CENTRE", "RIGHT"};
const char* const kBools[] = {"TRUE", "FALSE", "1", "0"};

// One picture on disk: its file name, size and the depth it is read at.
struct Picture {
    const char* file;
    int width, height;
    const char* depth;
};
const Picture kLogo = {"logo.bmp", 160, 40, "Q_FOUR_BIT"};
const Picture kIcon = {"icon.bmp", 32, 32, "Q_FOUR_BIT"};
const Picture kArrowUp = {"arrow_up.bmp", 16, 8, "Q_TWO_BIT"};
const Picture kArrowDown = {"arrow_down.bmp", 16, 8, "Q_TWO_BIT"};
const Picture kCheckOff = {"check_off.bmp", 12, 12, "Q_TWO_BIT"};
const Picture kCheckOn = {"check_on.bmp", 12, 12, "Q_TWO_BIT"};

class Writer {
public:
    Writer(Rng& rng, std::string& out) : rng_(rng), out_(out) {}

    void set_crlf(bool crlf) { eol_ = crlf ? "\r\n" : "\n"; }

    void line(const std::string& text) {
        out_ += text;
        out_ += eol_;
    }
    void kv(const char* key, const std::string& value) { line(std::string(key) + "=" + value); }
    void kv(const char* key, long value) { kv(key, std::to_string(value)); }

    std::string words(int lo, int hi) {
        std::string s;
        for (int n = rng_.range(lo, hi); n > 0; --n) {
            if (!s.empty()) s += ' ';
            s += kWords[rng_.below(kWordCount)];
        }
        return s;
    }
    const char* pick(const char* const* list, int n) { return list[rng_.below(n)]; }
    const char* color() { return pick(kColors, 4); }
    const char* font() { return pick(kFonts, 4); }
    const char* align() { return pick(kAligns, 3); }
    const char* boolean() { return pick(kBools, 4); }

    void bounds(const char* key = "BOUNDS") {
        std::string k(key);
        kv((k + ".X").c_str(), rng_.range(0, 150));
        kv((k + ".Y").c_str(), rng_.range(0, 150));
        kv((k + ".WIDTH").c_str(), rng_.range(8, 160));
        kv((k + ".HEIGHT").c_str(), rng_.range(8, 160));
    }
    // The picture lines of one bitmap group, FILE= last.
    void picture(const std::string& key, const Picture& p) {
        kv((key + "X").c_str(), rng_.range(0, 8));
        kv((key + "Y").c_str(), rng_.range(0, 8));
        kv((key + "WIDTH").c_str(), p.width);
        kv((key + "HEIGHT").c_str(), p.height);
        kv((key + "FILE").c_str(), std::string(p.depth) + ", " + p.file);
    }

    Rng& rng() { return rng_; }

private:
    Rng& rng_;
    std::string& out_;
    const char* eol_ = "\n";
};

struct Object {
    int id;
    const char* type;
};

int next_name = 0;

void open_def(Writer& w, const char* kind, const char* prefix, int id) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%06d", prefix, next_name++);
    if (w.rng().chance(20)) w.line("// " + w.words(2, 8));
    w.kv("NAME", name);
    w.line(std::string("#") + kind);
    w.kv("ID", id);
    w.line(std::string("OBJECT.TYPE=") + kind);
}

void end_def(Writer& w, const char* kind) {
    w.line(std::string("#END_") + kind);
    w.line("");
}

void related(Writer& w) {
    w.kv("RELATED_TABLE_ID", w.rng().chance(80) ? 0 : w.rng().range(1, 9999));
}

void control(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "CONTROL", "Ctl", id);
    related(w);
    w.bounds();
    static const char* const kStyles[] = {"BUTTON", "PUSH_BUTTON", "REPEAT_BUTTON", "CHECKBOX", "POPUP_TRIGGER"};
    static const int kWeights[] = {40, 20, 8, 17, 15};
    int pick = r.below(100), style = 0;
    while (pick >= kWeights[style]) pick -= kWeights[style++];
    w.kv("CONTROL_STYLE", kStyles[style]);
    if (style != 3) w.kv("CONTROL_SUBTYPE", r.chance(50) ? std::to_string(r.below(4)) : "SUBTYPE_" + std::to_string(r.below(4)));
    w.kv("CONTROL_TEXT", w.words(1, 3));
    w.kv("TEXT_ALIGNMENT", w.align());
    w.kv("CONTROL_ATTR.ENABLE", w.boolean());
    w.kv("CONTROL_ATTR.ACTIVE", w.boolean());
    w.kv("CONTROL_ATTR.VISIBLE", w.boolean());
    switch (style) {
    case 0:
        w.kv("CONTROL_ADD.RADIUS", r.range(0, 6));
        w.kv("CONTROL_ADD.COLOR_ON", w.color());
        w.kv("CONTROL_ADD.COLOR_OFF", w.color());
        break;
    case 1:
        w.kv("CONTROL_ADD.COLOR_ON", w.color());
        w.kv("CONTROL_ADD.COLOR_OFF", w.color());
        w.kv("CONTROL_ADD.GROUP_ID", r.range(1, 20));
        w.kv("CONTROL_ADD.CONTROL_VALUE", w.boolean());
        w.kv("CONTROL_ADD.RADIUS", r.range(0, 6));
        break;
    case 2:
        w.picture("CONTROL_BITMAP.", r.chance(50) ? kArrowUp : kArrowDown);
        break;
    case 3:
        w.kv("CONTROL_ADD.GROUP_ID", r.range(1, 20));
        w.kv("CONTROL_VALUE", w.boolean());
        w.picture("CONTROL_BITMAP.", kCheckOff);
        w.picture("CONTROL_BITMAP.", kCheckOn);
        break;
    case 4: {
        int n = r.range(2, 8);
        w.kv("CONTROL_ADD.RADIUS", r.range(0, 4));
        w.kv("CONTROL_ADD.NUM_OBJECTS", n);
        w.kv("CONTROL_ADD.SELECTED_ITEM", r.below(n));
        w.kv("CONTROL_ADD.TOP_ITEM_NUM", 0);
        for (int i = 1; i <= n; ++i) w.kv(("CONTROL_ADD.ITEM" + std::to_string(i)).c_str(), w.words(1, 2));
        break;
    }
    }
    end_def(w, "CONTROL");
}

void field(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "FIELD", "Fld", id);
    related(w);
    w.bounds();
    if (r.chance(70)) w.kv("FIELD_TEXT", w.words(1, 10));
    w.kv("FIELD_STYLE", r.below(3));
    static const char* const kBack[] = {"NO_LINE", "DOTTED_LINE", "GREY_LINE", "WITHOUT_LINE"};
    w.kv("FIELD_BACK_LINE", w.pick(kBack, 4));
    w.kv("FIELD_FONT", w.font());
    w.kv("FIELD_FONT_COLOR", w.color());
    w.kv("FIELD_BACKGROUND_COLOR", w.color());
    w.kv("FIELD_TEXTMENT", w.align());
    int max = r.range(8, 255);
    w.kv("FIELD_MAX_NUM_CHARS", max);
    w.kv("FIELD_TOP_LINE_NUM", 0);
    w.kv("FIELD_INSERT_PT_CHAR_POS", r.below(max));
    w.kv("FIELD_HIGHLIGHT_START", 0);
    w.kv("FIELD_HIGHLIGHT_END", 0);
    static const char* const kAttrs[] = {"FIELD_ACTIVE", "FIELD_ENABLE", "FIELD_DIRTY", "FIELD_HIGHLIGHT",
                                         "FIELD_INSERT_PT_VISIBLE", "FIELD_SCROLLBAR", "FIELD_FULL_SIZE", "FIELD_VISIBLE"};
    for (const char* a : kAttrs) w.kv(("FIELD_ATTR." + std::string(a)).c_str(), w.boolean());
    end_def(w, "FIELD");
}

void list(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "LIST", "Lst", id);
    related(w);
    w.bounds();
    int rel = r.range(0, 3);
    w.kv("LIST_NUM_RELATED_LIST_OBJECT", rel);
    for (int i = 1; i <= rel; ++i) w.kv(("LIST_RELATED_OBJECT" + std::to_string(i)).c_str(), r.range(1000, 60000));
    int n = r.range(1, 24);
    w.kv("LIST_TOTAL_NUM_ITEMS", n);
    w.kv("LIST_NUM_ITEMS_ON_DISPLAY", r.range(1, 10));
    w.kv("LIST_TOP_ITEM_NUM", 0);
    w.kv("LIST_TEXT_ALIGNMENT", w.align());
    w.kv("LIST_SELECTED_ITEM", r.chance(30) ? "NO_SELECTION" : std::to_string(r.below(n)));
    w.kv("LIST_STYLE", r.below(2));
    w.kv("LIST_TEXT_COLOR", w.color());
    w.kv("LIST_BACKGROUND_COLOR", w.color());
    for (int i = 1; i <= n; ++i) w.kv(("LIST_ITEM" + std::to_string(i)).c_str(), w.words(1, 4));
    static const char* const kAttrs[] = {"LIST_ENABLE", "LIST_VISIBLE", "LIST_ACTIVE", "LIST_SET_SCROLL", "LIST_SYNCHRONOUS"};
    for (const char* a : kAttrs) w.kv(("LIST_ATTR." + std::string(a)).c_str(), w.boolean());
    end_def(w, "LIST");
}

void menu(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "MENU", "Mnu", id);
    w.bounds();
    int n = r.range(2, 12);
    w.kv("MENU_NUM_ITEMS", n);
    w.kv("MENU_SELECTED_ITEM", r.below(n));
    for (int i = 1; i <= n; ++i) w.kv(("MENU_ITEM" + std::to_string(i)).c_str(), w.words(1, 3));
    w.kv("MENU_VISIBLE", w.boolean());
    end_def(w, "MENU");
}

void scrollbar(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "SCROLLBAR", "Scl", id);
    related(w);
    w.bounds();
    int max = r.range(10, 1000);
    w.kv("SCROLLBAR_MAX", max);
    w.kv("SCROLLBAR_MIN", 0);
    w.kv("SCROLLBAR_CURRENT_VALUE", r.below(max));
    w.kv("SCROLLBAR_PAGESIZE", r.range(1, 20));
    w.kv("SCROLLBAR_TOTAL_NUM_LINES", max);
    bool vertical = r.chance(75);
    w.kv("SCROLLBAR_STYLE", vertical ? "VERTICAL" : "HORIZONTAL");
    w.kv("SCROLLBAR_TYPE", vertical ? "VERTICAL" : "HORIZONTAL");
    if (r.chance(25)) {
        w.picture("SCROLLBAR_ARROW1_BITMAP.", kArrowUp);
        w.picture("SCROLLBAR_ARROW2_BITMAP.", kArrowDown);
    }
    if (r.chance(30)) w.kv("SCROLLBAR_TEXT", w.words(1, 3));
    w.kv("SCROLLBAR_ATTR.SCROLLBAR_ACTIVE", w.boolean());
    w.kv("SCROLLBAR_ATTR.SCROLLBAR_ENABLE", w.boolean());
    w.kv("SCROLLBAR_ATTR.SCROLLBAR_VISIBLE", w.boolean());
    end_def(w, "SCROLLBAR");
}

void table(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "TABLE", "Tbl", id);
    w.bounds();
    int cols = r.range(1, 4), rows = r.range(1, 6);
    w.kv("TABLE_NUM_COLUMN", cols);
    w.kv("TABLE_NUM_ROW", rows);
    for (int i = 1; i <= cols; ++i) w.kv(("TABLE_COLUMN_WIDTH" + std::to_string(i)).c_str(), r.range(10, 80));
    for (int i = 1; i <= rows; ++i) w.kv(("TABLE_ROW_HEIGHT" + std::to_string(i)).c_str(), r.range(10, 16));
    w.kv("TABLE_TOP_ROW_NUM", 0);
    w.kv("TABLE_LEFT_COL_NUM", 0);
    w.kv("TABLE_STYLE", r.below(2));
    w.kv("TABLE_BACKGROUND_COLOR", w.color());
    if (r.chance(10)) w.picture("TABLE_CELL_BITMAP.", kIcon);
    for (int c = rows * cols; c > 0; --c) {
        static const char* const kTypes[] = {"TABLE_TEXT", "TABLE_VALUE", "TABLE_UI_OBJECT"};
        int type = r.below(3);
        w.kv("TABLE_DATA_TYPE", kTypes[type]);
        w.kv("TABLE_UI_OBJECT_ID", type == 2 ? r.range(1000, 60000) : 0);
        w.kv("TABLE_FONT", w.font());
        w.kv("TABLE_VALUE", type == 1 ? r.range(-1000, 100000) : 0);
        w.kv("TABLE_TEXTMENT", w.align());
        w.kv("TABLE_FONT_COLOR", w.color());
        w.kv("TABLE_BACKGROUND_COLOR", w.color());
        w.kv("TABLE_CELL_HIGHLIGHT", w.boolean());
        w.kv("TABLECELL_HAS_BITMAP", 0);
        if (type == 0) w.kv("TABLE_TEXT", w.words(1, 3));
    }
    static const char* const kAttrs[] = {"TABLE_ENABLE", "TABLE_SCROLLBAR", "TABLE_ACTIVE", "TABLE_HIGHLIGHT_ENABLE", "TABLE_VISIBLE"};
    for (const char* a : kAttrs) w.kv(("TABLE_ATTR." + std::string(a)).c_str(), w.boolean());
    end_def(w, "TABLE");
}

void schline(Writer& w, int id) {
    open_def(w, "SCHLINE", "Sch", id);
    w.bounds();
    w.kv("SCHLINE_ATTR.ENABLE", w.boolean());
    w.kv("SCHLINE_ATTR.SCHLINE_ACTIVE", w.boolean());
    w.kv("SCHLINE_ATTR.VISIBLE", w.boolean());
    end_def(w, "SCHLINE");
}

void string_object(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "STRING", "Str", id);
    related(w);
    w.bounds();
    w.kv("STRING_STYLE", r.below(3));
    w.kv("STRING_TEXT", w.words(1, 16));
    w.kv("STRING_FONT_COLOR", w.color());
    w.kv("STRING_BACKGROUND_COLOR", w.color());
    w.kv("STRING_FONT", w.font());
    w.kv("STRING_ALIGNMENT", w.align());
    w.kv("STRING_ATTR.STRING_VISIBLE", w.boolean());
    end_def(w, "STRING");
}

void bitmap_object(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "BITMAP", "Bmp", id);
    related(w);
    w.bounds();
    w.picture("BITMAP1_BITMAP.", r.chance(50) ? kIcon : kLogo);
    if (r.chance(40)) w.picture("BITMAP2_BITMAP.", kIcon);
    w.kv("BITMAP_STYLE", r.below(2));
    w.kv("BITMAP_ATTR.BITMAP_ENABLE", w.boolean());
    w.kv("BITMAP_ATTR.BITMAP_ACTIVE", w.boolean());
    w.kv("BITMAP_ATTR.BITMAP_VISIBLE", w.boolean());
    end_def(w, "BITMAP");
}

void textbox(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "TEXTBOX", "Txt", id);
    related(w);
    w.bounds();
    w.kv("TEXTBOX_TEXT", w.words(4, 40));
    w.kv("TEXTBOX_STYLE", r.below(2));
    static const char* const kBack[] = {"NO_LINE", "DOTTED_LINE", "GREY_LINE"};
    w.kv("TEXTBOX_BACK_LINE", w.pick(kBack, 3));
    w.kv("TEXTBOX_FONT", w.font());
    w.kv("TEXTBOX_FONT_COLOR", w.color());
    w.kv("TEXTBOX_BACKGROUND_COLOR", w.color());
    int max = r.range(32, 2000);
    w.kv("TEXTBOX_MAX_NUM_CHARS", max);
    w.kv("TEXTBOX_LEFT_CHAR_POS", 0);
    w.kv("TEXTBOX_RIGHT_CHAR_POS", r.below(max));
    w.kv("TEXTBOX_INSERT_PT_CHAR_POS", 0);
    w.kv("TEXTBOX_HIGHLIGHT_START_CHAR_POS", 0);
    w.kv("TEXTBOX_HIGHLIGHT_END_CHAR_POS", 0);
    static const char* const kAttrs[] = {"TEXTBOX_ACTIVE", "TEXTBOX_ENABLE", "TEXTBOX_DIRTY",
                                         "TEXTBOX_HIGHLIGHT", "TEXTBOX_INSERT_PT_VISIBLE", "TEXTBOX_VISIBLE"};
    for (const char* a : kAttrs) w.kv(("TEXTBOX_ATTR." + std::string(a)).c_str(), w.boolean());
    end_def(w, "TEXTBOX");
}

void line_object(Writer& w, int id) {
    Rng& r = w.rng();
    open_def(w, "LINE", "Lin", id);
    related(w);
    w.bounds();
    w.kv("LINE_COLOR", w.color());
    w.kv("LINE_STYLE", r.chance(80) ? (r.chance(50) ? "DOTTED_LINE" : "NON_DOTTED_LINE") : "STYLE_" + std::to_string(r.below(3)));
    w.kv("LINE_THICK", r.range(1, 3));
    w.kv("LINE_ENDPT_X", r.range(0, 160));
    w.kv("LINE_ENDPT_Y", r.range(0, 160));
    w.kv("LINE_ATTR.LINE_VISIBLE", w.boolean());
    end_def(w, "LINE");
}

// One screen: its objects first, then the form that lists them.
void screen(Writer& w, int& next_id) {
    Rng& r = w.rng();
    w.set_crlf(r.chance(25));
    if (r.chance(5)) w.line("~F" + std::to_string(r.range(1, 99)));
    int form_id = next_id++;
    std::vector<Object> objects;
    auto add = [&](const char* type, void (*make)(Writer&, int), int count) {
        for (int i = 0; i < count; ++i) {
            int id = next_id++ & 0xFFFF;
            make(w, id);
            objects.push_back({id, type});
        }
    };
    add("CONTROL", control, r.range(2, 8));
    add("FIELD", field, r.range(0, 4));
    add("LIST", list, r.range(0, 1));
    add("MENU", menu, r.chance(50) ? 1 : 0);
    add("SCROLLBAR", scrollbar, r.range(0, 1));
    add("TABLE", table, r.chance(30) ? 1 : 0);
    add("SCHLINE", schline, r.chance(20) ? 1 : 0);
    add("STRING", string_object, r.range(1, 4));
    add("BITMAP", bitmap_object, r.chance(25) ? 1 : 0);
    add("TEXTBOX", textbox, r.chance(40) ? 1 : 0);
    add("LINE", line_object, r.range(0, 2));

    open_def(w, "FORM", "Frm", form_id & 0xFFFF);
    w.bounds();
    w.kv("FOCUSED_OBJECT", objects.empty() ? 0 : objects[r.below(static_cast<int>(objects.size()))].id);
    static const char* const kStyles[] = {"BACKGROUND", "NORMAL", "BITMAP_DIALOG", "NON_BITMAP_DIALOG"};
    int style = r.below(4);
    w.kv("FORM_STYLE", kStyles[style]);
    w.kv("FORM_TITLE", w.words(1, 4));
    if ((style == 1 || style == 2) && r.chance(30)) w.picture("FORM_BITMAP.", kLogo);
    w.kv("NO_OF_OBJECTS", static_cast<long>(objects.size()));
    for (size_t i = 0; i < objects.size(); ++i) {
        // Tools number their object lines; the prefix carries no meaning.
        std::string prefix = r.chance(50) ? "(" + std::to_string(i + 1) + ") " : "";
        w.line(prefix + "UIOBJECT.ID=" + std::to_string(objects[i].id));
        w.line(prefix + "UIOBJECT.TYPE=" + objects[i].type);
    }
    end_def(w, "FORM");
}

// --------------------------------------------------------------- BMP files

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// A palette BMP whose pixel at (x, y) has palette index pixel(x, y).
template <typename Pixel>
void write_bmp(const std::string& path, int width, int height, int bpp, Pixel pixel) {
    int colors = 1 << bpp;
    int stride = ((bpp * width + 31) / 32) * 4;
    uint32_t offset = 54 + 4 * colors;
    std::string s;
    s += "BM";
    put32(s, offset + stride * height);
    put32(s, 0);
    put32(s, offset);
    put32(s, 40);
    put32(s, width);
    put32(s, height);
    put16(s, 1);
    put16(s, bpp);
    put32(s, 0);
    put32(s, stride * height);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, colors);
    put32(s, 0);
    for (int i = 0; i < colors; ++i) {
        int grey = 255 - i * 255 / (colors - 1);
        for (int c = 0; c < 3; ++c) s += static_cast<char>(grey);
        s += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {  // bottom row first
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            int bit = x * bpp;
            int v = pixel(x, y) & (colors - 1);
            row[bit / 8] = static_cast<char>(row[bit / 8] | (v << (8 - bpp - bit % 8)));
        }
        s += row;
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(s.data(), 1, s.size(), f) != s.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

void write_pictures(const std::string& dir) {
    write_bmp(dir + "/" + kLogo.file, kLogo.width, kLogo.height, 8, [](int x, int y) { return (x * 3 + y * 5) ^ (x >> 2); });
    write_bmp(dir + "/" + kIcon.file, kIcon.width, kIcon.height, 4, [](int x, int y) { return (x + y) / 4; });
    write_bmp(dir + "/" + kArrowUp.file, kArrowUp.width, kArrowUp.height, 1,
              [](int x, int y) { return (x >= 8 - y && x < 8 + y) ? 1 : 0; });
    write_bmp(dir + "/" + kArrowDown.file, kArrowDown.width, kArrowDown.height, 1,
              [](int x, int y) { return (x >= 1 + y && x < 15 - y) ? 1 : 0; });
    write_bmp(dir + "/" + kCheckOff.file, kCheckOff.width, kCheckOff.height, 2,
              [](int x, int y) { return (x == 0 || y == 0 || x == 11 || y == 11) ? 3 : 0; });
    write_bmp(dir + "/" + kCheckOn.file, kCheckOn.width, kCheckOn.height, 2,
              [](int x, int y) { return (x == 0 || y == 0 || x == 11 || y == 11 || x == y || x == 11 - y) ? 3 : 1; });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <folder> <megabytes> <seed>\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    size_t target = static_cast<size_t>(std::atof(argv[2]) * 1024 * 1024);
    Rng rng(std::strtoull(argv[3], nullptr, 10));

    write_pictures(dir);
    std::string out;
    out.reserve(target + (1 << 20));
    Writer w(rng, out);
    w.line("// Generated benchmark input");
    int next_id = 1000;
    while (out.size() < target) screen(w, next_id);

    std::string path = dir + "/bench.rc";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    return 0;
}
