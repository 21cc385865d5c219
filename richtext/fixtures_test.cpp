// Real-world RTF and plain text: fixtures made by pandoc, LibreOffice, latex2rtf, pygments, abiword and
// dos2unix (testdata/make_fixtures.sh), compared with what unrtf reads; and our writer's output read by
// pandoc. The word lists differ only where this reader is meant to differ from unrtf.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>

#include "richtext/testdata/rt_test_util.h"
#include "testing/test_env.h"

namespace rt {
namespace {

using test::BodyText;

std::string FixturePath(const std::string& name) { return mx::test::SourceDir() + "/richtext/testdata/fixtures/" + name; }

// Runs a command and answers its standard output; a missing tool fails the test with its package.
std::string RunTool(const std::string& command, const char* package) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command << " failed; is the Debian package " << package << " installed?";
    return out;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string w;
    for (unsigned char c : text + " ") {
        if (std::isalnum(c) && c < 128) {
            w += static_cast<char>(c);
        } else if (!w.empty()) {
            words.push_back(w);
            w.clear();
        }
    }
    return words;
}

// Words of `a` not matched by a word of `b` (as multisets), sorted.
std::vector<std::string> Minus(std::vector<std::string> a, std::vector<std::string> b) {
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<std::string> out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

std::string UnrtfText(const std::string& path) {
    std::string text;
    const std::string out = RunTool("unrtf --text '" + path + "'", "unrtf");
    size_t pos = 0;
    while (pos < out.size()) {
        size_t end = out.find('\n', pos);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(pos, end - pos);
        if (line.rfind("###", 0) != 0 && line.rfind("-----------------", 0) != 0) text += line + "\n";
        pos = end + 1;
    }
    return text;
}

TEST(Fixtures, TextAgreesWithUnrtfButForTheKnownDivergences) {
    struct Case {
        const char* file;
        std::vector<std::string> onlyUnrtf;  // what this reader leaves out, and why
        std::vector<std::string> onlyOurs;
    } cases[] = {
        {"abiword.rtf", {}, {}},
        // \info is skipped, so the title and the document comment are not read.
        {"latex2rtf.rtf", {"Original", "TITLE", "file", "note", "tex", "was"}, {}},
        {"libreoffice-table.rtf", {}, {}},
        {"libreoffice-link.rtf", {}, {}},
        // A field other than MERGEFIELD becomes a field object showing "<HYPERLINK>"; its result is dropped.
        {"libreoffice.rtf", {"link"}, {"HYPERLINK"}},
        {"pandoc.rtf", {"com", "example", "http"}, {"HYPERLINK"}},
        {"pygments.rtf", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TZrtRTFTextIo doc;
        doc.LoadFromFile(mx::test::HostPath(FixturePath(c.file)));
        EXPECT_EQ(doc.LastIoResult, 0);
        const std::vector<std::string> ours = Words(BodyText(doc));
        const std::vector<std::string> theirs = Words(UnrtfText(FixturePath(c.file)));
        EXPECT_EQ(Minus(theirs, ours), c.onlyUnrtf);
        EXPECT_EQ(Minus(ours, theirs), c.onlyOurs);
    }
}

TEST(Fixtures, PandocDivergencesAndTable) {
    TZrtRTFTextIo doc;
    doc.LoadFromFile(FixturePath("pandoc.rtf"));
    // \u keeps its fallback; outline headings get their number (none for style 0) and a tab.
    EXPECT_EQ(doc.GetParagraphText(0), "\tFirst heading");
    EXPECT_NE(doc.GetParagraphText(1).find("an ?."), std::string::npos);
    EXPECT_EQ(doc.Header->FontNames[test::CellOf(doc, 'P')->FontIndex], "Helvetica");
    EXPECT_TRUE(test::CellOf(doc, 'b')->Flags & afBold);
    // The table: cells at 4320 and 8640 twips share the row as 128 and 127; \par in a cell is a soft break.
    TParagraph* name = nullptr;
    for (TParagraph* p = doc.Body; p && !name; p = p->Next)
        if (p->IsCell()) name = p;
    ASSERT_TRUE(name);
    EXPECT_EQ(doc.GetParagraphText(TZrtRTFText::ParagraphIndexOf(doc.Body, name) - 1), "Name\n");
    EXPECT_EQ(doc.ParTable(name)->Data[kCellWidth], 128);
    EXPECT_EQ(doc.ParTable(name->Next)->Data[kCellWidth], 127);
    EXPECT_EQ(doc.ParTable(name->Next)->Data[kCellStart], 128);
}

TEST(Fixtures, ColourTablesAndFonts) {
    TZrtRTFTextIo doc;
    doc.LoadFromFile(FixturePath("pygments.rtf"));
    // The first 15 entries of the RTF colour table fill the document's table; later numbers show black.
    const std::string rtf = mx::test::ReadFile(FixturePath("pygments.rtf"));
    std::vector<TColor> table;
    for (size_t pos = rtf.find(";\\red"); pos != std::string::npos && table.size() < 15; pos = rtf.find(";\\red", pos + 1)) {
        int r = 0, g = 0, b = 0;
        std::sscanf(rtf.c_str() + pos, ";\\red%d\\green%d\\blue%d", &r, &g, &b);
        table.push_back(static_cast<TColor>(r | g << 8 | b << 16));
    }
    ASSERT_EQ(table.size(), 15u);
    for (int i = 1; i < 15; ++i) {
        // A colour met before (the automatic colour 0 included) reuses the earlier entry.
        const auto earlier = table.begin() + (i - 1);
        if (table[static_cast<size_t>(i - 1)] == 0 || std::find(table.begin(), earlier, *earlier) != earlier) continue;
        EXPECT_EQ(doc.Header->ColorOf(i), table[static_cast<size_t>(i - 1)]) << i;
    }

    TZrtRTFTextIo lo;
    lo.LoadFromFile(FixturePath("libreoffice.rtf"));
    // Font numbers from 99 on (the style sheet's \f31506 and others) are not in the font map.
    for (int i = 0; i < kMaxFont && !lo.Header->FontNames[i].empty(); ++i)
        EXPECT_NE(lo.Header->FontNames[i].find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(lo.Header->FontNames[0], "Times New Roman");
    EXPECT_GE(lo.Styles.Count(), 5);
    ASSERT_GE(lo.Footnotes.size(), 1u);
    EXPECT_NE(lo.Footnotes[0]->Text.find("The footnote text."), std::string::npos);

    TZrtRTFTextIo table2;
    table2.LoadFromFile(FixturePath("libreoffice-table.rtf"));
    EXPECT_EQ(table2.Bookmarks.IndexOf("mark1"), 0);
    TParagraph* cell = nullptr;
    for (TParagraph* p = table2.Body; p && !cell; p = p->Next)
        if (p->IsCell()) cell = p;
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->Borders & brHas);
}

TEST(Fixtures, LibreOfficeHyperlinkFollowedByHiddenText) {
    // Double underline is a hyperlink, hidden text after it its stamp; the table keeps its shading.
    TZrtRTFTextIo doc;
    doc.LoadFromFile(FixturePath("libreoffice-link.rtf"));
    std::string text;
    std::vector<TAttrCell> cells;
    for (TTextLine* l = doc.Body->FirstLine; l; l = l->Next) {
        text.append(l->Chars.data(), l->Length);
        cells.insert(cells.end(), l->Cells.begin(), l->Cells.begin() + l->Length);
    }
    const std::string link = "this hyperlink text is long enough to wrap over the right edge of a narrow label";
    ASSERT_EQ(text.rfind(link + "topic-stamp-42 and after it.", 0), 0u) << text;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool inLink = i < link.size();
        const bool inStamp = !inLink && i < link.size() + 14;
        EXPECT_EQ((cells[i].Flags & afHyperlink) != 0, inLink) << i;
        EXPECT_EQ((cells[i].Flags & afHidden) != 0, inStamp) << i;
    }
    TParagraph* shaded = nullptr;
    for (TParagraph* p = doc.Body; p && !shaded; p = p->Next)
        if (p->IsCell() && p->Shading != 0) shaded = p;
    ASSERT_TRUE(shaded);
    EXPECT_EQ(doc.GetParagraphText(TZrtRTFText::ParagraphIndexOf(doc.Body, shaded) - 1), "Shaded cell");
}

TEST(Fixtures, PlainTextLineEnds) {
    struct Case { const char* file; std::string want; } cases[] = {
        {"plain-crlf.txt", "first line\nsecond line\n\nlast\n"},
        {"plain-cr.txt", "first line\nsecond line\n\nlast\n"},
        {"plain-lf.txt", "first linesecond linelast"},  // a line feed alone ends no paragraph
    };
    for (const Case& c : cases) {
        TZrtRTFTextIo doc;
        doc.LoadFromFile(FixturePath(c.file));
        EXPECT_EQ(BodyText(doc), c.want) << c.file;
    }
}

TEST(Fixtures, EveryFixtureSurvivesOurWriter) {
    struct Case { const char* file; std::vector<std::string> onlyUnrtf; } cases[] = {
        {"abiword.rtf", {}}, {"latex2rtf.rtf", {}}, {"libreoffice-table.rtf", {}}, {"libreoffice-link.rtf", {}},
        {"pygments.rtf", {}},
        // unrtf shows a hyperlink field's instruction, the target.
        {"libreoffice.rtf", {"com", "example", "http"}}, {"pandoc.rtf", {"com", "example", "http"}},
    };
    for (const auto& [file, onlyUnrtf] : cases) {
        SCOPED_TRACE(file);
        TZrtRTFTextIo doc;
        doc.LoadFromFile(FixturePath(file));
        const std::string written = test::SaveString(doc);
        TZrtRTFTextIo back;
        test::LoadString(back, written);
        EXPECT_EQ(BodyText(back), BodyText(doc));
        // unrtf reads our output to the same words.
        const std::string path = mx::test::FreshDir() + "/out.rtf";
        mx::test::WriteFile(path, written);
        EXPECT_EQ(Minus(Words(UnrtfText(path)), Words(BodyText(doc))), onlyUnrtf);
    }
}

TEST(Fixtures, PandocReadsOurSpansParagraphsAndTables) {
    TZrtRTFTextIo doc;
    test::LoadString(doc, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Plain {\\b bold} {\\i italic} {\\ul under} {\\strike struck} "
                          "{\\super sup}\\par Second para\\par\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row after}");
    const std::string path = mx::test::FreshDir() + "/ours.rtf";
    mx::test::WriteFile(path, test::SaveString(doc));
    const std::string native = RunTool("pandoc -f rtf -t native '" + path + "'", "pandoc");
    for (const char* want : {"Strong [ Str \"bold\" ]", "Emph [ Str \"italic\" ]", "Underline [ Str \"under\" ]",
                             "Strikeout [ Str \"struck\" ]", "Superscript [ Str \"sup\" ]",
                             "Para [ Str \"Second\" , Space , Str \"para\" ]", "Para [ Str \"a\" ]", "Para [ Str \"b\" ]",
                             "Para [ Str \"after\" ]"})
        EXPECT_NE(native.find(want), std::string::npos) << want << "\n" << native;
    EXPECT_EQ(native.rfind("[ Para\n    [ Str \"Plain\"", 0), 0u) << native;
    const size_t table = native.find("Table");
    ASSERT_NE(table, std::string::npos);
    EXPECT_LT(table, native.find("Str \"a\""));
    // The same spans through pandoc's JSON, which the editor tools read.
    const std::string json = RunTool("pandoc -f rtf -t json '" + path + "'", "pandoc");
    EXPECT_NE(json.find("{\"t\":\"Strong\",\"c\":[{\"t\":\"Str\",\"c\":\"bold\"}]}"), std::string::npos) << json;
}

}  // namespace
}  // namespace rt
