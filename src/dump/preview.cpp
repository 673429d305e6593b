// Drawing a form and the objects it lists.
#include "dump/preview.h"

#include <algorithm>

namespace orrinrc::dump {

namespace {

using format::FieldId;
using format::Kind;

uint32_t value(const Record& r, FieldId id) {
    const Field* f = r.find(id);
    return f ? f->value : 0;
}

long number(const Record& r, FieldId id) {
    const Field* f = r.find(id);
    return f ? f->number() : 0;
}

std::string text(const Record& r, FieldId id) {
    const Field* f = r.find(id);
    return f && f->text ? *f->text : std::string();
}

// Every text of a list field, in order (none counts as an empty text).
std::vector<std::string> texts(const Record& r, FieldId id) {
    std::vector<std::string> out;
    for (const Field& f : r.fields)
        if (f.id == id) out.push_back(f.text.value_or(""));
    return out;
}

const BitmapView* bitmap(const Record& r, FieldId id) {
    const Field* f = r.find(id);
    return f && f->bitmap().present ? &f->bitmap() : nullptr;
}

StoredBounds bounds(const Record& r) {
    const Field* f = r.find(FieldId::Bounds);
    return f ? f->bounds : StoredBounds{};
}

// Ink that shows on a background grey.
uint8_t ink_on(uint8_t background) { return background < 128 ? 255 : 0; }

// Text placed in a box by an alignment code, vertically centred.
void aligned_text(Canvas& c, const StoredBounds& b, const std::string& s, TextSize size, uint32_t alignment,
                  uint8_t grey) {
    const int w = Canvas::text_width(s, size), h = Canvas::text_height(size);
    int x = b.x + 2;
    if (alignment == format::kCentre) x = b.x + (b.width - w) / 2;
    if (alignment == format::kRight) x = b.x + b.width - w - 2;
    c.text(x, b.y + (b.height - h) / 2 + 1, s, size, grey);
}

// Words of a text laid into lines no wider than `width`.
std::vector<std::string> wrap(const std::string& s, int width, TextSize size) {
    std::vector<std::string> lines;
    std::string line, word;
    auto flush_word = [&]() {
        if (word.empty()) return;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && Canvas::text_width(joined, size) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = joined;
        }
        word.clear();
    };
    for (char ch : s) {
        if (ch == ' ') flush_word();
        else word += ch;
    }
    flush_word();
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void draw_control(Canvas& c, const Record& r, const StoredBounds& b) {
    const uint32_t style = value(r, FieldId::ControlStyle);
    const std::string label = text(r, FieldId::ControlText);
    const uint32_t align = value(r, FieldId::ControlAlignment);
    switch (style) {
    case format::kButton:
    case format::kPushButton: {
        const bool push = style == format::kPushButton;
        const bool on = push && value(r, FieldId::PushValue) != 0;
        const uint8_t fill =
            colour_grey(value(r, push ? (on ? FieldId::PushColorOn : FieldId::PushColorOff) : FieldId::ButtonColorOff));
        const int radius = static_cast<int>(value(r, push ? FieldId::PushRadius : FieldId::ButtonRadius));
        c.fill(b.x + 1, b.y + 1, b.width - 2, b.height - 2, fill);
        c.frame(b.x, b.y, b.width, b.height, 0, radius);
        aligned_text(c, b, label, TextSize::Normal, align, ink_on(fill));
        break;
    }
    case format::kRepeatButton:
        if (const BitmapView* bm = bitmap(r, FieldId::RepeatBitmap)) c.picture(b.x + bm->x, b.y + bm->y, *bm);
        else c.frame(b.x, b.y, b.width, b.height, 0);
        break;
    case format::kCheckbox: {
        const bool checked = value(r, FieldId::CheckboxValue) != 0;
        const BitmapView* bm = bitmap(r, checked ? FieldId::CheckboxBitmap2 : FieldId::CheckboxBitmap1);
        int right = b.x;
        if (bm) {
            c.picture(b.x + bm->x, b.y + bm->y, *bm);
            right = b.x + bm->x + bm->width + 2;
        } else {
            const int side = std::min<int>(b.height, 9);
            c.frame(b.x, b.y + (b.height - side) / 2, side, side, 0);
            if (checked) c.fill(b.x + 2, b.y + (b.height - side) / 2 + 2, side - 4, side - 4, 0);
            right = b.x + side + 2;
        }
        c.text(right, b.y + (b.height - Canvas::text_height(TextSize::Normal)) / 2 + 1, label, TextSize::Normal, 0);
        break;
    }
    default: {  // pop-up trigger: the selected item (or the text) and a marker
        const std::vector<std::string> items = texts(r, FieldId::PopupItem);
        const long selected = number(r, FieldId::PopupSelected);
        const std::string shown =
            selected >= 0 && static_cast<size_t>(selected) < items.size() ? items[static_cast<size_t>(selected)] : label;
        c.frame(b.x, b.y, b.width, b.height, 0, static_cast<int>(value(r, FieldId::PopupRadius)));
        c.text(b.x + 2, b.y + (b.height - Canvas::text_height(TextSize::Normal)) / 2 + 1, shown, TextSize::Normal, 0);
        const int mx = b.x + b.width - 8, my = b.y + b.height / 2 - 2;
        for (int i = 0; i < 3; ++i) c.line(mx + i, my + i, mx + 6 - i, my + i, 0);
        break;
    }
    }
}

void draw_text_box(Canvas& c, const Record& r, const StoredBounds& b, FieldId text_id, FieldId font_id,
                   FieldId colour_id, FieldId background_id, FieldId back_line_id, bool wrap_lines) {
    const uint8_t background = colour_grey(value(r, background_id));
    const uint8_t ink = colour_grey(value(r, colour_id));
    const TextSize size = text_size(value(r, font_id));
    c.fill(b.x, b.y, b.width, b.height, background);
    const int line_height = Canvas::text_height(size) + 1;
    const std::vector<std::string> lines =
        wrap_lines ? wrap(text(r, text_id), b.width - 2, size) : std::vector<std::string>{text(r, text_id)};
    const uint32_t back_line = value(r, back_line_id);
    for (int y = b.y + line_height; back_line != format::kNoLine && y <= b.y + b.height; y += line_height)
        c.line(b.x, y - 1, b.x + b.width - 1, y - 1, back_line == format::kGreyLine ? 170 : 0, 1,
               back_line == format::kDottedBackLine);
    int y = b.y + 1;
    for (const std::string& l : lines) {
        if (y + line_height > b.y + b.height + line_height / 2) break;
        c.text(b.x + 1, y, l, size, ink);
        y += line_height;
    }
}

void draw_items(Canvas& c, const StoredBounds& b, const std::vector<std::string>& items, size_t first, size_t shown,
                long selected, uint8_t ink, uint8_t background) {
    c.fill(b.x, b.y, b.width, b.height, background);
    c.frame(b.x, b.y, b.width, b.height, ink);
    const int h = Canvas::text_height(TextSize::Normal) + 1;
    for (size_t i = first, row = 0; i < items.size() && row < shown; ++i, ++row) {
        const int y = b.y + 1 + static_cast<int>(row) * h;
        if (y + h > b.y + b.height) break;
        const bool highlighted = static_cast<long>(i) == selected;
        if (highlighted) c.fill(b.x + 1, y, b.width - 2, h, ink);
        c.text(b.x + 3, y + 1, items[i], TextSize::Normal, highlighted ? background : ink);
    }
}

void draw_scrollbar(Canvas& c, const Record& r, const StoredBounds& b) {
    const bool horizontal = value(r, FieldId::ScrollbarStyle) == format::kHorizontal;
    c.frame(b.x, b.y, b.width, b.height, 0);
    const BitmapView* a1 = bitmap(r, FieldId::ScrollbarArrow1);
    const BitmapView* a2 = bitmap(r, FieldId::ScrollbarArrow2);
    const int end = horizontal ? b.height : b.width;  // room an arrow takes
    if (a1) c.picture(b.x, b.y, *a1);
    if (a2) c.picture(horizontal ? b.x + b.width - a2->width : b.x, horizontal ? b.y : b.y + b.height - a2->height, *a2);
    const long minimum = static_cast<int32_t>(value(r, FieldId::ScrollbarMin));
    const long maximum = static_cast<int32_t>(value(r, FieldId::ScrollbarMax));
    const long current = static_cast<int32_t>(value(r, FieldId::ScrollbarValue));
    const int track = (horizontal ? b.width : b.height) - 2 * end;
    const int thumb = std::max(4, track / 5);
    const double t = maximum > minimum ? std::clamp(double(current - minimum) / double(maximum - minimum), 0.0, 1.0) : 0;
    const int at = end + static_cast<int>(t * std::max(0, track - thumb));
    if (horizontal) c.fill(b.x + at, b.y + 2, thumb, b.height - 4, 85);
    else c.fill(b.x + 2, b.y + at, b.width - 4, thumb, 85);
}

void draw_table(Canvas& c, const Record& r, const StoredBounds& b) {
    c.fill(b.x, b.y, b.width, b.height, colour_grey(value(r, FieldId::TableBackgroundColor)));
    std::vector<long> widths, heights;
    for (const Field& f : r.fields) {
        if (f.id == FieldId::TableColumnWidth) widths.push_back(f.number());
        if (f.id == FieldId::TableRowHeight) heights.push_back(f.number());
    }
    // The cells, each a run of fields from its data type to its text.
    struct Cell {
        uint32_t type = 0, font = 0, colour = 0, background = 0, alignment = 0, has_bitmap = 0;
        int32_t value = 0;
        std::string text;
    };
    std::vector<Cell> cells;
    for (const Field& f : r.fields) {
        if (f.id == FieldId::CellDataType) {
            cells.emplace_back();
            cells.back().type = f.value;
        }
        if (cells.empty()) continue;
        Cell& cell = cells.back();
        switch (f.id) {
        case FieldId::CellFont: cell.font = f.value; break;
        case FieldId::CellFontColor: cell.colour = f.value; break;
        case FieldId::CellBackgroundColor: cell.background = f.value; break;
        case FieldId::CellAlignment: cell.alignment = f.value; break;
        case FieldId::CellHasBitmap: cell.has_bitmap = f.value; break;
        case FieldId::CellValue: cell.value = static_cast<int32_t>(f.value); break;
        case FieldId::CellText: cell.text = f.text.value_or(""); break;
        default: break;
        }
    }
    const BitmapView* picture = bitmap(r, FieldId::TableBitmap);
    int y = b.y;
    for (size_t row = 0; row < heights.size(); ++row) {
        int x = b.x;
        for (size_t col = 0; col < widths.size(); ++col) {
            const StoredBounds cell_box{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(widths[col]),
                                        static_cast<int16_t>(heights[row])};
            const size_t index = row * widths.size() + col;
            if (index < cells.size()) {
                const Cell& cell = cells[index];
                c.fill(x, y, cell_box.width, cell_box.height, colour_grey(cell.background));
                if (cell.has_bitmap && picture) c.picture(x + picture->x, y + picture->y, *picture);
                const std::string shown = cell.type == format::kTableValue ? std::to_string(cell.value)
                                          : cell.type == format::kTableText ? cell.text
                                                                              : std::string();
                aligned_text(c, cell_box, shown, text_size(cell.font), cell.alignment, colour_grey(cell.colour));
            }
            c.frame(x, y, cell_box.width + 1, cell_box.height + 1, 0);
            x += static_cast<int>(widths[col]);
        }
        y += static_cast<int>(heights[row]);
    }
}

void draw_object(Canvas& c, const Record& r, const StoredBounds& b) {
    switch (r.kind()) {
    case Kind::Control: draw_control(c, r, b); break;
    case Kind::Field:
        draw_text_box(c, r, b, FieldId::FieldText, FieldId::FieldFont, FieldId::FieldFontColor,
                      FieldId::FieldBackgroundColor, FieldId::FieldBackLine, false);
        break;
    case Kind::Textbox:
        draw_text_box(c, r, b, FieldId::TextboxText, FieldId::TextboxFont, FieldId::TextboxFontColor,
                      FieldId::TextboxBackgroundColor, FieldId::TextboxBackLine, true);
        break;
    case Kind::List:
        draw_items(c, b, texts(r, FieldId::ListItem), value(r, FieldId::ListTopItem), value(r, FieldId::ListOnDisplay),
                   number(r, FieldId::ListSelected), colour_grey(value(r, FieldId::ListTextColor)),
                   colour_grey(value(r, FieldId::ListBackgroundColor)));
        break;
    case Kind::Menu: {
        const std::vector<std::string> items = texts(r, FieldId::MenuItem);
        draw_items(c, b, items, 0, items.size(), number(r, FieldId::MenuSelected), 0, 255);
        break;
    }
    case Kind::Scrollbar: draw_scrollbar(c, r, b); break;
    case Kind::Table: draw_table(c, r, b); break;
    case Kind::Schline:
        c.line(b.x, b.y + b.height / 2, b.x + b.width - 1, b.y + b.height / 2, 0);
        break;
    case Kind::String: {
        const uint8_t background = colour_grey(value(r, FieldId::StringBackgroundColor));
        c.fill(b.x, b.y, b.width, b.height, background);
        aligned_text(c, b, text(r, FieldId::StringText), text_size(value(r, FieldId::StringFont)),
                     value(r, FieldId::StringAlignment), colour_grey(value(r, FieldId::StringFontColor)));
        break;
    }
    case Kind::Bitmap:
        if (const BitmapView* bm = bitmap(r, FieldId::BitmapPicture1)) c.picture(b.x + bm->x, b.y + bm->y, *bm);
        break;
    case Kind::Line:
        c.line(b.x, b.y, static_cast<int>(value(r, FieldId::LineEndX)), static_cast<int>(value(r, FieldId::LineEndY)),
               colour_grey(value(r, FieldId::LineColor)), static_cast<int>(value(r, FieldId::LineThick)),
               value(r, FieldId::LineStyle) == format::kDottedLine);
        break;
    case Kind::Form: break;
    }
}

// The visible attribute of an object, where its kind has one.
bool visible(const Record& r) {
    switch (r.kind()) {
    case Kind::Control: return value(r, FieldId::ControlVisible) != 0;
    case Kind::Field: return value(r, FieldId::FieldVisible) != 0;
    case Kind::List: return value(r, FieldId::ListVisible) != 0;
    case Kind::Menu: return value(r, FieldId::MenuVisible) != 0;
    case Kind::Scrollbar: return value(r, FieldId::ScrollbarVisible) != 0;
    case Kind::Table: return value(r, FieldId::TableVisible) != 0;
    case Kind::Schline: return value(r, FieldId::SchlineVisible) != 0;
    case Kind::String: return value(r, FieldId::StringVisible) != 0;
    case Kind::Bitmap: return value(r, FieldId::BitmapVisible) != 0;
    case Kind::Textbox: return value(r, FieldId::TextboxVisible) != 0;
    case Kind::Line: return value(r, FieldId::LineVisible) != 0;
    case Kind::Form: return true;
    }
    return true;
}

std::vector<FormObject> listed_objects(const Record& form, const std::vector<Record>& records) {
    // The object list: identifiers and types in pairs.
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    for (const Field& f : form.fields) {
        if (f.id == FieldId::FormObjectId) pairs.emplace_back(f.value, 0);
        if (f.id == FieldId::FormObjectType && !pairs.empty()) pairs.back().second = f.value;
    }
    std::vector<FormObject> out;
    for (const auto& [id, type] : pairs) {
        FormObject o{id, nullptr, {}};
        for (const Record& r : records)
            if (r.id == id && r.type == type && r.kind() != Kind::Form) o.record = &r;
        if (o.record != nullptr) o.b = bounds(*o.record);
        out.push_back(o);
    }
    return out;
}

bool inside(const StoredBounds& b, const StoredBounds& form) {
    return b.x >= 0 && b.y >= 0 && long{b.x} + b.width <= form.width && long{b.y} + b.height <= form.height;
}

bool overlap(const StoredBounds& a, const StoredBounds& b) {
    if (a.width <= 0 || a.height <= 0 || b.width <= 0 || b.height <= 0) return false;
    return long{a.x} < long{b.x} + b.width && long{b.x} < long{a.x} + a.width && long{a.y} < long{b.y} + b.height &&
           long{b.y} < long{a.y} + a.height;
}

// What the legend under the form reports: objects that reach outside the
// form, visible objects that overlap a visible sibling (a line's bounds are
// no area, and hidden objects often share a place on purpose), and
// identifiers that the file does not define.
struct Findings {
    std::vector<uint32_t> outside, overlapping, missing;
    bool empty() const { return outside.empty() && overlapping.empty() && missing.empty(); }
};

Findings find_layout_mistakes(const std::vector<FormObject>& objects, const StoredBounds& form) {
    Findings f;
    auto add = [](std::vector<uint32_t>& to, uint32_t id) {
        if (std::find(to.begin(), to.end(), id) == to.end()) to.push_back(id);
    };
    auto overlaps_checked = [](const FormObject& o) {
        return o.record != nullptr && o.record->kind() != Kind::Line && visible(*o.record);
    };
    for (size_t i = 0; i < objects.size(); ++i) {
        const FormObject& o = objects[i];
        if (o.record == nullptr) {
            add(f.missing, o.id);
            continue;
        }
        if (!inside(o.b, form)) add(f.outside, o.id);
        if (!overlaps_checked(o)) continue;
        for (size_t j = 0; j < objects.size(); ++j)
            if (j != i && objects[j].id != o.id && overlaps_checked(objects[j]) && overlap(o.b, objects[j].b)) {
                add(f.overlapping, o.id);
                break;
            }
    }
    return f;
}

std::string id_list(const std::string& title, const std::vector<uint32_t>& ids) {
    std::string s = title;
    for (uint32_t id : ids) {
        s += ' ';
        s += std::to_string(id);
    }
    return s;
}

constexpr uint8_t kLegendBackground = 224;  // no device grey: not part of the screen
constexpr int kLegendMinWidth = 120;

// The legend's lines of accent text, wrapped to `width`.
std::vector<std::string> legend_lines(const Findings& f, int width) {
    std::vector<std::string> lines;
    auto add = [&](const std::string& title, const std::vector<uint32_t>& ids) {
        if (ids.empty()) return;
        for (const std::string& l : wrap(id_list(title, ids), width, TextSize::Small)) lines.push_back(l);
    };
    add("outside the form:", f.outside);
    add("overlapping:", f.overlapping);
    return lines;
}

// A box for an identifier the form lists and the file does not define:
// hatched at its left, the identifier in black on white.
int missing_box_width(uint32_t id) { return 6 + Canvas::text_width(std::to_string(id), TextSize::Normal) + 2; }
int missing_box_height() { return Canvas::text_height(TextSize::Normal) + 3; }

void missing_box(Canvas& c, int x, int y, uint32_t id) {
    const int w = missing_box_width(id), h = missing_box_height();
    c.fill(x, y, w, h, 255);
    c.hatch(x, y, 6, h, 0);
    c.frame(x, y, w, h, 0);
    c.text(x + 7, y + 2, std::to_string(id), TextSize::Normal, 0);
}

// The form's picture with the legend under it.
Canvas with_legend(const Canvas& form, const Findings& f) {
    const int width = std::max(form.width(), kLegendMinWidth);
    const std::vector<std::string> lines = legend_lines(f, width - 4);
    const int line_height = Canvas::text_height(TextSize::Small);
    const int box_height = missing_box_height();
    // The boxes of the missing identifiers, in rows after their title.
    std::vector<std::pair<int, int>> boxes;  // x and row of each
    const int first = 2 + Canvas::text_width("not found:", TextSize::Small) + 3;
    int x = first, row = 0;
    for (uint32_t id : f.missing) {
        const int w = missing_box_width(id);
        if (x + w > width - 2 && x > first) {
            x = 2;
            ++row;
        }
        boxes.emplace_back(x, row);
        x += w + 3;
    }
    const int text_height = static_cast<int>(lines.size()) * line_height;
    const int legend = 3 + text_height + (f.missing.empty() ? 0 : (row + 1) * (box_height + 2)) + 1;
    Canvas c(width, form.height() + legend, kLegendBackground);
    c.paste(form, 0, 0);
    c.line(0, form.height(), width - 1, form.height(), 0);
    if (width > form.width()) c.line(form.width(), 0, form.width(), form.height(), 0);
    int y = form.height() + 3;
    c.accent_pen(true);
    for (const std::string& l : lines) {
        c.text(2, y, l, TextSize::Small, 0);
        y += line_height;
    }
    c.accent_pen(false);
    if (!f.missing.empty()) {
        c.text(2, y + (box_height - line_height) / 2 + 1, "not found:", TextSize::Small, 0);
        for (size_t i = 0; i < f.missing.size(); ++i)
            missing_box(c, boxes[i].first, y + boxes[i].second * (box_height + 2), f.missing[i]);
    }
    return c;
}

}  // namespace

std::vector<FormObject> form_objects(const Record& form, const std::vector<Record>& records) {
    return listed_objects(form, records);
}

Canvas render_form(const Record& form, const std::vector<Record>& records) {
    const StoredBounds fb = bounds(form);
    Canvas c(fb.width, fb.height);
    if (const BitmapView* bm = bitmap(form, FieldId::FormBitmap)) c.picture(bm->x, bm->y, *bm);
    const std::string title = text(form, FieldId::FormTitle);
    if (!title.empty()) {
        c.text(2, 1, title, TextSize::Normal, 0);
        c.line(0, Canvas::text_height(TextSize::Normal) + 1, fb.width - 1, Canvas::text_height(TextSize::Normal) + 1, 0);
    }
    const std::vector<FormObject> objects = listed_objects(form, records);
    for (const FormObject& o : objects) {
        if (o.record == nullptr) continue;  // in the legend
        // An object draws inside its bounds; a line goes to its end point.
        if (o.record->kind() != Kind::Line) c.clip(o.b.x, o.b.y, o.b.width, o.b.height);
        if (!visible(*o.record)) c.frame(o.b.x, o.b.y, o.b.width, o.b.height, 85, 0, true);
        else draw_object(c, *o.record, o.b);
        c.unclip();
    }
    const Findings findings = find_layout_mistakes(objects, fb);
    if (findings.empty()) return c;
    // The marked objects framed in the accent colour, over everything.
    c.accent_pen(true);
    for (const FormObject& o : objects) {
        const bool marked = std::find(findings.outside.begin(), findings.outside.end(), o.id) != findings.outside.end() ||
                            std::find(findings.overlapping.begin(), findings.overlapping.end(), o.id) !=
                                findings.overlapping.end();
        if (marked) c.frame(o.b.x, o.b.y, std::max<int>(o.b.width, 1), std::max<int>(o.b.height, 1), 0);
    }
    c.accent_pen(false);
    return with_legend(c, findings);
}

}  // namespace orrinrc::dump
