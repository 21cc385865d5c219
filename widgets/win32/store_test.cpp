// Stored pictures and containers: the DIB writer's files as Pillow and netpbm read them, bitmaps through
// the stream items, the picture lists, form text holding all four kinds of lists, and font lines.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "testing/test_env.h"
#include "widgets/dibformat.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/bitmapstreams.h"
#include "widgets/win32/dibwriter.h"
#include "widgets/win32/kvxcontainer.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testsupport/dibcanvas.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using test::CaseDir;
using test::TDibCanvas;

const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

// Pixels as 0xRRGGBB, rows top first.
using Picture = std::vector<uint32_t>;

Picture PictureOf(fw::TBitmap& b) {
    Picture out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas()->Pixels(x, y);
            out.push_back(static_cast<uint32_t>(fw::GetRValue(c) << 16 | fw::GetGValue(c) << 8 | fw::GetBValue(c)));
        }
    return out;
}

// Six colours every depth holds exactly (they are in the system's 16 and 256 colour palettes), in
// columns of an odd width so that rows are padded.
const TColor kPure[] = {fw::clBlack, fw::clWhite, fw::clRed, fw::clLime, fw::clBlue, fw::clYellow};

std::unique_ptr<fw::TBitmap> PureColours() {
    auto b = std::make_unique<fw::TBitmap>();
    b->SetSize(33, 5);
    for (int x = 0; x < 33; ++x)
        for (int y = 0; y < 5; ++y) b->Canvas()->SetPixels(x, y, kPure[(x / 6 + y) % 6]);
    return b;
}

std::unique_ptr<fw::TBitmap> Shades() {
    auto b = std::make_unique<fw::TBitmap>();
    b->SetSize(13, 7);
    for (int x = 0; x < 13; ++x)
        for (int y = 0; y < 7; ++y) b->Canvas()->SetPixels(x, y, fw::RGB(x * 19, y * 37, 200 - x * 7));
    return b;
}

std::unique_ptr<fw::TBitmap> Mono() {
    auto b = std::make_unique<fw::TBitmap>();
    b->SetMonochrome(true);
    b->SetSize(35, 3);
    for (int x = 0; x < 35; ++x)
        for (int y = 0; y < 3; ++y) b->Canvas()->SetPixels(x, y, ((x * 7 + y) % 3) ? fw::clWhite : fw::clBlack);
    return b;
}

bool ReadPillow(const CaseDir& d, const std::string& file, int& w, int& h, Picture& px, std::string& error) {
    mx::test::WriteFile(d.win + "\\pil.py",
                        "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1]).convert('RGB')\n"
                        "print(im.size[0], im.size[1])\n"
                        "for y in range(im.size[1]):\n"
                        "    print(' '.join('%02X%02X%02X' % im.getpixel((x, y)) for x in range(im.size[0])))\n");
    if (test::RunUnix(d, "/usr/bin/python3 pil.py " + file + " > " + file + ".pil 2>&1") != 0) {
        error = "Pillow (python3-pil) failed: " + mx::test::ReadFile(d.win + "\\" + file + ".pil");
        return false;
    }
    std::istringstream in(mx::test::ReadFile(d.win + "\\" + file + ".pil"));
    in >> w >> h;
    px.clear();
    std::string hex;
    while (in >> hex) px.push_back(static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
    return true;
}

bool ReadNetpbm(const CaseDir& d, const std::string& file, int& w, int& h, Picture& px, std::string& error) {
    if (test::RunUnix(d, "bmptopnm " + file + " 2>/dev/null | pnmtoplainpnm > " + file + ".pnm 2>&1") != 0) {
        error = "bmptopnm (netpbm) failed";
        return false;
    }
    std::istringstream in(mx::test::ReadFile(d.win + "\\" + file + ".pnm"));
    std::string magic;
    int maxval = 1;
    in >> magic >> w >> h;
    if (magic == "P1")
        maxval = 255;  // bits become 0 or 255 below
    else
        in >> maxval;
    px.clear();
    for (int i = 0; i < w * h; ++i) {
        int r = 0, g = 0, b = 0;
        if (magic == "P1") {
            char c = ' ';
            while (in >> c && c != '0' && c != '1') {
            }
            r = g = b = c == '1' ? 0 : 255;  // 1 is black
        } else if (magic == "P2") {
            in >> r;
            g = b = r;
        } else {
            in >> r >> g >> b;
        }
        px.push_back(static_cast<uint32_t>((r * 255 / maxval) << 16 | (g * 255 / maxval) << 8 | (b * 255 / maxval)));
    }
    return static_cast<bool>(in);
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<size_t>(i)];
    return v;
}

TEST(KVXStore, WrittenBitmapsDecodeInPillowAndNetpbm) {
    const CaseDir d = test::NewCaseDir();
    struct Case {
        int code;
        std::unique_ptr<fw::TBitmap> (*make)();
        int bits;
    };
    const Case cases[] = {{kDibDevice, &Shades, 24}, {kDibMono, &Mono, 1}, {kDib16, &PureColours, 4}, {kDib256, &PureColours, 8}};
    for (const Case& c : cases) {
        auto bitmap = c.make();
        const std::vector<uint8_t> image = KVXMakeBMPImage(bitmap->Handle(), bitmap->Palette(), c.code);
        ASSERT_GT(image.size(), 54u);
        const int header = KVXDIBHeaderSize(c.bits);
        EXPECT_EQ(image[0], 'B');
        EXPECT_EQ(Le(image, 2, 4), image.size());
        EXPECT_EQ(Le(image, 10, 4), static_cast<uint32_t>(header + 14));
        EXPECT_EQ(Le(image, 28, 2), static_cast<uint32_t>(c.bits));
        EXPECT_EQ(image.size(), 14 + header + KVXDIBImageSize(bitmap->Width(), bitmap->Height(), c.bits));
        const std::string file = "code" + std::to_string(c.code) + ".bmp";
        fw::TFileStream out(d.win + "\\" + file, fw::fmCreate);
        KVXWriteBMP(out, bitmap->Handle(), bitmap->Palette(), false, c.code);
        const Picture want = PictureOf(*bitmap);
        int w = 0, h = 0;
        Picture got;
        std::string error;
        ASSERT_TRUE(ReadPillow(d, file, w, h, got, error)) << error;
        EXPECT_EQ(w, bitmap->Width());
        EXPECT_EQ(h, bitmap->Height());
        EXPECT_EQ(got, want) << "Pillow, code " << c.code;
        ASSERT_TRUE(ReadNetpbm(d, file, w, h, got, error)) << error;
        EXPECT_EQ(got, want) << "netpbm, code " << c.code;
    }
    EXPECT_THROW(KVXMakeBMPImage(nullptr, nullptr, 0), fw::EInvalidGraphic);
}

TEST(KVXStore, BitmapItemsReadBackPixelEqual) {
    struct Case {
        int code;
        std::unique_ptr<fw::TBitmap> (*make)();
    };
    const Case cases[] = {{kBitmapFrameworkFormat, &Shades}, {kDibDevice, &Shades}, {kDibMono, &Mono},
                          {kDib16, &PureColours}, {kDib256, &PureColours}, {kDibMono, &PureColours}};
    for (const Case& c : cases)
        for (bool compressed : {false, true}) {
            auto bitmap = c.make();
            fw::TMemoryStream s;
            KVXWriteBitmap(s, bitmap.get(), compressed, c.code);
            s.SetPosition(0);
            fw::TBitmap back;
            KVXReadBitmap(s, &back, compressed);
            EXPECT_EQ(s.Position(), s.Size());
            if (c.code == kDibMono && c.make == &PureColours) {
                EXPECT_EQ(back.Width(), 33);  // a colour picture at one bit: only the size is kept exactly
                continue;
            }
            EXPECT_EQ(PictureOf(back), PictureOf(*bitmap)) << c.code << (compressed ? " compressed" : " plain");
        }
}

std::unique_ptr<fw::TBitmap> Square(int size, TColor color) {
    auto b = std::make_unique<fw::TBitmap>();
    KVXFillBitmap(b.get(), {0, 0, size, size}, color);
    return b;
}

TEST(KVXStore, ImageStripsGrowAndDraw) {
    auto* list = fw::Make<TKVXImageList>(nullptr);
    auto* item = list->Item(list->AddItem());
    std::vector<int> widths;
    for (int i = 0; i < 5; ++i) {
        auto image = Square(16, fw::RGB(40 * i, 0, 0));
        EXPECT_EQ(item->Add(image.get(), nullptr), i);
        widths.push_back(item->StripBitmap()->Width());
    }
    EXPECT_EQ(widths, (std::vector<int>{64, 64, 64, 64, 128}));
    EXPECT_EQ(item->ImageRect(4).Left, 64);
    EXPECT_EQ(list->GetPixel({3, 3}, 0, 4), fw::RGB(160, 0, 0));
    EXPECT_EQ(list->Count(0), 5);
    EXPECT_EQ(list->Count(1), -1);
    EXPECT_FALSE(list->IsValid(0, 5));
    auto wrong = Square(10, fw::clRed);
    EXPECT_THROW(item->Add(wrong.get(), nullptr), fw::EInvalidGraphicOperation);
    EXPECT_EQ(item->Count(), 5);
    // Width: the same value keeps the images, 0 is ignored, another value removes them.
    item->SetSize(0, 16);
    item->SetSize(0, 0);
    EXPECT_EQ(item->Count(), 5);
    item->SetSize(0, 8);
    EXPECT_EQ(item->Count(), 0);
    list->Free();
}

TEST(KVXStore, MaskedImagesAndOpaqueOnes) {
    auto* list = fw::Make<TKVXImageList>(nullptr);
    auto* item = list->Item(list->AddItem());
    item->SetMasked(true);
    // Image 0: blue with a transparent centre (its own mask, the image black there); image 1 without mask.
    auto image = Square(16, fw::clBlue);
    image->Canvas()->Brush()->SetColor(fw::clBlack);
    image->Canvas()->FillRect({4, 4, 12, 12});
    auto mask = Square(16, fw::clBlack);
    mask->Canvas()->Brush()->SetColor(fw::clWhite);
    mask->Canvas()->FillRect({4, 4, 12, 12});
    item->Add(image.get(), mask.get());
    auto opaque = Square(16, fw::clRed);
    item->Add(opaque.get(), nullptr);
    EXPECT_TRUE(item->Strip().OwnMask(0));
    EXPECT_FALSE(item->Strip().OwnMask(1));
    TDibCanvas d(40, 20);
    d.Fill(fw::clYellow);
    list->Draw(d.Canvas(), 0, 0, 0, 0);
    list->Draw(d.Canvas(), 20, 0, 0, 1);
    EXPECT_EQ(d.Pixel(1, 1), fw::clBlue);
    EXPECT_EQ(d.Pixel(8, 8), fw::clYellow);  // through the mask
    EXPECT_EQ(d.Pixel(28, 8), fw::clRed);    // no mask of its own: fully opaque
    // Placed in a rectangle through the mask, and by the bottom-left pixel as transparent colour.
    d.Fill(fw::clYellow);
    TRect painted;
    list->DrawInRect(d.Canvas(), {0, 0, 20, 20}, kpfCenter, 0, 0, painted);
    EXPECT_EQ(painted, (TRect{2, 2, 18, 18}));
    EXPECT_EQ(d.Pixel(10, 10), fw::clYellow);
    EXPECT_EQ(d.Pixel(3, 3), fw::clBlue);
    fw::TBitmap copy;
    list->GetBitmap(0, 1, &copy);
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_EQ(copy.Canvas()->Pixels(5, 5), fw::clRed);
    EXPECT_EQ(list->TransparentColor(0, 0), fw::clBlue);
    list->Free();
}

TEST(KVXStore, BitmapListAnswersOutOfRange) {
    auto* list = fw::Make<TKVXBitmapList>(nullptr);
    for (int i = 0; i < 3; ++i) list->AddItem();
    auto red = Square(8, fw::clRed);
    list->Item(0)->SetBitmap(red.get());
    EXPECT_EQ(list->Count(0), 1);
    EXPECT_EQ(list->Count(1), 0);  // an empty item
    EXPECT_FALSE(list->IsValid(1, 0));
    EXPECT_TRUE(list->IsValid(0, 0));
    EXPECT_EQ(list->TransparentColor(5, 0), fw::clWhite);
    EXPECT_EQ(list->GetPixel({1, 1}, 7, 0), fw::clWhite);
    EXPECT_EQ(list->GetSize(9, 0), 0);
    EXPECT_EQ(list->GetPalette(9), nullptr);
    EXPECT_EQ(list->GetCanvas(3), nullptr);
    EXPECT_FALSE(list->IsMasked(0));
    list->Free();
}

TEST(KVXStore, ContainerListIdentifiers) {
    ASSERT_NE(KVXContainer, nullptr);
    EXPECT_EQ(KVXContainerListId(KVXContainer->ImageList()), "KVXIML30");
    EXPECT_EQ(KVXContainerListId(KVXContainer->BitmapList()), "KVXBML30");
    EXPECT_EQ(KVXContainerListById("KVXIML30"), KVXContainer->ImageList());
    EXPECT_EQ(KVXContainerListById("KVXBML30"), KVXContainer->BitmapList());
    EXPECT_EQ(KVXContainerListById("KVXIML31"), nullptr);
    auto* other = fw::Make<TKVXImageList>(nullptr);
    EXPECT_EQ(KVXContainerListId(other), "");
    EXPECT_FALSE(KVXIsContainerList(other));
    EXPECT_FALSE(KVXIsContainerList(nullptr));
    EXPECT_TRUE(KVXIsContainerList(KVXContainer->ImageList()));
    other->Free();
    // A list's changes reach the container's own listeners.
    int n = 0;
    KVXContainer->OnChange.Bind(&n, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    KVXContainer->StringList()->AddItem();
    EXPECT_EQ(n, 1);
    KVXContainer->OnChange.Reset();
    KVXContainer->StringList()->Clear();
}

// A root holding lists, as a form or data module does.
class TListsForm : public fw::TComponent {
public:
    explicit TListsForm(TComponent* owner) : TComponent(owner) {}
    void GetChildren(ChildProc proc, void* context, TComponent*) override {
        for (int i = 0; i < ComponentCount(); ++i) proc(context, Components(i));
    }
};

TEST(KVXStore, FormTextHoldsAllFourKindsOfLists) {
    fw::Class<TListsForm, fw::TComponent>("TListsForm");
    const CaseDir d = test::NewCaseDir();
    ASSERT_EQ(test::RunUnix(d, "sox -n -r 8000 -b 16 -c 2 tone.wav synth 0.03 sine 600 2>/dev/null"), 0) << "sox (package sox)";

    auto* root = new TListsForm(nullptr);
    root->SetName("Lists");
    auto* pictures = fw::Make<TKVXBitmapList>(root);
    pictures->SetName("Pictures");
    for (int i = 0; i < 2; ++i) {
        auto* item = pictures->Item(pictures->AddItem());
        item->SetName("Picture" + std::to_string(i));
        auto bitmap = i == 0 ? Shades() : PureColours();
        item->SetBitmap(bitmap.get());
        item->SetDescription(i == 0 ? "shades" : "pure");
        if (i == 1) {
            item->SetCompressed(true);
            item->SetSavePixelFormat(TKVXSavePixelFormat::spf4bit);
        }
    }
    auto* strips = fw::Make<TKVXImageList>(root);
    strips->SetName("Strips");
    auto* strip = strips->Item(strips->AddItem());
    strip->SetName("Arrows");
    strip->SetSize(0, 8);
    strip->SetSize(1, 8);
    strip->SetMasked(true);
    for (int i = 0; i < 3; ++i) {
        auto image = Square(8, fw::RGB(0, 80 * i, 255));
        strip->ReplaceMasked(strip->Add(nullptr, nullptr), image.get(), fw::RGB(0, 80, 255));
    }
    auto* texts = fw::Make<TKVXStringList>(root);
    texts->SetName("Texts");
    auto* lines = texts->Item(texts->AddItem());
    lines->SetName("Lines");
    lines->Items()->Add("first");
    lines->Items()->Add("second");
    auto* sounds = fw::Make<TKVXWaveList>(root);
    sounds->SetName("Sounds");
    auto* tone = sounds->Item(sounds->AddItem());
    tone->SetName("Tone");
    tone->SetCompressed(true);
    tone->Wave()->LoadFromFile(d.win + "\\tone.wav");
    auto* silence = sounds->Item(sounds->AddItem());
    silence->SetName("Silence");

    const std::string text = fw::WriteComponentText(root);
    for (const char* want : {"object Pictures: TKVXBitmapList", "object Arrows: TKVXImageListItem", "object Lines: TKVXStringListItem",
                             "object Tone: TKVXWaveListItem", "Internal = {"})
        EXPECT_NE(text.find(want), std::string::npos) << want;
    auto* back = new TListsForm(nullptr);
    fw::ReadComponentText(back, text, "Lists");
    EXPECT_EQ(fw::WriteComponentText(back), text);

    auto* backPictures = dynamic_cast<TKVXBitmapList*>(back->FindComponent("Pictures"));
    ASSERT_NE(backPictures, nullptr);
    ASSERT_EQ(backPictures->Count(), 2);
    EXPECT_EQ(PictureOf(*backPictures->Item(0)->Bitmap()), PictureOf(*Shades()));
    EXPECT_EQ(PictureOf(*backPictures->Item(1)->Bitmap()), PictureOf(*PureColours()));
    EXPECT_EQ(backPictures->Item(1)->SavePixelFormat(), TKVXSavePixelFormat::spf4bit);
    auto* backStrips = dynamic_cast<TKVXImageList*>(back->FindComponent("Strips"));
    ASSERT_NE(backStrips, nullptr);
    EXPECT_EQ(backStrips->Count(0), 3);
    EXPECT_TRUE(backStrips->IsMasked(0));
    TDibCanvas a(8, 8), b(8, 8);
    strips->Draw(a.Canvas(), 0, 0, 0, 2);
    backStrips->Draw(b.Canvas(), 0, 0, 0, 2);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    auto* backSounds = dynamic_cast<TKVXWaveList*>(back->FindComponent("Sounds"));
    ASSERT_NE(backSounds, nullptr);
    fw::TMemoryStream x, y;
    tone->Wave()->SaveToStream(x);
    backSounds->Item(0)->Wave()->SaveToStream(y);
    EXPECT_EQ(x.Data(), y.Data());
    EXPECT_TRUE(backSounds->Item(1)->Wave()->Empty());
    root->Free();
    back->Free();
}

TEST(KVXStore, FontLines) {
    fw::TFont font;
    font.SetName("Arial");
    font.SetSize(8);
    font.SetColor(fw::clBlack);
    font.SetStyle({fw::TFontStyle::fsBold, fw::TFontStyle::fsItalic});
    EXPECT_EQ(KVXFontToString(&font), "Arial,8,clBlack,1,1,0,0");
    fw::TFont back;
    int changes = 0;
    back.OnChange.Bind(&changes, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    KVXStringToFont("Arial,8,clBlack,1,1,0,0", &back);
    EXPECT_EQ(back.Name(), "Arial");
    EXPECT_EQ(back.Size(), 8);
    EXPECT_EQ(back.Color(), fw::clBlack);
    EXPECT_EQ(back.Style(), font.Style());
    EXPECT_GE(changes, 4);  // each field is the font's own property write
    KVXStringToFont("Tahoma,9,clRed,0,0,0", &back);
    EXPECT_EQ(back.Name(), "Arial");
}

}  // namespace
}  // namespace kvx::win32
