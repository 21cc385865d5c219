// The arithmetic of check boxes, radio buttons and their groups, without a window: the toggle cycle,
// the glyph cell a state paints, a check group's Value as a bit set, a radio group's ItemIndex range,
// the help numbers of a group's buttons and the arrangement of the buttons in columns.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/controltypes.h"

namespace kvx {

// In the order of the framework's check-box states.
enum class TKVXCheckState : uint8_t { Unchecked, Checked, Grayed };

// A user's toggle: unchecked goes to grayed when AllowGrayed, else to checked; checked to unchecked;
// grayed to checked.
TKVXCheckState KVXToggleState(TKVXCheckState state, bool allowGrayed);

// The cell of the glyph strip for a check box: the odd cells are the disabled looks; a strip of
// GlyphNumber states (at least 1) shows its last state for any state beyond it.
int KVXCheckGlyphCell(TKVXCheckState state, int glyphNumber, bool enabled);
// The cell for a radio button: unchecked, checked (each with its disabled look), or with a non-zero
// StateIndex the pair 2 x StateIndex - 2.
int KVXRadioGlyphCell(bool checked, bool enabled, int stateIndex);
// The cells of the built-in strips.
constexpr int kKVXCheckGlyphCells = 6;
constexpr int kKVXRadioGlyphCells = 4;

// A check group's Value holds one bit per button; only the first 31 buttons fit in the positive
// 32-bit number. Later buttons are not counted.
constexpr int kKVXCheckGroupBits = 31;
// The sum of 2^i over the checked buttons i (below kKVXCheckGroupBits).
int32_t KVXCheckGroupValue(const std::vector<bool>& checked);
// Whether button Index is checked by Value: a negative Value checks nothing.
bool KVXCheckGroupBit(int32_t value, int index);

// A radio group's ItemIndex for Count buttons: -1 (none) up to Count - 1.
int KVXClampItemIndex(int index, int count);
// Columns are kept from 1 to 12.
int KVXClampColumns(int columns);

enum class TKVXChildHelpContextID { ciDefault, ciSameAsParent, ciAutoNumbered };
// The HelpContext of button Index of a group whose own HelpContext is GroupContext.
int KVXChildHelpContext(TKVXChildHelpContextID mode, int groupContext, int index);

struct TKVXButtonArrange {
    int width = 0, height = 0;  // the group's size
    int bevelWidth = 0;         // the width of the group's frame
    int captionExtent = 0;      // the height of the caption's line
    TKVXGroupCaptionAlign align = TKVXGroupCaptionAlign::gcaTopLeft;
    int count = 0;
    int columns = 1;
    int itemHeight = -1;  // -1: the buttons share the height
    int itemOffset = 4;
};
// The bounds of every button: the buttons fill a column top to bottom before the next one.
std::vector<TRect> KVXArrangeButtons(const TKVXButtonArrange& a);

}  // namespace kvx
