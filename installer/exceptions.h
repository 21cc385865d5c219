// The installer's exception family. Everything derives from fw::Exception, so the framework's callback
// barriers and the application handler treat installer errors like any other.
//
//   EAI                      EAIUserAbort, EAICannotExpandContainerDirMV, EAICannotExpandInstallDirMV
//   ECustomQuenfordAbnormal  EQuenfordAbnormal (EQnfdCompress with EqcDiskFull and EqcAborted;
//                            EAPIRoutines) and IException, the translatable errors (IE...)
//   EAIPMError               Program Manager over DDE (progman.h)
//   EIRCannotWriteValue      the registry writers
//   ENIL                     the net install location (with the ENIL_... classes)
//
// An IException's English text (or format) is translated into the current language before it is
// formatted; a translated format whose conversions differ from the English one is not used.
#pragma once

#include <initializer_list>
#include <string>

#include "framework/core/exceptions.h"
#include "framework/core/format.h"

namespace inst {

// The framework's base, unqualified so that the declaring macros can inherit its constructors.
using Exception = fw::Exception;

FW_DECLARE_EXCEPTION(EAI, Exception);
FW_DECLARE_EXCEPTION(EAICannotExpandContainerDirMV, EAI);
FW_DECLARE_EXCEPTION(EAICannotExpandInstallDirMV, EAI);

class EAIUserAbort : public EAI {
public:
    EAIUserAbort() : EAI("Installation aborted by the user") {}
};

FW_DECLARE_EXCEPTION(ECustomQuenfordAbnormal, Exception);
FW_DECLARE_EXCEPTION(EQuenfordAbnormal, ECustomQuenfordAbnormal);
FW_DECLARE_EXCEPTION(EQnfdCompress, EQuenfordAbnormal);
FW_DECLARE_EXCEPTION(EqcDiskFull, EQnfdCompress);
FW_DECLARE_EXCEPTION(EqcAborted, EQnfdCompress);
FW_DECLARE_EXCEPTION(EAPIRoutines, EQuenfordAbnormal);

// The translatable exception: the message is looked up by its English text first.
class IException : public ECustomQuenfordAbnormal {
public:
    explicit IException(const std::string& english);
    IException(const std::string& englishFormat, std::initializer_list<fw::FormatArg> args);
};

#define INST_DECLARE_IEXCEPTION(Name, Base) \
    class Name : public Base {              \
    public:                                 \
        using Base::Base;                   \
    }

INST_DECLARE_IEXCEPTION(IEInstall, IException);
INST_DECLARE_IEXCEPTION(IEInstallNetLocNil, IEInstall);
INST_DECLARE_IEXCEPTION(IEInstallContainer, IException);
INST_DECLARE_IEXCEPTION(IEContainerList, IException);
INST_DECLARE_IEXCEPTION(IECustomInstallFileList, IException);
INST_DECLARE_IEXCEPTION(IEPathSpecifier, IException);
INST_DECLARE_IEXCEPTION(IEPathSpecifierList, IException);
INST_DECLARE_IEXCEPTION(IEFileContainer, IException);
INST_DECLARE_IEXCEPTION(IEInstallGroup, IException);
INST_DECLARE_IEXCEPTION(IEFileRelated, IException);
INST_DECLARE_IEXCEPTION(IEFileRel_NoNetLocation, IEFileRelated);
INST_DECLARE_IEXCEPTION(IECustomInstallFile, IException);
INST_DECLARE_IEXCEPTION(IEfcDuplicateFile, IECustomInstallFile);
INST_DECLARE_IEXCEPTION(IENetList, IException);
INST_DECLARE_IEXCEPTION(IEUninstallEXE, IException);
INST_DECLARE_IEXCEPTION(IENoQuenfordPath, IException);
INST_DECLARE_IEXCEPTION(IEShellLinkGroup, IException);
INST_DECLARE_IEXCEPTION(IEInstallShellLink, IException);
INST_DECLARE_IEXCEPTION(IEInstallShellLinkList, IException);
INST_DECLARE_IEXCEPTION(IERegistryEntries, IException);
INST_DECLARE_IEXCEPTION(IERegistryEntry, IException);
INST_DECLARE_IEXCEPTION(IEInstallRegistry, IException);
INST_DECLARE_IEXCEPTION(IEInstallRegistryList, IException);

// A failure of the system's component object library, with the system's own text.
FW_DECLARE_EXCEPTION(EOleSysError, Exception);

FW_DECLARE_EXCEPTION(EIRCannotWriteValue, Exception);

FW_DECLARE_EXCEPTION(ENIL, Exception);
FW_DECLARE_EXCEPTION(ENIL_OpenSession, ENIL);
FW_DECLARE_EXCEPTION(ENIL_OpenService, ENIL);
FW_DECLARE_EXCEPTION(ENIL_FailDataQuery, ENIL);
FW_DECLARE_EXCEPTION(ENIL_ReadFile, ENIL);
FW_DECLARE_EXCEPTION(ENIL_FileNotFound, ENIL);
FW_DECLARE_EXCEPTION(ENIL_FTP, ENIL);
FW_DECLARE_EXCEPTION(ENIL_FTPSetDir, ENIL_FTP);
FW_DECLARE_EXCEPTION(ENIL_FTPOpenFile, ENIL_FTP);
FW_DECLARE_EXCEPTION(ENIL_FTPCloseFile, ENIL_FTP);
FW_DECLARE_EXCEPTION(ENIL_HTTP, ENIL);
FW_DECLARE_EXCEPTION(ENIL_HTTPOpenFile, ENIL_HTTP);
FW_DECLARE_EXCEPTION(ENIL_HTTPSendRequest, ENIL_HTTP);
FW_DECLARE_EXCEPTION(ENIL_WriteDestFile, Exception);
FW_DECLARE_EXCEPTION(ENIL_FailLoadWININET, Exception);
FW_DECLARE_EXCEPTION(ENIL_FailLoadDLLProc, Exception);

}  // namespace inst
