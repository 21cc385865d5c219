// A form's size limits and its stored placement, without a window: limits given in pixels or as
// fractions of the screen, the placement line "200,flags,showCmd,left,top,right,bottom", and how a
// stored line is applied to the window's current placement.
#pragma once

#include <string>

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"

namespace kvx {

enum class TKVXFormIniSaveOption { soColor, soFont, soPos, soSize, soState };
using TKVXFormIniSaveOptions = fw::Set<TKVXFormIniSaveOption>;
enum class TKVXFormOption { foAutoCenter, foAutoShow, foTryAdaptRes, foRestoreOnce };
using TKVXFormOptions = fw::Set<TKVXFormOption>;

struct TKVXScreenSize {
    int width = 0;
    int height = 0;
};

// The eight limits by index, as the form component publishes them.
enum TKVXFormLimit {
    flTrackMaxHeight,
    flTrackMaxWidth,
    flTrackMinHeight,
    flTrackMinWidth,
    flMaximizedHeight,
    flMaximizedWidth,
    flMaximizedPosX,
    flMaximizedPosY,
    kKVXFormLimits
};

// A value of 0 or more as it stands; -N is the screen's height (Vertical) or width divided by N.
int KVXResolveLimit(int value, bool vertical, TKVXScreenSize screen);

// The limits as written and their effective pixel values (0: no limit, or not set).
class TKVXFormLimits {
public:
    int Written(int index) const { return written_[index]; }
    int Effective(int index) const { return effective_[index]; }
    // Stores a limit: below -100 is ignored; a maximum below the effective minimum of its dimension,
    // or a minimum above its effective maximum, is refused. True when the value was taken.
    bool Write(int index, int value, TKVXScreenSize screen);
    // Every effective value afresh: the maxima capped at the screen, a minimum above its maximum
    // lowered to it.
    void Compute(TKVXScreenSize screen);

private:
    int written_[kKVXFormLimits] = {};
    int effective_[kKVXFormLimits] = {};
};

// The part of a window placement that is stored.
struct TKVXPlacementRecord {
    int flags = 0;
    int showCmd = 0;
    TRect normal;
};

std::string KVXPlacementText(const TKVXPlacementRecord& placement);
// True for exactly seven decimal integers of which the first is 200.
bool KVXParsePlacement(const std::string& text, TKVXPlacementRecord& record);

// What a stored line is applied with: the options saved, whether the stored show command is taken
// (foAutoShow), the form's bounds and the screen a window must be brought back onto.
struct TKVXPlacementContext {
    TKVXFormIniSaveOptions saved;
    bool autoShow = true;
    TRect formBounds;
    TRect screen;
};

// Applies Text to Placement; false (Placement untouched) when Text holds no valid record. Without
// foAutoShow the window keeps its own show command, and a window left of or above the screen is
// moved onto it as one beyond its right or bottom edge is.
bool KVXApplyPlacement(const std::string& text, const TKVXPlacementContext& context, TKVXPlacementRecord& placement);

// Dropped names change case in the ASCII letters only.
std::string KVXAsciiUpperCase(std::string text);
std::string KVXAsciiLowerCase(std::string text);

// The names of the form component's enumerations for form text. Harmless to repeat.
void KVXRegisterFormTypes();

}  // namespace kvx
