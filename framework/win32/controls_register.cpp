// Published properties and events of the control classes, for form text.
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace fw {

void RegisterControlClasses() {
    RegisterClasses();
    RegisterGraphicsClasses();
    RegisterEnum<TAlign>({"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}, "TAlign");
    RegisterEnum<TAnchorKind>({"akLeft", "akTop", "akRight", "akBottom"}, "TAnchorKind");
    RegisterEnum<TDragMode>({"dmManual", "dmAutomatic"}, "TDragMode");
    RegisterEnum<TDragState>({"dsDragEnter", "dsDragLeave", "dsDragMove"}, "TDragState");
    RegisterEnum<TMouseButton>({"mbLeft", "mbRight", "mbMiddle"}, "TMouseButton");
    RegisterEnum<TShiftStateItem>({"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"},
                                  "TShiftState");

    Class<TSizeConstraints, TPersistent>("TSizeConstraints")
        .Prop("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
        .Prop("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
        .Prop("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
        .Prop("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth);

    Class<TControl, TComponent>("TControl")
        .Prop("Left", &TControl::Left, &TControl::SetLeft)
        .Prop("Top", &TControl::Top, &TControl::SetTop)
        .Prop("Width", &TControl::Width, &TControl::SetWidth)
        .Prop("Height", &TControl::Height, &TControl::SetHeight)
        .Prop("Align", &TControl::Align, &TControl::SetAlign)
        .Prop("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize)
        .Prop("Anchors", &TControl::Anchors, &TControl::SetAnchors)
        .Prop("Constraints", &TControl::Constraints, &TControl::SetConstraints)
        .Prop("Caption", &TControl::Caption, &TControl::SetCaption)
        .Prop("Color", &TControl::Color, &TControl::SetColor)
        .Idents(ColorIdentTable())
        .Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Prop("Font", &TControl::Font, &TControl::SetFont)
        .Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Prop("Visible", &TControl::Visible, &TControl::SetVisible)
        .Prop("Hint", &TControl::Hint, &TControl::SetHint)
        .Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
        .Prop("Cursor", &TControl::Cursor, &TControl::SetCursor)
        .Idents(CursorIdents())
        .Prop("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Prop("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext)
        .Prop("Action", &TControl::Action, &TControl::SetAction)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnMouseUp", &TControl::OnMouseUp)
        .Event("OnMouseEnter", &TControl::OnMouseEnter)
        .Event("OnMouseLeave", &TControl::OnMouseLeave)
        .Event("OnResize", &TControl::OnResize)
        .Prop("DragMode", &TControl::DragMode, &TControl::SetDragMode)
        .Prop("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor)
        .Idents(CursorIdents())
        .Event("OnDragOver", &TControl::OnDragOver)
        .Event("OnDragDrop", &TControl::OnDragDrop)
        .Event("OnEndDrag", &TControl::OnEndDrag)
        .Event("OnStartDrag", &TControl::OnStartDrag);

    Class<TWinControl, TControl>("TWinControl")
        .Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Prop("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D)
        .Prop("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyUp", &TWinControl::OnKeyUp)
        .Event("OnKeyPress", &TWinControl::OnKeyPress)
        .Event("OnMouseWheel", &TWinControl::OnMouseWheel);

    Class<TCustomControl, TWinControl>("TCustomControl").Event("OnPaint", &TCustomControl::OnPaint);
    Class<TGraphicControl, TControl>("TGraphicControl").Event("OnPaint", &TGraphicControl::OnPaint);
}

}  // namespace fw
