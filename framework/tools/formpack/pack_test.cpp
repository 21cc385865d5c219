// formpack: expansion of file references, syntax checks, and loading what it writes.
#include "framework/tools/formpack/pack.h"

#include <gtest/gtest.h>

#include "framework/core/object_test_classes.h"
#include "testing/test_env.h"

namespace {

using namespace fwtest;

TEST(Formpack, ExpandsFileReferencesIntoLoadableBinary) {
    RegisterTestClasses();
    std::string dir = mx::test::FreshDir();
    std::string image("BM\x00\x01\xFF", 5);
    mx::test::WriteFile(dir + "/glyph.bmp", image);
    std::string source =
        "object frmPack: TTestForm  // the source may hold comments\n"
        "  object Widget1: TWidget\n"
        "    Data = @file('glyph.bmp')\n"
        "    Columns = < item Caption = 'c' end >\n"
        "  end\n"
        "  object Widget2: TWidget\n"
        "    Data = @lenfile('glyph' + '.bmp')\n"
        "  end\n"
        "end\n";
    fw::formpack::PackedForm packed = fw::formpack::PackForm(source, "frmPack.form", dir);
    EXPECT_EQ(packed.resourceName, "TTESTFORM");
    EXPECT_EQ(fw::formpack::RcLine(packed, "out\\frm.txt"), "TTESTFORM RCDATA \"out\\\\frm.txt\"\n");
    EXPECT_EQ(packed.text.find('@'), std::string::npos);

    auto* form = NewRoot<TTestForm>();
    ReadComponentText(form, packed.text, "frmPack");  // compiled text holds no file references
    EXPECT_EQ(form->Widget1->Data(), image);
    EXPECT_EQ(form->Widget2->Data(), std::string("\x05\x00\x00\x00", 4) + image);
    form->Free();
}

TEST(Formpack, ReportsBadSyntaxAndMissingFiles) {
    std::string dir = mx::test::FreshDir();
    try {
        fw::formpack::PackForm("object A: TX\n  P = @file('none.bmp')\nend\n", "a.form", dir);
        FAIL();
    } catch (const fw::EFOpenError& e) {
        EXPECT_NE(e.Message().find("none.bmp"), std::string::npos);
    }
    try {
        fw::formpack::PackForm("object A: TX\n  P = = 1\nend\n", "a.form", dir);
        FAIL();
    } catch (const fw::EParserError& e) {
        EXPECT_EQ(e.Message(), "Error in form a.form at line 2, column 7: value expected but '=' found");
    }
}

}  // namespace
