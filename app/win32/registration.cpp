#include "app/win32/registration.h"

#include "app/win32/dataGlobal.h"
#include "app/atshell.h"
#include "app/win32/formArcAddFiles.h"
#include "app/win32/formArcFindFiles.h"
#include "app/win32/formArcOpen.h"
#include "app/win32/formMapiMail.h"
#include "app/win32/email.h"
#include "app/win32/formArcExtract.h"
#include "app/win32/formArcVerify.h"
#include "app/win32/formAskDefault.h"
#include "app/win32/formOptions.h"
#include "app/win32/formOrganizeFavorites.h"
#include "app/win32/formOverwrite.h"
#include "app/win32/formQuickSearch.h"
#include "app/win32/formSplash.h"
#include "app/win32/formUUEncode.h"
#include "app/win32/formZipMain.h"
#include "engine/core/register_classes.h"
#include "engine/formats/arc/arc_component.h"
#include "engine/formats/arj/unarj/unarj_component.h"
#include "engine/formats/bh/bh_extract.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/formats/cab/makecab_component.h"
#include "engine/formats/cab/uncab_component.h"
#include "engine/formats/gzip/gzip_component.h"
#include "engine/formats/lzh/unlha/unlha_component.h"
#include "engine/formats/lzh/writer/lha_component.h"
#include "engine/formats/rar/unrar_component.h"
#include "engine/formats/tar/tar_component.h"
#include "engine/formats/uue/uu_decode.h"
#include "engine/formats/uue/uu_encode.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "engine/formats/zoo/zoo_component.h"
#include "engine/lister/krenlo.h"
#include "engine/zipcheck/zip_check.h"
#include "richtext/win32/rich_label.h"
#include "uisupport/controls/win32/controlsregister.h"
#include "uisupport/shell/win32/shellcontrols.h"
#include "uisupport/win32/helpmonitor.h"
#include "uisupport/win32/uisregister.h"
#include "widgets/win32/register.h"

namespace app {

void RegisterProgramClasses() {
    kvx::win32::KVXRegisterWin32Classes();
    uis::RegisterUISupportClasses();
    uis::RegisterUISupportControlClasses();
    uis::RegisterHelpMonitorClasses();
    uis::RegisterShellClasses();
    engine::RegisterClasses();
    engine::RegisterListerClasses();
    engine::RegisterUnZipClasses();
    engine::RegisterUnArcClasses();
    engine::RegisterUnArjClasses();
    engine::RegisterUnBhClasses();
    engine::RegisterUnGzipClasses();
    engine::RegisterUnTarClasses();
    engine::RegisterUnZooClasses();
    engine::RegisterUnLhaClasses();
    engine::RegisterUnCABClasses();
    engine::RegisterUnRARClasses();
    engine::RegisterUUDecodeClasses();
    engine::RegisterUUEncodeClasses();
    engine::RegisterZipWriterClasses();
    engine::RegisterBhWriterClasses();
    engine::RegisterLhaWriterClasses();
    engine::RegisterMakeCABClasses();
    engine::RegisterZipCheckClasses();
    rt::RegisterRichTextLabelClasses();
    RegisterATShellClass();
    RegisterGlobalClass();
    RegisterSplashClass();
    RegisterOverwriteClass();
    RegisterArcExtractClass();
    RegisterArcVerifyClass();
    RegisterAskDefaultClass();
    RegisterOptionsClass();
    RegisterArcAddFilesClass();
    RegisterArcFindFilesClass();
    RegisterArcOpenClass();
    RegisterQuickSearchClass();
    RegisterOrganizeFavoritesClass();
    RegisterUUEncodeFormClass();
    RegisterEmailClass();
    RegisterMapiMailClass();
    RegisterZipMainClass();
}

}  // namespace app
