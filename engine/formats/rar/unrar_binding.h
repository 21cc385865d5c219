// The UnRAR library's seven entry points, bound by name when the engine first needs them: the
// library "UnRAR" on Windows (ours, or any replacement with the same interface); natively the library
// that the program links in and provides. A missing library, or one that lacks an entry point,
// leaves stubs.
#pragma once

#include <string>

#include "engine/formats/rar/unrar_api.h"

namespace engine {

struct UnRARFunctions {
    decltype(&RAROpenArchive) OpenArchive;
    decltype(&RARCloseArchive) CloseArchive;
    decltype(&RARReadHeader) ReadHeader;
    decltype(&RARProcessFile) ProcessFile;
    decltype(&RARSetChangeVolProc) SetChangeVolProc;
    decltype(&RARSetProcessDataProc) SetProcessDataProc;
    decltype(&RARSetPassword) SetPassword;
};

const UnRARFunctions& UnRAR();
bool UnRARLoaded();

// Binds the library of another name (tests: a name that does not exist gives the stubs); natively
// only "UnRAR" binds, the library provided below. Replaces whatever was bound before.
void BindUnRAR(const std::string& name);
// Natively no library is loaded by name: a program that links one in provides its entry points here
// (before the engine first binds) as the library "UnRAR".
void ProvideLinkedUnRAR(const UnRARFunctions& functions);
// Installs another set of functions as if it were the bound library (tests).
void SetUnRARFunctions(const UnRARFunctions& functions);

}  // namespace engine
