// The parts the checker keeps its place with (the current line, statements
// by spelling, names, kept text), and checks of whole inputs that lean on
// them: lines quoted long after they were read, inputs that spell their
// statements in more ways than are kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/hints.h"
#include "check/kept_text.h"
#include "check/spellings.h"

using namespace orrinrc;
using namespace orrinrc::check;

namespace {

// What orrinrc-check prints for `text` (named input.rc), and its exit code.
std::string check(const std::string& text, int* code = nullptr, CheckOptions options = {}) {
    FILE* out = std::tmpfile();
    const int c = check_source("input.rc", SourceText{-1, text}, options, RunOptions{}, out);
    if (code) *code = c;
    std::string printed;
    std::rewind(out);
    for (int ch; (ch = std::fgetc(out)) != EOF;) printed.push_back(static_cast<char>(ch));
    std::fclose(out);
    return printed;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CheckParts, StatementsFoundInAnySpelling) {
    using format::Kind;
    using format::Role;
    // Aliases, a group's line, a sub-state's statement after its opener and
    // a check-box line on its own are the tables' entries.
    EXPECT_EQ(statement_fields(Kind::Form, "UIOBJECT.ID="), std::vector{format::FieldId::FormObjectId});
    EXPECT_EQ(statement_fields(Kind::Form, "UIOBJECT_TYPE="), std::vector{format::FieldId::FormObjectType});
    EXPECT_EQ(statement_fields(Kind::String, "STRING_COLOR="), std::vector{format::FieldId::StringFontColor});
    EXPECT_EQ(statement_fields(Kind::Form, "FORM_BITMAP.FILE="), std::vector{format::FieldId::FormBitmap});
    const FoundStatement attr = find_in_kind(Kind::Control, "CONTROL_ATTR.ENABLE=");
    ASSERT_TRUE(attr.head && attr.own);
    EXPECT_EQ(attr.head->role, Role::Opener);
    EXPECT_EQ(attr.own->field, format::FieldId::ControlEnable);
    const FoundStatement bare = find_in_kind(Kind::Control, "GROUP_ID=");
    ASSERT_TRUE(bare.own);
    EXPECT_EQ(bare.own->field, format::FieldId::CheckboxGroupId);
    EXPECT_EQ(find_in_kind(Kind::Menu, "MENU_ITEM12=").own->field, format::FieldId::MenuItem);
    EXPECT_EQ(find_in_kind(Kind::Form, "#END_FORM").own->role, Role::Ends);
    EXPECT_EQ(find_in_kind(Kind::Form, "#FORM").own->role, Role::Opens);
    EXPECT_EQ(find_in_kind(Kind::Form, "#END_LIST").own, nullptr);
    EXPECT_EQ(find_in_kind(Kind::Form, "BOUNDS.Q=").own, nullptr);
    // Every spelling of a statement has the same summary.
    EXPECT_EQ(statement_summary(Kind::Form, "UIOBJECT.ID="), statement_summary(Kind::Form, "OBJECT_ID="));
    EXPECT_EQ(statement_summary(Kind::Form, "I="), statement_summary(Kind::Form, "ID="));
    EXPECT_NE(statement_summary(Kind::Control, "CONTROL_ADD.").find("the statements of the CONTROL_STYLE="),
              std::string::npos);
    EXPECT_EQ(statement_summary(Kind::Form, "NO_SUCH="), "");
}

TEST(CheckParts, SpellingsOfAStatement) {
    std::string out;
    EXPECT_EQ(normal_statement("(12) Form_Style =", out), "FORM_STYLE=");
    EXPECT_EQ(normal_statement("\tbounds.\r\n", out), "BOUNDS.");
    EXPECT_EQ(normal_statement("(no close x=", out), "(NOCLOSEX=");
    EXPECT_EQ(normal_statement("", out), "");
}

TEST(CheckParts, NamesAndKeptText) {
    KeptText kept;
    NameIndex index;
    std::vector<std::string_view> names;
    auto name_of = [&](uint32_t i) { return names[i]; };
    for (uint32_t i = 0; i < 20000; ++i) {
        // Now and then a text larger than a block's quarter.
        const std::string name = i % 997 == 0 ? std::string(20000, 'n') + std::to_string(i) : std::string("N") += std::to_string(i % 15000);
        names.push_back(kept.keep(name));
        const uint32_t first = index.find_or_add(names.back(), i, name_of);
        const bool fresh = i < 15000 || i % 997 == 0 || (i - 15000) % 997 == 0;
        ASSERT_EQ(first, fresh ? i : i - 15000) << name;
    }
    for (uint32_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(names[i], i % 997 == 0 ? std::string(20000, 'n') + std::to_string(i) : std::string("N") += std::to_string(i % 15000));
}

TEST(CheckParts, NearestWords) {
    // Case is no difference; a swap of neighbours is one edit.
    EXPECT_EQ(edit_distance("#FORM", "#FROM"), 1u);
    EXPECT_EQ(edit_distance("kitten", "Sitting"), 3u);
    EXPECT_EQ(edit_distance("", "abc"), 3u);
    EXPECT_EQ(edit_distance("ab", "ba"), 1u);
    EXPECT_EQ(edit_distance("ca", "abc"), 3u);
    const std::vector<std::string> openings{"#FORM", "#LIST", "#FIELD", "#TEXTBOX"};
    EXPECT_EQ(nearest_word("#FROM", openings), "#FORM");
    EXPECT_EQ(nearest_word("#lits", openings), "#LIST");
    EXPECT_EQ(nearest_word("#XYZ", openings), "");
    // A line of thousands of characters is no near miss of any of them.
    EXPECT_EQ(nearest_word("#" + std::string(100000, 'F'), openings), "");
}

TEST(CheckParts, RenderedDiagnostics) {
    // The caret keeps the source's tabs and stands past the line's end when
    // the column does; control bytes show as '?'; a note without a place has
    // no line; line 0 is no place.
    Diagnostic d{Severity::Warning, check::Location{12, 6}, "\tab\x01", "a message", "-Wname",
                 {Note{"see here", check::Location{3, 1}, "#FORM\x7f"}, Note{"a hint", {}, ""}}};
    EXPECT_EQ(render("in.rc", d),
              "in.rc:12:6: warning: a message [-Wname]\n"
              "    \tab?\n"
              "    \t    ^\n"
              "in.rc:3:1: note: see here\n"
              "    #FORM?\n"
              "note: a hint\n");
    EXPECT_EQ(render("in.rc", Diagnostic{Severity::Error, {}, "", "cannot read", "", {}}),
              "in.rc: error: cannot read\n");
    EXPECT_EQ(render("f", Diagnostic{Severity::Error, check::Location{4294967295u, 0}, "x", "m", "", {}}),
              "f:4294967295:0: error: m\n    x\n    ^\n");
    EXPECT_EQ(caret_line("\t\tx", 3), "\t\t^");
    EXPECT_EQ(caret_line("", 0), "^");
}

TEST(CheckSource, WarningsQuoteTheirLinesLongAfterReadingThem) {
    // The objects of a form are checked at the end of the input: each
    // warning quotes its own object line, however far back, with or without
    // a line prefix or a CR.
    std::string text = "NAME=Main\n#FORM\nID=1\nOBJECT.TYPE=FORM\nNO_OF_OBJECTS=3\n";
    text += "UIOBJECT.ID=500\nUIOBJECT.TYPE=FIELD\n";
    for (int i = 0; i < 300; ++i) text += "// filler\n";
    text += "(2) UIOBJECT.ID=501\r\n(2) UIOBJECT.TYPE=FIELD\r\n";
    for (int i = 0; i < 300; ++i) text += "\n";
    text += "UIOBJECT.ID=502\nUIOBJECT.TYPE=FIELD\n#END_FORM\n";
    const std::string out = check(text);
    EXPECT_NE(out.find("input.rc:6:1: warning: the form Main lists identifier 500, which no resource has "
                       "[-Wundefined-object]\n    UIOBJECT.ID=500\n    ^\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("input.rc:308:1: warning: the form Main lists identifier 501, which no resource has "
                       "[-Wundefined-object]\n    (2) UIOBJECT.ID=501\n    ^\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("input.rc:610:1: warning: the form Main lists identifier 502"), std::string::npos) << out;
}

TEST(CheckSource, EveryLineQuotedWholeWhereverTheReadsBreakIt) {
    // The text reaches the checker in pieces of some kilobytes, and what it
    // keeps of them is let go now and then: lines of every length fall
    // across the pieces' ends, and each warning still quotes its line whole,
    // at its own line and column, long definitions and long lines included.
    std::string text;
    std::vector<std::string> lines;
    size_t line = 1;
    std::vector<size_t> at;
    for (int i = 0; i < 3000; ++i) {
        const std::string pad(static_cast<size_t>((i * 37) % 900), 'x');
        const std::string value = " text " + std::to_string(i) + pad;
        text += "NAME=S" + std::to_string(i) + "\n#STRING\nID=" + std::to_string(10 + i) +
                "\nOBJECT.TYPE=STRING\n";
        line += 4;
        for (int k = 0; k < i % 5; ++k, ++line) text += "// " + pad + "\n";
        text += "STRING_TEXT=" + value + "\n#END_STRING\n";
        lines.push_back("STRING_TEXT=" + value);
        at.push_back(line);
        line += 2;
    }
    const std::string out = check(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string expected = "input.rc:" + std::to_string(at[i]) + ":13: warning: the text of STRING_TEXT= " +
                                     "starts with a blank, which is part of it [-Wtext-blank]\n    " + lines[i] + "\n";
        ASSERT_NE(out.find(expected), std::string::npos) << "definition " << i;
    }
}

TEST(CheckSource, RepeatedIdentifiersNameTheFirstOwner) {
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += "NAME=S" + std::to_string(i) + "\n#STRING\nID=7\nOBJECT.TYPE=STRING\n#END_STRING\n\n";
    const std::string out = check(text);
    EXPECT_EQ(count(out, "[-Wduplicate-id]"), 2u) << out;
    EXPECT_EQ(count(out, "input.rc:2:1: note: by the STRING S0\n    #STRING\n"), 2u) << out;
    EXPECT_NE(out.find("input.rc:15:1: warning: identifier 7 is used already [-Wduplicate-id]\n    ID=7\n"), std::string::npos) << out;
}

TEST(CheckSource, MoreSpellingsThanAreKept) {
    // Every object line spelt its own way (a prefix of its own): more
    // spellings than the checker keeps, and every one still read right.
    const int objects = 6000;
    std::string text = "NAME=Main\n#FORM\nID=1\nOBJECT.TYPE=FORM\nNO_OF_OBJECTS=" + std::to_string(objects) + "\n";
    for (int i = 0; i < objects; ++i) {
        std::string prefix = "(";
        prefix += std::to_string(i);
        prefix += ") ";
        text += prefix + "UIOBJECT.ID=" + std::to_string(1000 + i) + "\n" + prefix + "UIOBJECT.TYPE=FIELD\n";
    }
    text += "#END_FORM\n";
    int code = -1;
    const std::string out = check(text, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(count(out, "[-Wundefined-object]"), static_cast<size_t>(objects));
    const std::string last = std::to_string(objects - 1);
    EXPECT_NE(out.find("lists identifier " + std::to_string(1000 + objects - 1) +
                       ", which no resource has [-Wundefined-object]\n    (" + last + ") UIOBJECT.ID="),
              std::string::npos);
}

}  // namespace
