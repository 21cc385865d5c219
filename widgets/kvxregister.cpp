#include "widgets/kvxregister.h"

#include "framework/core/rtti.h"
#include "widgets/datetimevalue.h"
#include "widgets/drawtypes.h"
#include "widgets/inictrl.h"
#include "widgets/kvxapplication.h"
#include "widgets/kvxcont.h"
#include "widgets/kvxgraph.h"
#include "widgets/kvxlists.h"
#include "widgets/kvxwave.h"
#include "widgets/shapegeometry.h"
#include "widgets/timerpool.h"

namespace kvx {

void KVXRegisterClasses() {
    using fw::Class;
    fw::RegisterClasses();
    fw::RegisterEnum<TKVXPathPrefix>({"ppWindows", "ppSystem", "ppProgram", "ppFixed"}, "TKVXPathPrefix");
    fw::RegisterEnum<TKVXRegRootKey>(
        {"rpClassesRoot", "rpCurrentUser", "rpLocalMachine", "rpUsers", "rpCurrentConfig", "rpDynData"}, "TKVXRegRootKey");
    fw::RegisterEnum<TKVXIniTarget>({"itIniFile", "itRegistry", "itAuto"}, "TKVXIniTarget");
    fw::RegisterEnum<TKVXApplicationOption>({"aoAutoRealizePalette", "aoMouseCtrlActive", "aoLogAlwaysClear",
                                             "aoLogException", "aoLogHeader", "aoLogNr", "aoLogTime"},
                                            "TKVXApplicationOption");
    fw::RegisterEnum<TKVXLogAction>({"laNone", "laClearLog", "laBackupLog"}, "TKVXLogAction");

    Class<TKVXObject, fw::TPersistent>("TKVXObject")
        .Event("OnChange", static_cast<TNotifyEvent TKVXObject::*>(&TKVXObject::OnChange));
    Class<TKVXComponent, fw::TComponent>("TKVXComponent").Data("About", &TKVXComponent::About);
    Class<TKVXTimerPool, TKVXComponent>("TKVXTimerPool")
        .Prop("MinInterval", &TKVXTimerPool::MinInterval, &TKVXTimerPool::SetMinInterval)
        .Event("OnTimer", &TKVXTimerPool::OnTimer);
    Class<TKVXIniCtrl, TKVXComponent>("TKVXIniCtrl")
        .Data("Common", &TKVXIniCtrl::Common)
        .Data("User", &TKVXIniCtrl::User)
        .Data("IniPrefix", &TKVXIniCtrl::IniPrefix)
        .Data("RegRoot", &TKVXIniCtrl::RegRoot)
        .Data("RegPath", &TKVXIniCtrl::RegPath)
        .Prop("NetUser", &TKVXIniCtrl::NetUser, &TKVXIniCtrl::SetNetUser)
        .Prop("IniFile", &TKVXIniCtrl::IniFile, &TKVXIniCtrl::SetIniFile)
        .Prop("AlphaCounter", &TKVXIniCtrl::AlphaCounter, &TKVXIniCtrl::SetAlphaCounter)
        .Prop("MaxEntries", &TKVXIniCtrl::MaxEntries, &TKVXIniCtrl::SetMaxEntries)
        .Prop("Target", &TKVXIniCtrl::Target, &TKVXIniCtrl::SetTarget);
    Class<TKVXApplication, fw::TComponent>("TKVXApplication");
    Class<TKVXDateTime, TKVXObject>("TKVXDateTime")
        .Prop("Day", &TKVXDateTime::Day, &TKVXDateTime::SetDay)
        .Prop("Month", &TKVXDateTime::Month, &TKVXDateTime::SetMonth)
        .Prop("Year", &TKVXDateTime::Year, &TKVXDateTime::SetYear)
        .Prop("Hour", &TKVXDateTime::Hour, &TKVXDateTime::SetHour)
        .Prop("Minute", &TKVXDateTime::Minute, &TKVXDateTime::SetMinute)
        .Prop("Second", &TKVXDateTime::Second, &TKVXDateTime::SetSecond);

    KVXRegisterDrawTypes();
    KVXRegisterGraphClasses();
    KVXRegisterShapeClasses();
    Class<TKVXWave, TKVXObject>("TKVXWave");
    Class<TKVXBaseContainer, TKVXComponent>("TKVXBaseContainer");
    Class<TKVXListItem, TKVXComponent>("TKVXListItem")
        .Prop("Compressed", &TKVXListItem::Compressed, &TKVXListItem::SetCompressed);
    Class<TKVXCustomContainer, TKVXBaseContainer>("TKVXCustomContainer");
    Class<TKVXStringListItem, TKVXListItem>("TKVXStringListItem")
        .Prop("Description", &TKVXListItem::Description, &TKVXListItem::SetDescription)
        .Prop("Ident", &TKVXListItem::Ident, &TKVXListItem::SetIdent)
        .Prop("Items", &TKVXStringListItem::Items, &TKVXStringListItem::SetItems)
        .Stored(false);
    Class<TKVXStringList, TKVXCustomContainer>("TKVXStringList");
    Class<TKVXWaveListItem, TKVXListItem>("TKVXWaveListItem")
        .Prop("Description", &TKVXListItem::Description, &TKVXListItem::SetDescription)
        .Prop("Ident", &TKVXListItem::Ident, &TKVXListItem::SetIdent)
        .Prop("Wave", &TKVXWaveListItem::Wave, &TKVXWaveListItem::SetWave)
        .Stored(false);
    Class<TKVXWaveList, TKVXCustomContainer>("TKVXWaveList");
}

}  // namespace kvx
