// Natively the engine loads no library by name: a program that links this object in hands our
// library's entry points to the engine as the library "UnRAR" before its main starts.
#include "engine/formats/rar/unrar_binding.h"

namespace {

const bool kProvided = [] {
    engine::ProvideLinkedUnRAR(engine::UnRARFunctions{RAROpenArchive, RARCloseArchive, RARReadHeader, RARProcessFile,
                                                      RARSetChangeVolProc, RARSetProcessDataProc, RARSetPassword});
    return true;
}();

}  // namespace
