// Colours, identifier tables and the registration of the graphics classes.
#include "framework/win32/graphics.h"

namespace fw {

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return static_cast<TColor>(GetSysColor(color & 0xFF));
    if (color == clNone || color == clDefault) return clBlack;
    return color & 0x00FFFFFF;
}

const IdentTable& ColorIdentTable() {
    static const IdentTable table = [] {
        IdentTable t;
        t.hexFallback = true;
        for (const auto& [value, name] : ColorIdents()) t.idents.emplace_back(name, static_cast<int64_t>(value));
        return t;
    }();
    return table;
}

const IdentTable& CharsetIdentTable() {
    static const IdentTable table{{{"ANSI_CHARSET", ANSI_CHARSET},
                                   {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                   {"SYMBOL_CHARSET", SYMBOL_CHARSET},
                                   {"MAC_CHARSET", MAC_CHARSET},
                                   {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
                                   {"HANGEUL_CHARSET", HANGEUL_CHARSET},
                                   {"JOHAB_CHARSET", JOHAB_CHARSET},
                                   {"GB2312_CHARSET", GB2312_CHARSET},
                                   {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
                                   {"GREEK_CHARSET", GREEK_CHARSET},
                                   {"TURKISH_CHARSET", TURKISH_CHARSET},
                                   {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
                                   {"HEBREW_CHARSET", HEBREW_CHARSET},
                                   {"ARABIC_CHARSET", ARABIC_CHARSET},
                                   {"BALTIC_CHARSET", BALTIC_CHARSET},
                                   {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
                                   {"THAI_CHARSET", THAI_CHARSET},
                                   {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
                                   {"OEM_CHARSET", OEM_CHARSET}},
                                  false};
    return table;
}

void RegisterGraphicsClasses() {
    RegisterClasses();
    RegisterEnum<TFontStyle>({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, "TFontStyle");
    RegisterEnum<TFontPitch>({"fpDefault", "fpVariable", "fpFixed"}, "TFontPitch");
    RegisterEnum<TBrushStyle>({"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                               "bsCross", "bsDiagCross"},
                              "TBrushStyle");
    RegisterEnum<TPenStyle>({"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
                            "TPenStyle");
    RegisterEnum<TPenMode>({"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                            "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                            "pmNotMask", "pmXor", "pmNotXor"},
                           "TPenMode");
    RegisterEnum<TPixelFormat>({"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit",
                                "pfCustom"},
                               "TPixelFormat");
    RegisterEnum<TBitmapHandleType>({"bmDIB", "bmDDB"}, "TBitmapHandleType");
    RegisterEnum<TTransparentMode>({"tmAuto", "tmFixed"}, "TTransparentMode");

    Class<TGraphicsObject, TPersistent>("TGraphicsObject");
    Class<TFont, TGraphicsObject>("TFont")
        .Prop("Charset", &TFont::Charset, &TFont::SetCharset)
        .Idents(CharsetIdentTable())
        .Prop("Color", &TFont::Color, &TFont::SetColor)
        .Idents(ColorIdentTable())
        .Prop("Height", &TFont::Height, &TFont::SetHeight)
        .Prop("Name", &TFont::Name, &TFont::SetName)
        .Prop("Pitch", &TFont::Pitch, &TFont::SetPitch)
        .Prop("Size", &TFont::Size, &TFont::SetSize)
        .Stored(false)  // Height carries it
        .Prop("Style", &TFont::Style, &TFont::SetStyle);
    Class<TBrush, TGraphicsObject>("TBrush")
        .Prop("Color", &TBrush::Color, &TBrush::SetColor)
        .Idents(ColorIdentTable())
        .Prop("Style", &TBrush::Style, &TBrush::SetStyle);
    Class<TPen, TGraphicsObject>("TPen")
        .Prop("Color", &TPen::Color, &TPen::SetColor)
        .Idents(ColorIdentTable())
        .Prop("Mode", &TPen::Mode, &TPen::SetMode)
        .Prop("Style", &TPen::Style, &TPen::SetStyle)
        .Prop("Width", &TPen::Width, &TPen::SetWidth);
    Class<TCanvas, TPersistent>("TCanvas");
    Class<TGraphic, TPersistent>("TGraphic");
    Class<TBitmap, TGraphic>("TBitmap");
    Class<TIcon, TGraphic>("TIcon");
    Class<TPicture, TPersistent>("TPicture");

    const TGraphicClass bitmap{"TBitmap", &NewGraphic<TBitmap>};
    const TGraphicClass icon{"TIcon", &NewGraphic<TIcon>};
    TPicture::RegisterFileFormat("bmp", "Bitmaps", bitmap);
    TPicture::RegisterFileFormat("ico", "Icons", icon);
    TPicture::RegisterFileFormat("cur", "Cursors", icon);
    TPicture::RegisterClipboardFormat(CF_BITMAP, bitmap);
    TPicture::RegisterClipboardFormat(CF_DIB, bitmap);
}

}  // namespace fw
