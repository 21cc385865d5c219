// The file search's folder lister on Windows: FindFirstFileA/FindNextFileA with the system's own
// matching (the search checks each name again), 64-bit sizes, and times turned into local date-time
// values. Files for the content test are opened for reading with every kind of sharing allowed, so
// only a file someone holds without sharing fails to open.
#pragma once

#include "widgets/filesearch.h"

namespace kvx::win32 {

class TKVXWin32Lister : public TKVXFolderLister {
public:
    char Separator() const override { return '\\'; }
    void List(const std::string& folder, const std::string& mask,
              const std::function<bool(const TKVXFileEntry&)>& visit) override;
    std::unique_ptr<TKVXFileReader> Open(const std::string& path) override;
};

}  // namespace kvx::win32
