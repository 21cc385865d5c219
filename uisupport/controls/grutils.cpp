#include "uisupport/controls/grutils.h"

namespace uis {

namespace {

fw::TColor PlainColor(fw::TColor color) { return fw::IsSystemColor(color) ? fw::clBlack : color; }

ColorResolver g_resolver = &PlainColor;

}  // namespace

void SetColorResolver(ColorResolver resolver) { g_resolver = resolver ? resolver : &PlainColor; }

fw::TColor ResolveColor(fw::TColor color) { return g_resolver(color); }

int GetRed(fw::TColor color) { return fw::GetRValue(ResolveColor(color)); }
int GetGreen(fw::TColor color) { return fw::GetGValue(ResolveColor(color)); }
int GetBlue(fw::TColor color) { return fw::GetBValue(ResolveColor(color)); }

fw::TColor ComposeColor(int red, int green, int blue) { return fw::RGB(red, green, blue); }

fw::TColor BlendColors(fw::TColor a, fw::TColor b) {
    return ComposeColor((GetRed(a) + GetRed(b)) / 2, (GetGreen(a) + GetGreen(b)) / 2, (GetBlue(a) + GetBlue(b)) / 2);
}

}  // namespace uis
