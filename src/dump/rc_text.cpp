// Decompiling records into resource text.
#include "dump/rc_text.h"

#include <climits>
#include <cstdio>
#include <set>

#include "dump/bmp_out.h"

bool word_source(uint32_t stored, std::string& out) {
    const int32_t v = static_cast<int32_t>(stored);
    if (v >= 0) {
        out = std::to_string(v);
        return true;
    }
    // A negative number n is stored as n + 65536, so v came from v - 65536,
    // which the reader can take only while it does not saturate.
    const long long source = static_cast<long long>(v) - 65536;
    if (source < INT32_MIN) return false;
    out = std::to_string(source);
    return true;
}

bool text_expressible(const std::string& text, std::string& why) {
    for (unsigned char c : text) {
        if (c == '\n') why = "holds a line end";
        else if (c == '\r') why = "holds a carriage return";
        else if (c == 0x1A) why = "holds the byte 0x1A, which ends the resource text";
        else continue;
        return false;
    }
    return true;
}

namespace {

class TextWriter {
public:
    TextWriter(ResourceText& out) : out_(out) {}

    void record(const Record& rec, size_t index, const std::string& name) {
        rec_ = &rec;
        index_ = index;
        base_ = file_base(name);
        std::string why;
        if (!text_expressible(name, why)) problem("NAME=", "the name " + why);
        line("NAME=" + name);
        line(std::string("#") + rec.keyword());
        line("ID=" + std::to_string(rec.id));
        line(std::string("OBJECT.TYPE=") + rec.keyword());
        check_kind(rec);
        for (const Field& f : rec.fields) field(rec, f);
        line(std::string("#END_") + rec.keyword());
        out_.text += "\n";
    }

private:
    void line(const std::string& s) {
        out_.text += s;
        out_.text += '\n';
    }

    void problem(const std::string& key, const std::string& what) {
        out_.problems.push_back(strf("record %zu at 0x%06zx (%s ID=%u), %s %s", index_ + 1, rec_->offset,
                                     rec_->keyword(), rec_->id, key.c_str(), what.c_str()));
    }

    // Carry-over that a definition cannot undo: states of the compiler's
    // records that the definitions written so far leave behind.
    void check_kind(const Record& rec) {
        switch (rec.type) {
        case kControl: check_control(rec); break;
        case kMenu: check_items(rec, "MENU_NUM_ITEMS=", "MENU_ITEM=", menu_items_); break;
        case kTextbox: {
            const Field* text = rec.find("TEXTBOX_TEXT=");
            if (text && text->text) textbox_text_ = true;
            else if (text && textbox_text_)
                problem("TEXTBOX_TEXT=", "is none, but a text box keeps the text of the previous one, which has one");
            break;
        }
        case kBitmap: {
            const Field* first = rec.find("BITMAP1_BITMAP.");
            const Field* second = rec.find("BITMAP2_BITMAP.");
            if (first && second && !first->bitmap.present && second->bitmap.present)
                problem("BITMAP2_BITMAP.", "has data while the first picture has none, which the pictures' order "
                                           "cannot give");
            break;
        }
        default: break;
        }
    }

    // Items of a count that no item line fills: the compiler writes them as
    // none only while no earlier definition of the kind made item storage.
    void check_items(const Record& rec, const char* count_key, const char* item_key, bool& made) {
        const Field* count = rec.find(count_key);
        const bool any = rec.find(item_key) != nullptr;
        if (any) made = true;
        else if (count && count->value > 0 && made)
            problem(item_key, strf("holds no item of the %u declared, which only a first definition of its kind can "
                                   "give",
                                   count->value));
    }

    void check_control(const Record& rec) {
        const Field* style = rec.find("CONTROL_STYLE=");
        if (!style) return;
        // Pop-up items belong to their own definition: a count without item
        // lines writes no texts whatever came before.
        if (style->value != kCheckbox) return;
        std::vector<const Field*> pictures;
        for (const Field& f : rec.fields)
            if (f.type == FieldType::Bitmap) pictures.push_back(&f);
        const Field* group = rec.find("CONTROL_ADD.GROUP_ID=");
        const Field* value = rec.find("CONTROL_VALUE=");
        if (pictures.size() != 2 || !group || !value) return;
        const bool first = pictures[0]->bitmap.present, second = pictures[1]->bitmap.present;
        if (first && second) {
            checkbox_loaded_ = true;
            checkbox_group_ = group->value;
            checkbox_value_ = value->value;
            checkbox_block_ = true;
            return;
        }
        // The check-box block always loads both pictures; without it the
        // control writes what the previous check box left.
        checkbox_block_ = false;
        if (first != second)
            problem("CONTROL_BITMAP.", "is given for one check-box picture only; a check box has both or none");
        else if (checkbox_loaded_)
            problem("CONTROL_BITMAP.", "is none, but a check box keeps the pictures of the previous one, which had "
                                       "them");
        else if (group->value != checkbox_group_ || value->value != checkbox_value_)
            problem("CONTROL_ADD.GROUP_ID=", "and CONTROL_VALUE= of a check box without pictures can only repeat "
                                             "those of the previous check box");
    }

    void field(const Record& rec, const Field& f) {
        // Check-box values and pictures are only written as a whole block.
        if (rec.type == kControl && !checkbox_block_ && is_checkbox_field(rec, f)) return;
        std::string why;
        switch (f.type) {
        case FieldType::Number:
            // A list keeps the item table of an earlier list while no item
            // line comes: an item line under a total of 0 makes an empty
            // table first, whose missing entries are written as none.
            if (f.key == "LIST_TOTAL_NUM_ITEMS=" && f.value > 0 && !rec.find("LIST_ITEM="))
                line("LIST_TOTAL_NUM_ITEMS=0\nLIST_ITEM=");
            line(f.key + std::to_string(f.number()));
            break;
        case FieldType::Word32: {
            std::string number;
            if (!word_source(f.value, number)) {
                problem(f.key, strf("is %d, which the word reader cannot store (it stores a negative number plus "
                                    "65536)",
                                    static_cast<int32_t>(f.value)));
                number = "0";
            }
            line(f.key + number);
            break;
        }
        case FieldType::Boolean:
            if (f.value > 1) problem(f.key, strf("is %u, an on/off value is 0 or 1", f.value));
            line(f.key + (f.value ? "1" : "0"));
            break;
        case FieldType::Choice:
            if (const char* w = f.words->name(f.value)) line(f.key + w);
            else if (f.words->number_fallback) line(f.key + std::to_string(f.value));
            else problem(f.key, strf("is %u, which has no keyword", f.value));
            break;
        case FieldType::Text:
            if (!f.text) break;  // OBJECT.TYPE= or the entry's own statement left it none
            if (!text_expressible(*f.text, why)) problem(f.key, "text " + why);
            line(f.key + *f.text);
            break;
        case FieldType::Bounds:
            line(f.key + "X=" + std::to_string(f.bounds.x));
            line(f.key + "Y=" + std::to_string(f.bounds.y));
            line(f.key + "WIDTH=" + std::to_string(f.bounds.width));
            line(f.key + "HEIGHT=" + std::to_string(f.bounds.height));
            break;
        case FieldType::Bitmap: bitmap(rec, f); break;
        }
    }

    bool is_checkbox_field(const Record& rec, const Field& f) const {
        const Field* style = rec.find("CONTROL_STYLE=");
        return style && style->value == kCheckbox &&
               (f.key == "CONTROL_ADD.GROUP_ID=" || f.key == "CONTROL_VALUE=" || f.type == FieldType::Bitmap);
    }

    void bitmap(const Record& rec, const Field& f) {
        const BitmapView& bm = f.bitmap;
        if (!bm.present) {
            // A table keeps its picture across definitions: a picture line
            // without FILE= drops it.
            if (rec.type == kTable) line(f.key + "X=0");
            return;
        }
        std::string why;
        if (!bitmap_reproducible(bm, why)) {
            problem(f.key, why);
            return;
        }
        std::string file = base_ + "_" + f.picture;
        for (int n = 2; !file_names_.insert(file).second; ++n) file = base_ + "_" + f.picture + "_" + std::to_string(n);
        file += ".bmp";
        line(f.key + "X=" + std::to_string(bm.x));
        line(f.key + "Y=" + std::to_string(bm.y));
        line(f.key + "WIDTH=" + std::to_string(bm.width));
        line(f.key + "HEIGHT=" + std::to_string(bm.height));
        line(f.key + (bm.depth == 2 ? "FILE=Q_TWO_BIT, " : "FILE=Q_FOUR_BIT, ") + file);
        out_.files.emplace_back(file, bmp_for(bm));
    }

    ResourceText& out_;
    const Record* rec_ = nullptr;
    size_t index_ = 0;
    std::string base_;
    std::set<std::string> file_names_;
    bool menu_items_ = false;
    bool textbox_text_ = false;
    bool checkbox_loaded_ = false, checkbox_block_ = true;
    uint32_t checkbox_group_ = 0, checkbox_value_ = 0;
};

}  // namespace

ResourceText write_resource_text(const std::vector<Record>& records, const std::vector<DefineLine>* names) {
    ResourceText out;
    out.text = "// Decompiled resource text: every definition sets all of its values.\n\n";
    TextWriter writer(out);
    std::set<std::string> used;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& rec = records[i];
        std::string name;
        if (names) {
            if (i < names->size()) {
                name = (*names)[i].name;
                if ((*names)[i].id != rec.id)
                    out.problems.push_back(strf("record %zu at 0x%06zx (%s ID=%u): resource.h line %zu defines %s "
                                                "as %u",
                                                i + 1, rec.offset, rec.keyword(), rec.id, i + 1, name.c_str(),
                                                (*names)[i].id));
            } else {
                out.problems.push_back(strf("record %zu at 0x%06zx (%s ID=%u) has no line in resource.h", i + 1,
                                            rec.offset, rec.keyword(), rec.id));
            }
        } else {
            name = strf("%s_%u", rec.keyword(), rec.id);
            for (int n = 2; used.count(name); ++n) name = strf("%s_%u_%d", rec.keyword(), rec.id, n);
            used.insert(name);
        }
        writer.record(rec, i, name);
    }
    if (names && names->size() > records.size())
        out.problems.push_back(strf("resource.h has %zu lines for %zu records", names->size(), records.size()));
    return out;
}
