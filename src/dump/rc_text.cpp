// Decompiling records into resource text.
#include "dump/rc_text.h"

#include <climits>
#include <cstdio>
#include <set>

#include "dump/bmp_out.h"

namespace orrinrc::dump {

using format::Kind;

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
        if (!text_expressible(name, why)) problem(format::kNameStatement, "the name " + why);
        const format::KindInfo& kind = format::kind_info(rec.kind());
        line(format::kNameStatement + name);
        line(kind.open_statement);
        line(format::kIdStatement + std::to_string(rec.id));
        line(std::string(format::statement(FieldId::ObjectType)) + kind.keyword);
        check_kind(rec);
        for (const Field& f : rec.fields) field(rec, f);
        line(kind.end_statement);
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
        switch (rec.kind()) {
        case Kind::Control: check_control(rec); break;
        case Kind::Menu: check_items(rec, FieldId::MenuCount, FieldId::MenuItem, menu_items_); break;
        case Kind::Textbox: {
            const Field* text = rec.find(FieldId::TextboxText);
            if (text && text->text) textbox_text_ = true;
            else if (text && textbox_text_)
                problem("TEXTBOX_TEXT=", "is none, but a text box keeps the text of the previous one, which has one");
            break;
        }
        case Kind::Bitmap: {
            const Field* first = rec.find(FieldId::BitmapPicture1);
            const Field* second = rec.find(FieldId::BitmapPicture2);
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
    void check_items(const Record& rec, FieldId count_id, FieldId item_id, bool& made) {
        const Field* count = rec.find(count_id);
        const bool any = rec.find(item_id) != nullptr;
        if (any) made = true;
        else if (count && count->value > 0 && made)
            problem(format::statement(item_id), strf("holds no item of the %u declared, which only a first definition of its kind can "
                                   "give",
                                   count->value));
    }

    void check_control(const Record& rec) {
        const Field* style = rec.find(FieldId::ControlStyle);
        if (!style) return;
        // Pop-up items belong to their own definition: a count without item
        // lines writes no texts whatever came before.
        if (style->value != format::kCheckbox) return;
        std::vector<const Field*> pictures;
        for (const Field& f : rec.fields)
            if (f.encoding() == Encoding::Bitmap) pictures.push_back(&f);
        const Field* group = rec.find(FieldId::CheckboxGroupId);
        const Field* value = rec.find(FieldId::CheckboxValue);
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
        if (rec.kind() == Kind::Control && !checkbox_block_ && is_checkbox_field(f)) return;
        std::string why;
        const std::string key = f.key();
        switch (f.encoding()) {
        case Encoding::U8:
        case Encoding::U16:
        case Encoding::S16:
            // A list keeps the item table of an earlier list while no item
            // line comes: an item line under a total of 0 makes an empty
            // table first, whose missing entries are written as none.
            if (f.id == FieldId::ListTotal && f.value > 0 && !rec.find(FieldId::ListItem))
                line(key + "0\n" + format::statement(FieldId::ListItem));
            line(key + std::to_string(f.number()));
            break;
        case Encoding::Word: {
            std::string number;
            if (!word_source(f.value, number)) {
                problem(key, strf("is %d, which the word reader cannot store (it stores a negative number plus "
                                    "65536)",
                                    static_cast<int32_t>(f.value)));
                number = "0";
            }
            line(key + number);
            break;
        }
        case Encoding::Boolean:
            if (f.value > 1) problem(key, strf("is %u, an on/off value is 0 or 1", f.value));
            line(key + (f.value ? "1" : "0"));
            break;
        case Encoding::Choice: {
            const format::Vocabulary& words = *f.spec().words;
            if (const char* w = words.word(f.value)) line(key + w);
            else if (words.number_fallback) line(key + std::to_string(f.value));
            else problem(key, strf("is %u, which has no keyword", f.value));
            break;
        }
            break;
        case Encoding::Text:
            if (!f.text) break;  // OBJECT.TYPE= or the entry's own statement left it none
            if (!text_expressible(*f.text, why)) problem(key, "text " + why);
            line(key + *f.text);
            break;
        case Encoding::Bounds:
            line(key + "X=" + std::to_string(f.bounds.x));
            line(key + "Y=" + std::to_string(f.bounds.y));
            line(key + "WIDTH=" + std::to_string(f.bounds.width));
            line(key + "HEIGHT=" + std::to_string(f.bounds.height));
            break;
        case Encoding::Bitmap: bitmap(rec, f); break;
        }
    }

    // Only a check box has these fields.
    static bool is_checkbox_field(const Field& f) {
        return f.id == FieldId::CheckboxGroupId || f.id == FieldId::CheckboxValue ||
               f.id == FieldId::CheckboxBitmap1 || f.id == FieldId::CheckboxBitmap2;
    }

    void bitmap(const Record& rec, const Field& f) {
        const BitmapView& bm = f.bitmap;
        if (!bm.present) {
            // A table keeps its picture across definitions: a picture line
            // without FILE= drops it.
            if (rec.kind() == Kind::Table) line(std::string(f.key()) + "X=0");
            return;
        }
        std::string why;
        if (!bitmap_reproducible(bm, why)) {
            problem(f.key(), why);
            return;
        }
        const std::string picture = f.spec().picture;
        std::string file = base_ + "_" + picture;
        for (int n = 2; !file_names_.insert(file).second; ++n) file = base_ + "_" + picture + "_" + std::to_string(n);
        file += ".bmp";
        const std::string key = f.key();
        line(key + "X=" + std::to_string(bm.x));
        line(key + "Y=" + std::to_string(bm.y));
        line(key + "WIDTH=" + std::to_string(bm.width));
        line(key + "HEIGHT=" + std::to_string(bm.height));
        line(key + "FILE=" + (bm.depth == format::kTwoBit ? format::kTwoBitWord : format::kFourBitWord) + ", " + file);
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

}  // namespace orrinrc::dump
