// The file search's folder lister on POSIX systems (the native builds). It
// reports what the Win32 lister reports under Wine: names that start with a dot
// are hidden, folders carry the directory attribute and size 0, files the
// archive attribute, and files without write permission are read-only. Times
// are local.
#pragma once

#include "widgets/filesearch.h"

namespace kvx {

#if !defined(_WIN32)
class TKVXPosixLister : public TKVXFolderLister {
public:
    char Separator() const override { return '/'; }
    void List(const std::string& folder, const std::string& mask,
              const std::function<bool(const TKVXFileEntry&)>& visit) override;
    std::unique_ptr<TKVXFileReader> Open(const std::string& path) override;
};
#endif

}  // namespace kvx
