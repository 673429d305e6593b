// Decompiling records into resource text.
#include "dump/rc_text.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "dump/bmp_out.h"
#include "format/language.h"

namespace orrinrc::dump {

using format::group_line;
using format::Kind;
using format::Role;

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

class ResourceTextWriter::Impl {
public:
    explicit Impl(TextSink& sink) : sink_(sink) {}

    void record(const Record& rec, size_t index, const std::string& name) {
        rec_ = &rec;
        index_ = index;
        base_ = file_base(name);
        out_.clear();
        std::string why;
        if (!text_expressible(name, why)) problem(format::kNameStatement, "the name " + why);
        const format::KindInfo& kind = format::kind_info(rec.kind());
        if (rec.type_missing()) {
            const std::string what = strf("record %zu at 0x%06zx (%s ID=%u) was stored with object type code %u: "
                                          "its definition had no OBJECT.TYPE= line, and an earlier compiler wrote "
                                          "that as the code %u of a %s. This text gives it the line, so the record "
                                          "compiles with the code %u of a %s",
                                          index + 1, rec.offset, rec.keyword(), rec.id, rec.type, rec.type,
                                          format::kind_keyword(static_cast<format::Kind>(rec.type)),
                                          format::type_code(rec.kind()), rec.keyword());
            out_ += "// " + what + ".\n";
            sink_.note(what);
        }
        line(format::kNameStatement + name);
        line(kind.open_statement);
        line(format::kIdStatement + std::to_string(rec.id));
        object_type(rec);
        check_kind(rec);
        for (const Field& f : rec.fields) field(rec, f);
        line(kind.end_statement);
        out_ += "\n";
        sink_.text(out_);
    }

    void problem_line(const std::string& what) { sink_.problem(what); }
    NameSet& kind_names() { return kind_names_; }

private:
    void line(const std::string& s) {
        out_ += s;
        out_ += '\n';
    }

    void problem(const std::string& key, const std::string& what) {
        sink_.problem(strf("record %zu at 0x%06zx (%s ID=%u), %s %s", index_ + 1, rec_->offset, rec_->keyword(),
                           rec_->id, key.c_str(), what.c_str()));
    }

    // The OBJECT.TYPE= line. In a BITMAP definition it also sets the bitmap
    // counter to -4: the first four BOUNDS lines count it up to 0, picture
    // lines then select the first picture until its FILE= line, the second
    // after it.
    void object_type(const Record& rec) {
        line(std::string(format::statement(FieldId::ObjectType)) + rec.keyword());
        if (rec.kind() == Kind::Bitmap) counter_ = -4;
    }

    // Carry-over that a definition cannot undo: states of the compiler's
    // records that the definitions written so far leave behind.
    void check_kind(const Record& rec) {
        switch (rec.kind()) {
        case Kind::Menu: check_items(rec, FieldId::MenuCount, FieldId::MenuItem, menu_items_); break;
        case Kind::Textbox: {
            const Field* text = rec.find(FieldId::TextboxText);
            if (text && text->text) textbox_text_ = true;
            else if (text && textbox_text_)
                problem(format::statement(FieldId::TextboxText), "is none, but a text box keeps the text of the previous one, which has one");
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
            problem(format::statement(item_id),
                    strf("holds no item of the %u declared, which only a first definition of its kind can give",
                         count->value));
    }

    // The check-box block. Its pictures and values stay in the compiler from
    // one check box to the next; GROUP_ID= (which opens a full block) clears
    // both pictures and sets the bitmap counter to 1, and the block only
    // closes once the counter is 3, so a block with GROUP_ID= loads both
    // pictures. A check box without the first picture therefore keeps the
    // previous group and opens its block with CONTROL_VALUE=, at a counter
    // raised to 2 (then its FILE= line loads the second picture) or to 3
    // (the block closes at once) by loading the control's own picture, which
    // a check box does not store.
    void checkbox(const Record& rec) {
        const Field* group = rec.find(FieldId::CheckboxGroupId);
        const Field* value = rec.find(FieldId::CheckboxValue);
        const Field* first = rec.find(FieldId::CheckboxBitmap1);
        const Field* second = rec.find(FieldId::CheckboxBitmap2);
        if (!group || !value || !first || !second) return;
        const bool p1 = first->bitmap().present, p2 = second->bitmap().present;
        const char* group_key = format::statement(FieldId::CheckboxGroupId);
        const char* picture_key = first->key();
        if (value->value > 1) problem(value->key(), strf("is %u, an on/off value is 0 or 1", value->value));
        const std::string value_line = std::string(value->key()) + (value->value ? "1" : "0");
        if (p1 && p2) {
            line(group_key + std::to_string(group->value));
            counter_ = 1;
            line(value_line);
            bitmap(rec, *first);
            bitmap(rec, *second);
            checkbox_ = {group->value, value->value, true, true};
            return;
        }
        if (p1) {
            problem(picture_key, "holds the first check-box picture only; the second is loaded whenever the first is");
            return;
        }
        if (checkbox_.first || (!p2 && checkbox_.second)) {
            problem(picture_key, p2 ? "holds the second check-box picture only, but the previous check box left a "
                                      "first one, which only GROUP_ID= clears, and after it both pictures load"
                                    : "is none, but a check box keeps the pictures of the previous one, which had "
                                      "them");
            return;
        }
        if (group->value != checkbox_.group) {
            problem(group_key, strf("is %u in a check box without a first picture, which keeps the group of the "
                                    "previous check box (%u): a GROUP_ID= line makes both pictures load",
                                    group->value, checkbox_.group));
            return;
        }
        if (!p2 && value->value == checkbox_.value) return;  // the block would change nothing
        const int target = p2 ? 2 : 3;
        if (counter_ > target) {
            problem(picture_key, strf("of a check box without a first picture needs the bitmap counter at most at "
                                      "%d, but the pictures loaded since the last BITMAP definition or check-box "
                                      "group leave it at %d",
                                      target, counter_));
            return;
        }
        if (counter_ < target && !step_written_) {
            step_written_ = true;
            file_names_.insert(kStepFile);
            sink_.file(kStepFile, BitmapView{});
        }
        const std::string own = format::statement(FieldId::RepeatBitmap);
        if (counter_ < target) {
            line(own + group_line(Role::Width) + "1");
            line(own + group_line(Role::Height) + "1");
        }
        for (; counter_ < target; ++counter_) line(own + group_line(Role::File) + format::kTwoBitWord + ", " + kStepFile);
        line(format::kControlAddStatement + value_line);
        if (p2) bitmap(rec, *second);
        checkbox_ = {group->value, value->value, false, p2};
    }

    void field(const Record& rec, const Field& f) {
        switch (f.id) {
        case FieldId::CheckboxGroupId: checkbox(rec); return;
        case FieldId::CheckboxValue:
        case FieldId::CheckboxBitmap1:
        case FieldId::CheckboxBitmap2: return;  // written with the group
        default: break;
        }
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
            const format::Vocabulary& words = *f.info().words;
            if (const char* w = words.word(f.value)) line(key + w);
            else if (words.number_fallback) line(key + std::to_string(f.value));
            else problem(key, strf("is %u, which has no keyword", f.value));
            break;
        }
        case Encoding::Text:
            if (!f.text) break;  // OBJECT.TYPE= or the entry's own statement left it none
            if (!text_expressible(*f.text, why)) problem(key, "text " + why);
            line(key + *f.text);
            break;
        case Encoding::Bounds:
            line(key + group_line(Role::X) + std::to_string(f.bounds.x));
            line(key + group_line(Role::Y) + std::to_string(f.bounds.y));
            line(key + group_line(Role::Width) + std::to_string(f.bounds.width));
            line(key + group_line(Role::Height) + std::to_string(f.bounds.height));
            // The first four BOUNDS lines of a BITMAP count its counter up.
            if (rec.kind() == Kind::Bitmap) counter_ = std::min(counter_ + 4, 0);
            break;
        case Encoding::Bitmap:
            // Without a first picture, picture lines after the bounds would
            // select it: OBJECT.TYPE= again sets the counter back to -4 (and
            // clears the pictures, which this record does not hold), so that
            // they select the second picture. It also leaves the counter as
            // low as it can be for the check boxes that follow.
            if (f.id == FieldId::BitmapPicture1 && !f.bitmap().present) object_type(rec);
            bitmap(rec, f);
            break;
        }
    }

    void bitmap(const Record& rec, const Field& f) {
        const BitmapView& bm = f.bitmap();
        if (!bm.present) {
            // A table keeps its picture across definitions: a picture line
            // without FILE= drops it.
            if (rec.kind() == Kind::Table) line(std::string(f.key()) + group_line(Role::X) + "0");
            return;
        }
        std::string why;
        if (!bitmap_reproducible(bm, why)) {
            problem(f.key(), why);
            return;
        }
        const std::string picture = f.info().picture;
        std::string file = base_ + "_" + picture;
        for (int n = 2; !file_names_.insert(file + ".bmp"); ++n) file = base_ + "_" + picture + "_" + std::to_string(n);
        file += ".bmp";
        const std::string key = f.key();
        line(key + group_line(Role::X) + std::to_string(bm.x));
        line(key + group_line(Role::Y) + std::to_string(bm.y));
        line(key + group_line(Role::Width) + std::to_string(bm.width));
        line(key + group_line(Role::Height) + std::to_string(bm.height));
        line(key + group_line(Role::File) + format::kDepthWords.word(bm.depth) + ", " + file);
        ++counter_;
        sink_.file(file, bm);
    }

    // The picture that raises the bitmap counter for a check box.
    static constexpr const char* kStepFile = "counter_step.bmp";

    struct CheckboxState {
        uint32_t group = 0, value = 0;
        bool first = false, second = false;  // whether each picture holds data
    };

    TextSink& sink_;
    std::string out_;  // the definition being written
    const Record* rec_ = nullptr;
    size_t index_ = 0;
    std::string base_;
    NameSet file_names_;
    NameSet kind_names_;
    bool step_written_ = false;
    bool menu_items_ = false;
    bool textbox_text_ = false;
    CheckboxState checkbox_;
    // The compiler's bitmap counter after the lines written so far: every
    // FILE= line adds 1; OBJECT.TYPE=BITMAP sets -4, the BOUNDS lines of a
    // BITMAP count up to 0, GROUP_ID= of a check box sets 1.
    int counter_ = 0;
};

ResourceTextWriter::ResourceTextWriter(TextSink& sink) : impl_(new Impl(sink)) {
    sink.text("// Decompiled resource text: every definition sets all of its values.\n\n");
}

ResourceTextWriter::~ResourceTextWriter() { delete impl_; }

void ResourceTextWriter::record(const Record& rec, size_t index, bool named, const DefineLine* line) {
    std::string name;
    if (named) {
        if (line) {
            name = line->name;
            if (line->id != rec.id)
                impl_->problem_line(strf("record %zu at 0x%06zx (%s ID=%u): resource.h line %zu defines %s as %u",
                                         index + 1, rec.offset, rec.keyword(), rec.id, index + 1, name.c_str(),
                                         line->id));
        } else {
            impl_->problem_line(strf("record %zu at 0x%06zx (%s ID=%u) has no line in resource.h", index + 1,
                                     rec.offset, rec.keyword(), rec.id));
        }
    } else {
        name = strf("%s_%u", rec.keyword(), rec.id);
        for (int n = 2; !impl_->kind_names().insert(name); ++n) name = strf("%s_%u_%d", rec.keyword(), rec.id, n);
    }
    impl_->record(rec, index, name);
}

void ResourceTextWriter::finish(size_t records, bool named, size_t lines) {
    if (named && lines > records)
        impl_->problem_line(strf("resource.h has %zu lines for %zu records", lines, records));
}

namespace {

// Collects everything in memory.
class MemorySink : public TextSink {
public:
    explicit MemorySink(ResourceText& out) : out_(out) {}
    void text(const std::string& piece) override { out_.text += piece; }
    void file(const std::string& name, const BitmapView& bm) override { out_.files.emplace_back(name, bmp_for(bm)); }
    void problem(const std::string& what) override { out_.problems.push_back(what); }
    void note(const std::string& what) override { out_.notes.push_back(what); }

private:
    ResourceText& out_;
};

}  // namespace

ResourceText write_resource_text(const std::vector<Record>& records, const std::vector<DefineLine>* names) {
    ResourceText out;
    MemorySink sink(out);
    ResourceTextWriter writer(sink);
    for (size_t i = 0; i < records.size(); ++i)
        writer.record(records[i], i, names != nullptr, names && i < names->size() ? &(*names)[i] : nullptr);
    writer.finish(records.size(), names != nullptr, names ? names->size() : 0);
    return out;
}

}  // namespace orrinrc::dump
