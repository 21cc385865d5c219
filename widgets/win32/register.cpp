#include "widgets/win32/register.h"

#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"
#include "framework/win32/menus.h"
#include "framework/win32/threads.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxregister.h"
#include "widgets/win32/buttonsregister.h"
#include "widgets/win32/caption.h"
#include "widgets/win32/controlregister.h"
#include "widgets/win32/editregister.h"
#include "widgets/win32/fillobjects.h"
#include "widgets/win32/kvxcontainer.h"
#include "widgets/win32/applicationctrl.h"
#include "widgets/win32/filectrl.h"
#include "widgets/win32/fmdrop.h"
#include "widgets/win32/hitimer.h"
#include "widgets/win32/starter.h"
#include "widgets/win32/sysinfo.h"
#include "widgets/win32/trayicon.h"
#include "widgets/win32/formregister.h"
#include "widgets/win32/listregister.h"
#include "widgets/win32/kvxform.h"
#include "widgets/win32/browsedlg.h"
#include "widgets/win32/panelsregister.h"

namespace kvx::win32 {

namespace {

void RegisterGraphicObjects() {
    using fw::Class;
    const fw::IdentTable& colors = KVXColorIdentTable();
    Class<TKVXGradient, TKVXObject>("TKVXGradient")
        .Prop("Color", &TKVXGradient::Color, &TKVXGradient::SetColor)
        .Idents(colors)
        .Prop("ColorCount", &TKVXGradient::ColorCount, &TKVXGradient::SetColorCount)
        .Prop("EndColor", &TKVXGradient::EndColor, &TKVXGradient::SetEndColor)
        .Idents(colors)
        .Prop("PaletteRealize", &TKVXGradient::PaletteRealize, &TKVXGradient::SetPaletteRealize)
        .Prop("Style", &TKVXGradient::Style, &TKVXGradient::SetStyle);
    Class<TKVXCaption, TKVXObject>("TKVXCaption")
        .Prop("Alignment", &TKVXCaption::Alignment, &TKVXCaption::SetAlignment)
        .Prop("Caption", &TKVXCaption::Caption, &TKVXCaption::SetCaption)
        .Prop("Font", &TKVXCaption::Font, &TKVXCaption::SetFont)
        .Prop("FontFx", &TKVXCaption::FontFx, &TKVXCaption::SetFontFx)
        .Prop("MultiLine", &TKVXCaption::MultiLine, &TKVXCaption::SetMultiLine);
    Class<TKVXShapeFill, TKVXObject>("TKVXShapeFill")
        .Prop("Bitmap", &TKVXShapeFill::Bitmap, &TKVXShapeFill::SetBitmap)
        .Prop("Gradient", &TKVXShapeFill::Gradient, &TKVXShapeFill::SetGradient)
        .Prop("Style", &TKVXShapeFill::Style, &TKVXShapeFill::SetStyle)
        .Prop("TileMode", &TKVXShapeFill::TileMode, &TKVXShapeFill::SetTileMode);
    Class<TKVXFillObject, TKVXShapeFill>("TKVXFillObject")
        .Prop("Alignment", &TKVXFillObject::Alignment, &TKVXFillObject::SetAlignment)
        .Prop("Brush", &TKVXFillObject::Brush, &TKVXFillObject::SetBrush)
        .Prop("OffsetX", 0, &TKVXFillObject::GetOffset, &TKVXFillObject::SetOffset)
        .Prop("OffsetY", 1, &TKVXFillObject::GetOffset, &TKVXFillObject::SetOffset)
        .Prop("Options", &TKVXFillObject::Options, &TKVXFillObject::SetOptions);
}

void RegisterImageLists() {
    using fw::Class;
    Class<TKVXCustomImageList, TKVXCustomContainer>("TKVXCustomImageList")
        .Prop("DefaultCompressed", &TKVXCustomImageList::DefaultCompressed, &TKVXCustomImageList::SetDefaultCompressed)
        .Prop("DefaultPixelFormat", &TKVXCustomImageList::DefaultPixelFormat, &TKVXCustomImageList::SetDefaultPixelFormat);
    Class<TKVXBitmapListItem, TKVXListItem>("TKVXBitmapListItem")
        .Prop("Description", &TKVXListItem::Description, &TKVXListItem::SetDescription)
        .Prop("Ident", &TKVXListItem::Ident, &TKVXListItem::SetIdent)
        .Prop("Bitmap", &TKVXBitmapListItem::Bitmap, &TKVXBitmapListItem::SetBitmap)
        .Stored(false);
    Class<TKVXBitmapList, TKVXCustomImageList>("TKVXBitmapList");
    Class<TKVXImageListItem, TKVXListItem>("TKVXImageListItem")
        .Prop("AllocBy", &TKVXImageListItem::AllocBy, &TKVXImageListItem::SetAllocBy)
        .Prop("Description", &TKVXListItem::Description, &TKVXListItem::SetDescription)
        .Prop("Masked", &TKVXImageListItem::Masked, &TKVXImageListItem::SetMasked)
        .Prop("Height", 1, &TKVXImageListItem::GetSize, &TKVXImageListItem::SetSize)
        .Prop("Width", 0, &TKVXImageListItem::GetSize, &TKVXImageListItem::SetSize);
    Class<TKVXImageList, TKVXCustomImageList>("TKVXImageList");
    Class<TKVXContainer, TKVXBaseContainer>("TKVXContainer");
}

}  // namespace

void KVXRegisterWin32Classes() {
    using fw::Class;
    KVXRegisterClasses();
    fw::RegisterGraphicsClasses();
    fw::RegisterThreadClasses();
    fw::RegisterEnum<TKVXCharCase>({"ccNormal", "ccLowerCase", "ccUpperCase"}, "TKVXCharCase");
    fw::RegisterEnum<TKVXStarterOperation>({"smOpen", "smPrint", "smExplore"}, "TKVXStarterOperation");
    fw::RegisterEnum<TKVXStarterOptions>({"soSW_HIDE", "soSW_MAXIMIZE", "soSW_MINIMIZE", "soSW_RESTORE", "soSW_SHOW",
                                          "soSW_SHOWMAXIMIZED", "soSW_SHOWMINIMIZED", "soSW_SHOWMINNOACTIVE",
                                          "soSW_SHOWNA", "soSW_SHOWNORMAL"},
                                         "TKVXStarterOptions");
    fw::RegisterEnum<TKVXFileOpFlag>({"ffFilesOnly", "ffNoActionConfirm", "ffNoMKDIRConfirm", "ffRenameFileOnCollision",
                                      "ffShowNoErrors", "ffShowNoProgress", "ffSimpleProgress", "ffUseRecycleBin"},
                                     "TKVXFileOpFlag");

    Class<TKVXWndProcComponent, TKVXComponent>("TKVXWndProcComponent");
    Class<TKVXApplicationCtrl, TKVXComponent>("TKVXApplicationCtrl")
        .Data("Company", &TKVXApplicationCtrl::Company)
        .Data("Options", &TKVXApplicationCtrl::Options)
        .Data("Version", &TKVXApplicationCtrl::Version)
        .Data("LogMaxAction", &TKVXApplicationCtrl::LogMaxAction)
        .Data("LogMaxsize", &TKVXApplicationCtrl::LogMaxsize)
        .Data("LogPrefix", &TKVXApplicationCtrl::LogPrefix)
        .Prop("LogName", &TKVXApplicationCtrl::LogName, &TKVXApplicationCtrl::SetLogName)
        .Data("DlgEffectDelay", &TKVXApplicationCtrl::DlgEffectDelay)
        .Data("IniFile", &TKVXApplicationCtrl::IniFile)
        .Data("IniPrefix", &TKVXApplicationCtrl::IniPrefix)
        .Data("RegPath", &TKVXApplicationCtrl::RegPath)
        .Data("RegRoot", &TKVXApplicationCtrl::RegRoot)
        .Data("IniTarget", &TKVXApplicationCtrl::IniTarget)
        .Data("HintColor", &TKVXApplicationCtrl::HintColor)
        .Data("HintPause", &TKVXApplicationCtrl::HintPause)
        .Data("HintHidePause", &TKVXApplicationCtrl::HintHidePause)
        .Data("HintShortPause", &TKVXApplicationCtrl::HintShortPause)
        .Prop("Icon", &TKVXApplicationCtrl::Icon)
        .Data("HelpFile", &TKVXApplicationCtrl::HelpFile)
        .Data("ShowHint", &TKVXApplicationCtrl::ShowHint)
        .Data("Title", &TKVXApplicationCtrl::Title)
        .Data("UpdateFormatSettings", &TKVXApplicationCtrl::UpdateFormatSettings)
        .Event("OnException", &TKVXApplicationCtrl::OnException)
        .Event("OnMaxLogSize", &TKVXApplicationCtrl::OnMaxLogSize)
        .Event("OnActivate", &TKVXApplicationCtrl::OnActivate)
        .Event("OnDeactivate", &TKVXApplicationCtrl::OnDeactivate)
        .Event("OnHelp", &TKVXApplicationCtrl::OnHelp)
        .Event("OnIdle", &TKVXApplicationCtrl::OnIdle)
        .Event("OnMessage", &TKVXApplicationCtrl::OnMessage)
        .Event("OnMinimize", &TKVXApplicationCtrl::OnMinimize)
        .Event("OnHint", &TKVXApplicationCtrl::OnHint)
        .Event("OnRestore", &TKVXApplicationCtrl::OnRestore)
        .Event("OnEditModeChange", &TKVXApplicationCtrl::OnEditModeChange);
    Class<TKVXSysInfo, TKVXComponent>("TKVXSysInfo")
        .Prop("NumLockState", &TKVXSysInfo::NumLockState, &TKVXSysInfo::SetNumLockState)
        .Prop("CapsLockState", &TKVXSysInfo::CapsLockState, &TKVXSysInfo::SetCapsLockState)
        .Prop("ScrollLockState", &TKVXSysInfo::ScrollLockState, &TKVXSysInfo::SetScrollLockState)
        .Prop("WindowAnimation", &TKVXSysInfo::WindowAnimation, &TKVXSysInfo::SetWindowAnimation)
        .Prop("WarningBeep", &TKVXSysInfo::WarningBeep, &TKVXSysInfo::SetWarningBeep)
        .Prop("ScreenSaveActive", &TKVXSysInfo::ScreenSaveActive, &TKVXSysInfo::SetScreenSaveActive)
        .Prop("FontSmoothing", &TKVXSysInfo::FontSmoothing, &TKVXSysInfo::SetFontSmoothing)
        .Prop("DragFullWindows", &TKVXSysInfo::DragFullWindows, &TKVXSysInfo::SetDragFullWindows)
        .Prop("SnapToDefaultButton", &TKVXSysInfo::SnapToDefaultButton, &TKVXSysInfo::SetSnapToDefaultButton)
        .Prop("KeyboardDelay", &TKVXSysInfo::KeyboardDelay, &TKVXSysInfo::SetKeyboardDelay)
        .Prop("KeyboardSpeed", &TKVXSysInfo::KeyboardSpeed, &TKVXSysInfo::SetKeyboardSpeed)
        .Prop("CurrentUser", &TKVXSysInfo::CurrentUser)
        .Prop("Computername", &TKVXSysInfo::Computername)
        .Prop("Platform", &TKVXSysInfo::Platform)
        .Prop("TempPath", &TKVXSysInfo::TempPath)
        .Prop("WinPath", &TKVXSysInfo::WinPath)
        .Prop("WinSysPath", &TKVXSysInfo::WinSysPath)
        .Prop("VersionWIN", &TKVXSysInfo::VersionWIN)
        .Prop("ProcessorType", &TKVXSysInfo::ProcessorType)
        .Prop("MemoryLoaded", &TKVXSysInfo::MemoryLoaded)
        .Prop("ColorDepth", &TKVXSysInfo::ColorDepth);
    Class<TKVXHiTimer, TKVXComponent>("TKVXHiTimer")
        .Prop("Enabled", &TKVXHiTimer::Enabled, &TKVXHiTimer::SetEnabled)
        .Prop("Interval", &TKVXHiTimer::Interval, &TKVXHiTimer::SetInterval)
        .Prop("ThreadPriority", &TKVXHiTimer::ThreadPriority, &TKVXHiTimer::SetThreadPriority)
        .Prop("Synchronize", &TKVXHiTimer::Synchronize, &TKVXHiTimer::SetSynchronize)
        .Prop("UseThread", &TKVXHiTimer::UseThread, &TKVXHiTimer::SetUseThread);
    Class<TKVXHookComponent, TKVXComponent>("TKVXHookComponent")
        .Prop("Control", &TKVXHookComponent::Control, &TKVXHookComponent::SetControl)
        .Prop("Enabled", &TKVXHookComponent::Enabled, &TKVXHookComponent::SetEnabled);
    Class<TKVXFMDrop, TKVXHookComponent>("TKVXFMDrop")
        .Data("CharCase", &TKVXFMDrop::CharCase)
        .Event("OnFMDragDrop", &TKVXFMDrop::OnFMDragDrop);
    Class<TKVXStarter, TKVXComponent>("TKVXStarter")
        .Data("StartOperation", &TKVXStarter::StartOperation)
        .Data("StartOption", &TKVXStarter::StartOption)
        .Prop("Command", 0, &TKVXStarter::GetString, &TKVXStarter::SetString)
        .Prop("Parameters", 1, &TKVXStarter::GetString, &TKVXStarter::SetString)
        .Prop("DefaultDir", 2, &TKVXStarter::GetString, &TKVXStarter::SetString)
        .Prop("AutoStart", &TKVXStarter::AutoStart, &TKVXStarter::SetAutoStart)
        .Data("Wait", &TKVXStarter::Wait)
        .Prop("StartTime", &TKVXStarter::StartTime, &TKVXStarter::SetStartTime)
        .Event("OnError", &TKVXStarter::OnError)
        .Event("OnFinished", &TKVXStarter::OnFinished)
        .Event("OnBeforeStart", &TKVXStarter::OnBeforeStart)
        .Event("OnAfterStart", &TKVXStarter::OnAfterStart);
    Class<TKVXFileCtrl, TKVXComponent>("TKVXFileCtrl")
        .Prop("FileName", &TKVXFileCtrl::FileName, &TKVXFileCtrl::SetFileName)
        .Data("Options", &TKVXFileCtrl::Options);
    Class<TKVXTrayIcon, TKVXWndProcComponent>("TKVXTrayIcon")
        .Prop("Active", &TKVXTrayIcon::Active, &TKVXTrayIcon::SetActive)
        .Data("NoClose", &TKVXTrayIcon::NoClose)
        .Prop("Hint", &TKVXTrayIcon::Hint, &TKVXTrayIcon::SetHint)
        .Prop("Icon", &TKVXTrayIcon::Icon, &TKVXTrayIcon::SetIcon)
        .Prop("PopUpMenu", &TKVXTrayIcon::PopUpMenu, &TKVXTrayIcon::SetPopUpMenu)
        .Event("OnClick", &TKVXTrayIcon::OnClick)
        .Event("OnDblClick", &TKVXTrayIcon::OnDblClick)
        .Event("OnPopUp", &TKVXTrayIcon::OnPopUp)
        .Event("OnMouseDown", &TKVXTrayIcon::OnMouseDown)
        .Event("OnMouseUp", &TKVXTrayIcon::OnMouseUp)
        .Event("OnMouseMove", &TKVXTrayIcon::OnMouseMove);

    RegisterGraphicObjects();
    RegisterImageLists();
    KVXRegisterControlClasses();
    KVXRegisterEditClasses();
    KVXRegisterFormClasses();
    KVXRegisterListClasses();
    KVXRegisterButtonControlClasses();
    KVXRegisterFormPlacementClasses();
    KVXRegisterBrowseClasses();
    KVXRegisterPanelFillClasses();
}

}  // namespace kvx::win32
