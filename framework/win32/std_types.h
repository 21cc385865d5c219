// Small value types shared by the standard controls.
#pragma once

namespace fw {

// A control's own frame: none, or the sunken client edge.
enum class TBorderStyle { bsNone, bsSingle };
// Horizontal placement of a caption or text.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// Which side of a check box or radio button its caption takes.
enum class TLeftRight { taLeftJustify, taRightJustify };

// Registers the enumerations above (and the control classes they follow). Idempotent.
void RegisterStdTypes();

}  // namespace fw
