// Pictures and the published graphics properties: form text sets Font, Brush, Pen and Picture.Data;
// file formats by extension.
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/streams.h"
#include "framework/win32/graphics.h"
#include "framework/win32/graphics_test_util.h"
#include "testing/test_env.h"

namespace {

using namespace fw;
using gfxtest::Rgb;
using gfxtest::RgbAt;

// A form publishing the graphics objects as sub-objects.
class TGfxForm : public TComponent {
public:
    explicit TGfxForm(TComponent* owner) : TComponent(owner) {}
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* f) { font_->Assign(f); }
    TBrush* Brush() const { return brush_.get(); }
    TPen* Pen() const { return pen_.get(); }
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* p) { picture_->Assign(p); }

private:
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    std::unique_ptr<TBrush> brush_ = std::make_unique<TBrush>();
    std::unique_ptr<TPen> pen_ = std::make_unique<TPen>();
    std::unique_ptr<TPicture> picture_ = std::make_unique<TPicture>();
};

void RegisterTestForm() {
    RegisterGraphicsClasses();
    Class<TGfxForm, TComponent>("TGfxForm")
        .Prop("Font", &TGfxForm::Font, &TGfxForm::SetFont)
        .Prop("Brush", &TGfxForm::Brush)
        .Prop("Pen", &TGfxForm::Pen)
        .Prop("Picture", &TGfxForm::Picture, &TGfxForm::SetPicture);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (uint8_t b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

TBitmap* NewPattern() {
    auto* b = new TBitmap();
    b->SetPixelFormat(TPixelFormat::pf24bit);
    b->SetSize(5, 3);
    b->Canvas()->SetPixels(4, 2, clRed);
    b->Canvas()->SetPixels(0, 0, clNavy);
    return b;
}

TEST(Picture, FormTextSetsFontBrushPenAndPictureData) {
    RegisterTestForm();
    std::unique_ptr<TBitmap> pattern(NewPattern());
    TPicture source;
    source.SetGraphic(pattern.get());
    TMemoryStream data;
    source.WriteData(data);
    ASSERT_EQ(data.Data()[0], 7);  // "TBitmap" with its length byte first
    EXPECT_EQ(std::string(data.Data().begin() + 1, data.Data().begin() + 8), "TBitmap");

    const std::string text = "object frmGfx: TGfxForm\n"
                             "  Font.Charset = ANSI_CHARSET\n"
                             "  Font.Color = clRed\n"
                             "  Font.Height = -13\n"
                             "  Font.Name = 'Arial'\n"
                             "  Font.Style = [fsBold, fsUnderline]\n"
                             "  Brush.Color = clBtnFace\n"
                             "  Brush.Style = bsDiagCross\n"
                             "  Pen.Color = $00123456\n"
                             "  Pen.Mode = pmXor\n"
                             "  Pen.Width = 3\n"
                             "  Picture.Data = {" +
                             Hex(data.Data()) +
                             "}\n"
                             "end\n";
    auto* form = Make<TGfxForm>(nullptr);
    ReadComponentText(form, text, "frmGfx");
    EXPECT_EQ(form->Font()->Charset(), ANSI_CHARSET);
    EXPECT_EQ(form->Font()->Color(), clRed);
    EXPECT_EQ(form->Font()->Height(), -13);
    EXPECT_EQ(form->Font()->Name(), "Arial");
    EXPECT_EQ(form->Font()->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}));
    EXPECT_EQ(form->Brush()->Color(), clBtnFace);
    EXPECT_EQ(form->Brush()->Style(), TBrushStyle::bsDiagCross);
    EXPECT_EQ(form->Pen()->Color(), 0x123456);
    EXPECT_EQ(form->Pen()->Mode(), TPenMode::pmXor);
    EXPECT_EQ(form->Pen()->Width(), 3);
    auto* bitmap = dynamic_cast<TBitmap*>(form->Picture()->Graphic());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(Rgb(*bitmap), Rgb(*pattern));

    // Written back, the text carries the same values and reads into a second form alike.
    std::string written = WriteComponentText(form);
    EXPECT_NE(written.find("Font.Style = [fsBold, fsUnderline]"), std::string::npos) << written;
    EXPECT_NE(written.find("Brush.Color = clBtnFace"), std::string::npos) << written;
    EXPECT_NE(written.find("Font.Charset = ANSI_CHARSET"), std::string::npos) << written;
    EXPECT_EQ(written.find("Font.Size"), std::string::npos) << written;
    auto* second = Make<TGfxForm>(nullptr);
    ReadComponentText(second, written, "frmGfx");
    EXPECT_EQ(second->Font()->Name(), "Arial");
    EXPECT_EQ(second->Pen()->Mode(), TPenMode::pmXor);
    auto* again = dynamic_cast<TBitmap*>(second->Picture()->Graphic());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Rgb(*again), Rgb(*pattern));
    second->Free();
    form->Free();
}

TEST(Picture, IconDataAndUnknownClassNames) {
    RegisterGraphicsClasses();
    // An icon's data is its file image after the class name.
    TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));  // IDI_APPLICATION
    TPicture p;
    p.SetGraphic(&icon);
    TMemoryStream data;
    p.WriteData(data);
    std::vector<uint8_t> file = icon.SaveToBytes();
    EXPECT_EQ(data.Size(), static_cast<int64_t>(6 + file.size()));
    data.SetPosition(0);
    TPicture q;
    q.ReadData(data);
    ASSERT_NE(dynamic_cast<TIcon*>(q.Graphic()), nullptr);
    EXPECT_EQ(q.Width(), icon.Width());

    TMemoryStream unknown;
    unknown.WriteBuffer("\x08TMissing", 9);
    unknown.SetPosition(0);
    EXPECT_THROW(q.ReadData(unknown), EInvalidGraphic);
    EXPECT_NE(q.Graphic(), nullptr);  // the picture keeps what it had
}

TEST(Picture, FilesByExtensionAndFormatRegistry) {
    RegisterGraphicsClasses();
    gfxtest::CaseDir dir = gfxtest::NewCaseDir();
    std::unique_ptr<TBitmap> pattern(NewPattern());
    pattern->SaveToFile(dir.win + "\\p.BMP");
    TPicture p;
    int changes = 0;
    p.OnChange.Bind(&changes, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    std::vector<int> stages;
    p.OnProgress.Bind(&stages, [](void* v, TObject* sender, TProgressStage stage, uint8_t percent, bool, const TRect&,
                                  const std::string&) {
        static_cast<std::vector<int>*>(v)->push_back(static_cast<int>(stage) * 1000 + percent);
    });
    p.LoadFromFile(dir.win + "\\p.BMP");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(stages, (std::vector<int>{0, 2100}));  // starting at 0 %, ending at 100 %
    EXPECT_EQ(p.Width(), 5);
    EXPECT_EQ(p.Height(), 3);
    EXPECT_EQ(RgbAt(*p.Bitmap(), 4, 2), 0xFF0000u);
    p.Bitmap()->Canvas()->SetPixels(0, 0, clWhite);  // the graphic's changes reach the picture
    EXPECT_GE(changes, 2);
    p.SaveToFile(dir.win + "\\q.bmp");
    TPicture q;
    q.LoadFromFile(dir.win + "\\q.bmp");
    EXPECT_EQ(Rgb(*q.Bitmap()), Rgb(*p.Bitmap()));

    mx::test::WriteFile(dir.win + "\\x.xyz", "data");
    try {
        q.LoadFromFile(dir.win + "\\x.xyz");
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    EXPECT_THROW(q.LoadFromFile(dir.win + "\\none.bmp"), EFOpenError);
    EXPECT_THROW(q.SaveToFile(dir.win + "\\no folder\\q.bmp"), EFCreateError);
    mx::test::WriteFile(dir.win + "\\bad.bmp", "BMxx");
    EXPECT_THROW(q.LoadFromFile(dir.win + "\\bad.bmp"), EInvalidGraphic);
    EXPECT_EQ(q.Width(), 5);  // unchanged by the failures

    // A registered format, as a picture format library does.
    TPicture::RegisterFileFormat("gfx", "Test pictures", TGraphicClass{"TBitmap", &NewGraphic<TBitmap>});
    TPicture::RegisterClipboardFormat(0xC123, TGraphicClass{"TBitmap", &NewGraphic<TBitmap>});
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(0xC123));
    EXPECT_NE(TPicture::GraphicFilter().find("Test pictures (*.gfx)|*.gfx"), std::string::npos);
    pattern->SaveToFile(dir.win + "\\p.gfx");
    q.LoadFromFile(dir.win + "\\p.gfx");
    EXPECT_EQ(q.Width(), 5);

    // Bitmap and Icon give the graphic as asked for, replacing another kind.
    TIcon* icon = q.Icon();
    EXPECT_TRUE(icon->Empty());
    EXPECT_EQ(q.Graphic(), icon);
    q.Assign(&p);
    EXPECT_NE(q.Graphic(), p.Graphic());
    EXPECT_EQ(Rgb(*q.Bitmap()), Rgb(*p.Bitmap()));
    q.Assign(nullptr);
    EXPECT_EQ(q.Graphic(), nullptr);
}

}  // namespace

namespace {

using namespace fw;

// Every GDI object the graphics objects make dies with them, or when a change replaces it.
TEST(GdiObjects, DieWithTheirOwners) {
    std::vector<HGDIOBJ> made;
    HICON iconHandle = nullptr;
    {
        TBitmap b;
        b.SetPixelFormat(TPixelFormat::pf8bit);
        b.SetSize(16, 16);
        TCanvas* c = b.Canvas();
        c->Font()->SetName("Arial");
        c->TextOut(0, 0, "x");
        HFONT oldFont = c->Font()->Handle();
        c->Font()->SetStyle({TFontStyle::fsBold});  // replaces the font while it is selected
        c->TextOut(0, 0, "x");
        EXPECT_EQ(GetObjectType(oldFont), 0u);
        c->Brush()->SetStyle(TBrushStyle::bsCross);
        c->Pen()->SetWidth(2);
        c->Rectangle(0, 0, 10, 10);
        made = {c->Font()->Handle(), c->Brush()->Handle(), c->Pen()->Handle()};
        b.SetTransparent(true);
        const HGDIOBJ replaced[] = {b.Palette(), b.Handle(), b.MaskHandle(), c->Handle()};
        for (HGDIOBJ h : replaced) EXPECT_NE(GetObjectType(h), 0u);
        b.SetPixelFormat(TPixelFormat::pf24bit);  // a new bitmap: DC, mask, palette and bits go
        for (HGDIOBJ h : replaced) EXPECT_EQ(GetObjectType(h), 0u);
        made.push_back(b.Handle());
        TBitmap d;
        d.Assign(&b);
        d.Canvas()->BrushCopy(Rect(0, 0, 8, 8), &b, Rect(0, 0, 8, 8), clWhite);
        d.Canvas()->Draw(0, 0, &b);
        made.push_back(d.Handle());
        made.push_back(d.Canvas()->Handle());
        TIcon icon;
        icon.SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));
        TPicture p;
        p.SetGraphic(&icon);
        iconHandle = static_cast<TIcon*>(p.Graphic())->Handle();
        p.SetGraphic(&b);
        made.push_back(p.Bitmap()->Handle());
        for (HGDIOBJ h : made) EXPECT_NE(GetObjectType(h), 0u);
    }
    for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(GetObjectType(made[i]), 0u) << "object " << i;
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(iconHandle, &info));  // the picture's icon went when it took the bitmap
}

}  // namespace
