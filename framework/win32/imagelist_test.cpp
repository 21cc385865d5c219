// Image lists under Wine: images go in by bitmap, mask colour and icon, and come back out as pixels
// drawn into a bitmap; foreign handles and the published properties.
#include "framework/win32/imagelist.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"

namespace fw {
namespace {

constexpr int kSize = 16;

// A bitmap of the list's size filled with `fill`, with an optional square of `square` at (4,4)-(8,8).
std::unique_ptr<TBitmap> Tile(TColor fill, TColor square = clNone) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(kSize, kSize);
    bitmap->Canvas()->Brush()->SetColor(fill);
    bitmap->Canvas()->FillRect(Rect(0, 0, kSize, kSize));
    if (square != clNone) {
        bitmap->Canvas()->Brush()->SetColor(square);
        bitmap->Canvas()->FillRect(Rect(4, 4, 8, 8));
    }
    return bitmap;
}

// Where images are drawn: a 24-bit bitmap filled with `background`, images put at (10,10).
class Surface {
public:
    explicit Surface(TColor background) {
        bitmap_.SetPixelFormat(TPixelFormat::pf24bit);
        bitmap_.SetSize(40, 40);
        bitmap_.Canvas()->Brush()->SetColor(background);
        bitmap_.Canvas()->FillRect(Rect(0, 0, 40, 40));
    }
    void Draw(TCustomImageList* list, int index, TImageDrawStyle style) {
        list->Draw(bitmap_.Canvas(), 10, 10, index, style);
    }
    // The pixel at (x, y) of the image drawn at (10,10).
    TColor At(int x, int y) { return bitmap_.Canvas()->Pixels(10 + x, 10 + y); }
    // The mean of one colour channel (0 red, 8 green, 16 blue) over the image's 4x4 top-left block.
    int Average(int shift) {
        int sum = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) sum += (At(x, y) >> shift) & 0xFF;
        return sum / 16;
    }

private:
    TBitmap bitmap_;
};

int Channel(TColor c, int shift) { return (c >> shift) & 0xFF; }

struct ListHolder {
    TImageList* list = Make<TImageList>(nullptr);
    ~ListHolder() { FreeAndNil(list); }
};

TEST(ImageList, AddReplaceDeleteAndDrawReadBack) {
    ListHolder h;
    TImageList* list = h.list;
    int changes = 0;
    list->OnChange.Bind(&changes, [](void* c, TObject*) { ++*static_cast<int*>(c); });
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(list->HandleAllocated());

    auto red = Tile(clRed, clBlue);
    EXPECT_EQ(list->Add(red.get(), nullptr), 0);
    // A strip twice the width holds two images.
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(TPixelFormat::pf24bit);
    strip->SetSize(2 * kSize, kSize);
    strip->Canvas()->Brush()->SetColor(clLime);
    strip->Canvas()->FillRect(Rect(0, 0, kSize, kSize));
    strip->Canvas()->Brush()->SetColor(clYellow);
    strip->Canvas()->FillRect(Rect(kSize, 0, 2 * kSize, kSize));
    EXPECT_EQ(list->Add(strip.get(), nullptr), 1);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(changes, 2);

    Surface surface(clWhite);
    surface.Draw(list, 0, dsNormal);
    EXPECT_EQ(surface.At(0, 0), clRed);
    EXPECT_EQ(surface.At(5, 5), clBlue);
    EXPECT_EQ(surface.At(15, 15), clRed);
    EXPECT_EQ(surface.At(16, 16), clWhite);  // nothing past the image
    EXPECT_EQ(surface.At(-1, -1), clWhite);
    surface.Draw(list, 2, dsNormal);
    EXPECT_EQ(surface.At(3, 3), clYellow);

    auto green = Tile(clGreen);
    list->Replace(0, green.get(), nullptr);
    surface.Draw(list, 0, dsNormal);
    EXPECT_EQ(surface.At(5, 5), clGreen);
    EXPECT_EQ(list->Count(), 3);

    list->Delete(1);
    EXPECT_EQ(list->Count(), 2);
    surface.Draw(list, 1, dsNormal);
    EXPECT_EQ(surface.At(3, 3), clYellow);

    // Indexes out of range raise (changes) or do nothing (drawing).
    EXPECT_THROW(list->Replace(2, green.get(), nullptr), EInvalidOperation);
    EXPECT_THROW(list->Replace(-1, green.get(), nullptr), EInvalidOperation);
    EXPECT_THROW(list->Delete(5), EInvalidOperation);
    EXPECT_THROW(list->Add(nullptr, nullptr), EInvalidOperation);
    TBitmap empty;
    EXPECT_THROW(list->Add(&empty, nullptr), EInvalidOperation);
    Surface untouched(clWhite);
    untouched.Draw(list, 7, dsNormal);
    untouched.Draw(list, -1, dsNormal);
    EXPECT_EQ(untouched.At(3, 3), clWhite);

    const int before = changes;
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(changes, before + 1);
}

TEST(ImageList, MaskedImagesDrawThroughTheirMask) {
    ListHolder h;
    TImageList* list = h.list;
    // Fuchsia marks the transparent square; the caller's bitmap keeps its pixels.
    auto image = Tile(clBlue, clFuchsia);
    EXPECT_EQ(list->AddMasked(image.get(), clFuchsia), 0);
    EXPECT_EQ(image->Canvas()->Pixels(5, 5), clFuchsia);

    // A black-holed image with an explicit mask bitmap (white is transparent).
    auto holed = Tile(clRed, clBlack);
    auto mask = Tile(clBlack, clWhite);
    EXPECT_EQ(list->Add(holed.get(), mask.get()), 1);

    for (int index : {0, 1}) {
        SCOPED_TRACE(index);
        const TColor opaque = index == 0 ? clBlue : clRed;
        Surface transparent(clYellow);
        transparent.Draw(list, index, dsTransparent);
        EXPECT_EQ(transparent.At(5, 5), clYellow);
        EXPECT_EQ(transparent.At(0, 0), opaque);
        EXPECT_EQ(transparent.At(9, 9), opaque);

        // Without a background colour, normal drawing is transparent too.
        Surface normal(clYellow);
        normal.Draw(list, index, dsNormal);
        EXPECT_EQ(normal.At(5, 5), clYellow);
        EXPECT_EQ(normal.At(0, 0), opaque);

        Surface maskOnly(clYellow);
        maskOnly.Draw(list, index, dsMask);
        EXPECT_EQ(maskOnly.At(5, 5), clWhite);
        EXPECT_EQ(maskOnly.At(0, 0), clBlack);
    }

    // With a background colour, normal drawing fills the transparent parts with it.
    list->SetBkColor(clLime);
    Surface filled(clYellow);
    filled.Draw(list, 0, dsNormal);
    EXPECT_EQ(filled.At(5, 5), clLime);
    EXPECT_EQ(filled.At(0, 0), clBlue);
    Surface stillTransparent(clYellow);
    stillTransparent.Draw(list, 0, dsTransparent);
    EXPECT_EQ(stillTransparent.At(5, 5), clYellow);

    // ReplaceMasked swaps the picture and its mask.
    auto other = Tile(clGreen);
    other->Canvas()->Brush()->SetColor(clAqua);
    other->Canvas()->FillRect(Rect(0, 0, 2, 2));
    list->ReplaceMasked(1, other.get(), clAqua);
    EXPECT_EQ(other->Canvas()->Pixels(0, 0), clAqua);
    Surface replaced(clYellow);
    replaced.Draw(list, 1, dsTransparent);
    EXPECT_EQ(replaced.At(0, 0), clYellow);
    EXPECT_EQ(replaced.At(5, 5), clGreen);
    EXPECT_THROW(list->ReplaceMasked(2, other.get(), clAqua), EInvalidOperation);
}

TEST(ImageList, BlendedAndSelectedImagesMixInAColour) {
    ListHolder h;
    TImageList* list = h.list;
    auto image = Tile(clRed, clFuchsia);
    list->AddMasked(image.get(), clFuchsia);

    Surface plain(clWhite);
    plain.Draw(list, 0, dsTransparent);
    ASSERT_EQ(plain.At(0, 0), clRed);

    // Blending may mix each pixel or dither the two colours: either way a 4x4 block of the opaque part
    // averages half and half.
    list->SetBlendColor(clBlue);
    Surface blended(clWhite);
    blended.Draw(list, 0, dsBlend50);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(blended.Average(shift), (Channel(clRed, shift) + Channel(clBlue, shift)) / 2, 0x10) << shift;
    EXPECT_EQ(blended.At(5, 5), clWhite);  // the mask still applies

    Surface selected(clWhite);
    selected.Draw(list, 0, dsSelected);
    const TColor highlight = ColorToRGB(clHighlight);
    ASSERT_NE(highlight, clRed);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(selected.Average(shift), (Channel(clRed, shift) + Channel(highlight, shift)) / 2, 0x10)
            << shift << " highlight " << std::hex << highlight;
    EXPECT_EQ(selected.At(5, 5), clWhite);
}

TEST(ImageList, IconsGoInWithTheirMask) {
    ListHolder h;
    TImageList* list = h.list;
    // An icon: lime with a transparent square.
    auto colour = Tile(clLime, clBlack);
    auto mask = Tile(clBlack, clWhite);
    mask->SetMonochrome(true);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour->Handle();
    info.hbmMask = mask->Handle();
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    ASSERT_FALSE(icon.Empty());

    EXPECT_EQ(list->AddIcon(&icon), 0);
    Surface surface(clYellow);
    surface.Draw(list, 0, dsTransparent);
    EXPECT_EQ(surface.At(0, 0), clLime);
    EXPECT_EQ(surface.At(5, 5), clYellow);

    auto red = Tile(clRed);
    list->Add(red.get(), nullptr);
    list->ReplaceIcon(1, &icon);
    Surface again(clYellow);
    again.Draw(list, 1, dsTransparent);
    EXPECT_EQ(again.At(0, 0), clLime);
    EXPECT_EQ(again.At(5, 5), clYellow);

    TIcon none;
    EXPECT_THROW(list->AddIcon(&none), EInvalidOperation);
}

TEST(ImageList, SizeChangesStartAnEmptyList) {
    ListHolder h;
    TImageList* list = h.list;
    auto red = Tile(clRed);
    list->Add(red.get(), nullptr);
    int changes = 0;
    list->OnChange.Bind(&changes, [](void* c, TObject*) { ++*static_cast<int*>(c); });
    list->SetWidth(24);
    list->SetHeight(20);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list->Count(), 0);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list->Handle(), &cx, &cy));
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 20);
    EXPECT_THROW(list->SetWidth(0), EInvalidOperation);
    EXPECT_EQ(list->Width(), 24);

    // Without masks, a mask colour changes nothing: the picture shows as it is.
    list->SetWidth(kSize);
    list->SetHeight(kSize);
    list->SetMasked(false);
    auto image = Tile(clBlue, clFuchsia);
    EXPECT_EQ(list->AddMasked(image.get(), clFuchsia), 0);
    Surface surface(clYellow);
    surface.Draw(list, 0, dsTransparent);
    EXPECT_EQ(surface.At(5, 5), clFuchsia);
    EXPECT_EQ(surface.At(0, 0), clBlue);
}

TEST(ImageList, ASharedForeignHandleOutlivesTheObject) {
    HIMAGELIST foreign = ImageList_Create(32, 24, ILC_COLOR24 | ILC_MASK, 2, 2);
    ASSERT_NE(foreign, nullptr);
    {
        auto wide = std::make_unique<TBitmap>();
        wide->SetSize(32, 24);
        ASSERT_EQ(ImageList_Add(foreign, wide->Handle(), nullptr), 0);
    }

    TImageList* list = Make<TImageList>(nullptr);
    list->SetShareImages(true);
    int changes = 0;
    list->OnChange.Bind(&changes, [](void* c, TObject*) { ++*static_cast<int*>(c); });
    list->SetHandle(foreign);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list->Handle(), foreign);
    EXPECT_EQ(list->Width(), 32);
    EXPECT_EQ(list->Height(), 24);
    EXPECT_EQ(list->Count(), 1);
    list->Free();
    EXPECT_EQ(ImageList_GetImageCount(foreign), 1);

    // Letting go of a shared handle for another leaves it alone as well.
    TImageList* second = Make<TImageList>(nullptr);
    second->SetShareImages(true);
    second->SetHandle(foreign);
    second->SetHandle(nullptr);
    EXPECT_FALSE(second->HandleAllocated());
    EXPECT_EQ(ImageList_GetImageCount(foreign), 1);
    // A size change drops the foreign list for one of the object's own.
    second->SetHandle(foreign);
    second->SetWidth(16);
    EXPECT_NE(second->Handle(), foreign);
    second->Free();
    EXPECT_EQ(ImageList_GetImageCount(foreign), 1);

    // Released, a handle made by the object belongs to the caller.
    TImageList* third = Make<TImageList>(nullptr);
    HIMAGELIST made = third->Handle();
    EXPECT_EQ(third->ReleaseHandle(), made);
    third->Free();
    EXPECT_EQ(ImageList_GetImageCount(made), 0);
    EXPECT_TRUE(ImageList_Destroy(made));
    EXPECT_TRUE(ImageList_Destroy(foreign));
}

TEST(ImageList, PublishedProperties) {
    RegisterImageListClasses();
    RegisterImageListClasses();  // harmless twice
    const TClassInfo* cls = FindClass("TImageList");
    ASSERT_NE(cls, nullptr);
    ASSERT_TRUE(cls->CanCreate());
    TComponent* made = cls->Create(nullptr);
    auto* list = dynamic_cast<TImageList*>(made);
    ASSERT_NE(list, nullptr);
    for (const char* name : {"Width", "Height", "AllocBy", "ShareImages", "Masked", "BkColor", "BlendColor"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(FindProp(list, name), nullptr);
    }
    SetPropText(list, *FindProp(list, "Width"), "32");
    SetPropText(list, *FindProp(list, "Height"), "24");
    SetPropText(list, *FindProp(list, "AllocBy"), "8");
    SetPropText(list, *FindProp(list, "ShareImages"), "True");
    SetPropText(list, *FindProp(list, "BkColor"), "clRed");
    EXPECT_EQ(list->Width(), 32);
    EXPECT_EQ(list->Height(), 24);
    EXPECT_EQ(list->AllocBy(), 8);
    EXPECT_TRUE(list->ShareImages());
    EXPECT_EQ(list->BkColor(), clRed);
    EXPECT_EQ(GetPropText(list, *FindProp(list, "BkColor")), "clRed");
    ASSERT_NE(FindProp(list, "OnChange"), nullptr);
    list->Free();
}

}  // namespace
}  // namespace fw
