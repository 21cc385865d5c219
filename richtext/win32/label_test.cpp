// The rich-text label under Wine on a host window: options at the first paint, PagNumber, the default
// palette, message 0xB010, the font at the cursor, and every RTF fixture painted.
#include <gtest/gtest.h>

#include "framework/win32/controls_test_support.h"
#include "framework/win32/messages.h"
#include "richtext/testdata/rt_test_util.h"
#include "richtext/win32/rich_label.h"
#include "richtext/zrt_object.h"
#include "testing/test_env.h"

namespace rt {
namespace {

using fw::testing::DibSurface;
using fw::testing::MakeHost;
using fw::testing::Pump;
using fw::testing::THost;

// Counts its paints.
class TCountingLabel : public TZrtRichTextLabel {
public:
    using TZrtRichTextLabel::TZrtRichTextLabel;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TZrtRichTextLabel::Paint();
    }
};

class Label : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterRichTextLabelClasses();
        sharedHost = MakeHost(20, 20, 400, 300);
    }
    static void TearDownTestSuite() {
        sharedHost->Free();
        sharedHost = nullptr;
        Pump();
    }
    void SetUp() override {
        host = sharedHost;
        host->SetColor(fw::clLime);
        label = fw::Make<TCountingLabel>(nullptr);
        label->SetBounds(10, 10, 300, 200);
        label->SetParent(host);
    }
    void TearDown() override {
        label->Free();
        Pump();
    }
    void Load(const std::string& rtf) {
        fw::TMemoryStream s;
        s.WriteString(rtf);
        s.SetPosition(0);
        label->LoadFromStream(s);
    }
    // Paints the host as Windows would (erase, then paint) into a fresh surface.
    void PaintInto(DibSurface& surface) {
        surface.Clear(fw::clBlack);
        host->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0);
        host->Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
    }
    static inline THost* sharedHost = nullptr;
    THost* host = nullptr;
    TCountingLabel* label = nullptr;
};

TEST_F(Label, OptionsWaitForTheFirstPaint) {
    Load("{\\rtf1 text}");
    label->SetTransparent(true);
    label->SetUsePaperSize(true);
    EXPECT_FALSE(label->Configured()) << "stored only";
    EXPECT_EQ(label->Document()->Options(), poSuspended);
    DibSurface surface(400, 300);
    PaintInto(surface);
    EXPECT_EQ(label->Document()->Options(), 0x20061u | 0x180u | 0x40000u);
    // Transparent: the host's colour shows inside the label, away from the text.
    EXPECT_EQ(surface.Pixel(10 + 290, 10 + 190), static_cast<TColor>(fw::clLime));
    // Afterwards the properties pass their bits on at once.
    label->SetTransparent(false);
    label->SetShowPageBreak(true);
    label->SetUsePaperSize(false);
    EXPECT_EQ(label->Document()->Options(), 0x20021u);
    PaintInto(surface);
    EXPECT_EQ(surface.Pixel(10 + 290, 10 + 190), static_cast<TColor>(fw::ColorToRGB(fw::clWindow)));
}

TEST_F(Label, PagNumberScrollsByClientHeights) {
    // One paragraph of twelve lines.
    std::string body;
    for (int i = 0; i < 12; ++i) body += "line " + std::to_string(i) + (i < 11 ? "\\line " : "");
    Load("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" + body + "}");
    DibSurface surface(400, 300);
    PaintInto(surface);
    TZrtRTFTextInput* doc = label->Document();
    ASSERT_EQ(doc->Body->Next, nullptr);
    const int h = doc->Body->FirstLine->Height;
    ASSERT_GT(h, 0);
    // The text is three client heights tall.
    label->SetBounds(10, 10, 300, 4 * h);
    PaintInto(surface);
    label->SetPagNumber(2);
    EXPECT_EQ(label->PagNumber(), 2);
    EXPECT_EQ(doc->ScrollY, 8 * h) << "the line at two client heights";
    label->SetPagNumber(5);  // no line lies that far down: nothing changes
    EXPECT_EQ(label->PagNumber(), 2);
    EXPECT_EQ(doc->ScrollY, 8 * h);
    // With the paper size, pages are counted: the second page starts at the paragraph after \page.
    Load("{\\rtf1 first\\par\\page second\\par third}");
    label->SetUsePaperSize(true);
    PaintInto(surface);
    label->SetPagNumber(1);
    EXPECT_EQ(doc->ScrollY, doc->ParagraphAt(1)->FirstLine->Top);
    label->SetPagNumber(0);
    EXPECT_EQ(doc->ScrollY, 0);
}

TEST_F(Label, BackgroundColorTakesTheDefaultPalette) {
    Load("{\\rtf1 text}");
    DibSurface surface(400, 300);
    PaintInto(surface);
    struct Case { fw::TColor color; int nibble; } cases[] = {
        {fw::clLime, 14},  // entry 14 of the default palette
        {fw::clRed, 13},
        {fw::RGB(250, 5, 5), 13},  // nearest
        {fw::clYellow, 13},        // entry 15: nothing changes
        {fw::clWhite, 13},         // entry 19
    };
    for (const Case& c : cases) {
        label->SetBackgroundColor(c.color);
        EXPECT_EQ(label->Document()->CurrentCell.BackColor(), c.nibble) << c.color;
    }
    EXPECT_EQ(label->BackgroundColor(), static_cast<fw::TColor>(label->Document()->Header->ColorOf(13)));
    label->SetReadOnly(true);
    label->SetBackgroundColor(fw::clLime);
    EXPECT_EQ(label->Document()->CurrentCell.BackColor(), 13) << "refused while read-only";
}

TEST_F(Label, MessageB010RepaintsAndZoomingZeroIsAHundred) {
    Load("{\\rtf1 text}");
    label->SetZooming(0);
    EXPECT_EQ(label->Zooming(), 100);
    label->SetZooming(150);
    EXPECT_EQ(label->Zooming(), 150);
    const int before = label->paints;
    label->Perform(0xB010, 0, 0);
    Pump();
    EXPECT_GT(label->paints, before);
}

TEST_F(Label, FontFollowsAndSetsTheCursorAttributes) {
    Load("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\b\\fs28 big} plain}");
    // Nothing is laid out (or followed) before the first paint.
    DibSurface surface(400, 300);
    PaintInto(surface);
    TZrtRTFTextInput* doc = label->Document();
    doc->SetCursorPos(0, 0, 1, 0);
    doc->UpdateCurrentAttr();
    fw::TFont* font = label->CellFont();
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_EQ(font->Size(), 14);
    EXPECT_TRUE(font->Style().Contains(fw::TFontStyle::fsBold));
    // Setting the font applies to the selection and the cursor.
    doc->NoBlockMarking = false;
    doc->SelectRange(4, 5);  // "plain"
    auto* change = new fw::TFont;
    change->SetName("Courier New");
    change->SetSize(12);
    change->SetStyle(fw::TFontStyles{fw::TFontStyle::fsItalic});
    label->SetCellFont(change);
    change->Free();
    const TAttrCell* p = test::CellOf(*doc, 'p');
    EXPECT_EQ(doc->Header->FontNames[p->FontIndex], "Courier New");
    EXPECT_EQ(p->Size, 12);
    EXPECT_EQ(p->Flags & 0xF, afItalic);
    EXPECT_EQ(test::CellOf(*doc, 'b')->Size, 14) << "outside the selection";
}

TEST_F(Label, ImageObjectsAskForTheirPicture) {
    Load("{\\rtf1 ab}");
    DibSurface surface(400, 300);
    PaintInto(surface);
    TZrtRTFTextInput* doc = label->Document();
    // An image object not loaded yet, with a stream name: the event gives a red bitmap.
    auto* image = fw::Make<TZrtOImageObject>(label);
    image->SetStreamName("logo.bmp");
    std::string asked;
    label->OnHTMLBitmapRequest.Bind(&asked, [](void* context, fw::TObject*, const std::string& source, fw::TPicture*& picture) {
        *static_cast<std::string*>(context) = source;
        auto* bitmap = new fw::TBitmap;
        bitmap->SetSize(20, 20);
        bitmap->Canvas()->Brush()->SetColor(fw::clRed);
        bitmap->Canvas()->FillRect(fw::Rect(0, 0, 20, 20));
        picture = new fw::TPicture;
        picture->SetBitmap(bitmap);
        bitmap->Free();
    });
    bool checked = false;
    label->OnTextObjectCheckProperties.Bind(&checked, [](void* context, fw::TObject*, bool&) { *static_cast<bool*>(context) = true; });
    doc->OnObjectRead(image);
    EXPECT_EQ(asked, "logo.bmp");
    EXPECT_TRUE(checked);
    ASSERT_TRUE(image->Picture());
    EXPECT_EQ(image->DefaultWidth(), 20 * 1440 / System().screenResolution);
    // Placed in the text, it paints its picture.
    TObjectRef* ref = doc->AddObjectRef(image);
    ref->Width = ref->Height = 300;  // 20 pixels
    doc->CurrentCell.Flags = afObject;
    doc->CurrentCell.Number = ref->Number;
    doc->InsertChar(doc->Body, doc->Body->FirstLine, 1, 1);
    doc->CurrentCell = TAttrCell();
    doc->ReformatAll();
    PaintInto(surface);
    ASSERT_EQ(doc->PaintedObjects.size(), 1u);
    const auto& drawn = doc->PaintedObjects[0];
    EXPECT_EQ(surface.Pixel(10 + drawn.x + 10, 10 + drawn.y + doc->Body->FirstLine->Height - 10), fw::clRed);
    // A request answered with no picture leaves the object empty.
    auto* other = fw::Make<TZrtOImageObject>(label);
    other->SetStreamName("missing.bmp");
    label->OnHTMLBitmapRequest.Bind(&asked, [](void*, fw::TObject*, const std::string&, fw::TPicture*&) {});
    doc->OnObjectRead(other);
    EXPECT_FALSE(other->Picture());
}

TEST_F(Label, EveryFixturePaints) {
    const std::string dir = mx::test::SourceDir() + "/richtext/testdata/fixtures/";
    label->SetWordWrap(true);
    for (const char* name : {"abiword.rtf", "latex2rtf.rtf", "libreoffice-link.rtf", "libreoffice-table.rtf",
                             "libreoffice.rtf", "pandoc.rtf", "pygments.rtf"}) {
        SCOPED_TRACE(name);
        label->LoadFromFile(mx::test::HostPath(dir + name));
        EXPECT_EQ(label->Document()->LastIoResult, 0);
        DibSurface surface(400, 300);
        EXPECT_NO_THROW(PaintInto(surface));
        EXPECT_TRUE(label->Configured());
        EXPECT_GT(label->Document()->DocumentHeight(), 0);
        // Text was drawn: some pixels inside the label are neither the background nor the host's.
        int ink = 0;
        const TColor back = static_cast<TColor>(fw::ColorToRGB(label->Color()));
        for (int y = 12; y < 200; y += 2)
            for (int x = 12; x < 300; x += 2) {
                const TColor c = surface.Pixel(x, y);
                ink += c != back && c != static_cast<TColor>(fw::clLime);
            }
        EXPECT_GT(ink, 20);
    }
}

}  // namespace
}  // namespace rt
