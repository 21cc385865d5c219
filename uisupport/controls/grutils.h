// Colour routines of the shaped button: channels, composition and blending.
#pragma once

#include "framework/core/graphics_values.h"

namespace uis {

// How system colours become RGB: the window layer installs the system's answer; natively a system
// colour is taken as black.
using ColorResolver = fw::TColor (*)(fw::TColor color);
void SetColorResolver(ColorResolver resolver);
fw::TColor ResolveColor(fw::TColor color);

// The channel (0 to 255) of a colour after converting system colours to RGB.
int GetRed(fw::TColor color);
int GetGreen(fw::TColor color);
int GetBlue(fw::TColor color);
fw::TColor ComposeColor(int red, int green, int blue);
// Per channel the average of the two colours, the fraction dropped.
fw::TColor BlendColors(fw::TColor a, fw::TColor b);

}  // namespace uis
