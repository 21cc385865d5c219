// The file search's walk, apart from any window or thread: folders (optionally
// with their subfolders) times any number of wildcard masks, with attribute,
// size, date and content tests, each hit turned into one text line. The file
// system is reached through a folder lister (Win32 or POSIX), so the whole walk
// runs and is tested natively.
//
// Masks match names the way this suite defines them, whatever the lister's own
// matching does: "*" is any run of characters, "?" exactly one, letters match
// either case, "*.*" matches every name and
// "*." matches names without a dot. A lister may return more candidates (Wine's
// FindFirstFile gives "a.txte" for "*.txt" and everything for "*."); the walk
// checks each name again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/rtti.h"

namespace kvx {

// File attribute bits as the system reports them.
constexpr uint32_t kFaReadOnly = 0x01;
constexpr uint32_t kFaHidden = 0x02;
constexpr uint32_t kFaSysFile = 0x04;
constexpr uint32_t kFaVolumeID = 0x08;
constexpr uint32_t kFaDirectory = 0x10;
constexpr uint32_t kFaArchive = 0x20;
constexpr uint32_t kFaAnyFile = 0x3F;

struct TKVXFileEntry {
    std::string Name;
    uint32_t Attr = 0;
    uint64_t Size = 0;
    // Local times; 0 when the system time could not be converted.
    fw::TDateTime Created = 0, Accessed = 0, Modified = 0;
};

// Reads a file opened for the content test; Read returns the bytes read, 0 at
// the end, -1 on an error.
class TKVXFileReader {
public:
    virtual ~TKVXFileReader() = default;
    virtual int64_t Read(char* buffer, size_t size) = 0;
};

class TKVXFolderLister {
public:
    virtual ~TKVXFolderLister() = default;
    // The separator that ends a folder name ('\' on Windows).
    virtual char Separator() const = 0;
    // Calls Visit for the entries of Folder (ending in the separator) that the
    // system's own matching finds for Mask, "." and ".." included where the
    // system lists them. Stops when Visit returns false. A folder that cannot be
    // listed yields nothing.
    virtual void List(const std::string& folder, const std::string& mask,
                      const std::function<bool(const TKVXFileEntry&)>& visit) = 0;
    // Opens a file for reading; null when it cannot be opened.
    virtual std::unique_ptr<TKVXFileReader> Open(const std::string& path) = 0;
};

// What a hit line holds, in this order.
enum class TKVXReturnValue { rvDir, rvFilename, rvAttr, rvSize, rvCreateDate, rvLastAccessDate, rvLastModifiedDate };
using TKVXReturnValues = fw::Set<TKVXReturnValue>;

// The dates a search tests: each limit counts only when it is above 0.
struct TKVXDateLimits {
    fw::TDateTime CreatedAfter = 0, CreatedBefore = 0, AccessedAfter = 0, AccessedBefore = 0, ModifiedAfter = 0,
                  ModifiedBefore = 0;
};

struct TKVXSearchParams {
    std::string Dirs;       // ";"-separated
    std::string FileMasks;  // ";"-separated
    std::string Content;    // empty: no content test
    bool RecurseSubDirs = true;
    int64_t MinSize = 0;
    int64_t MaxSize = 0;  // 0: no upper limit
    uint32_t AttrMask = kFaAnyFile;
    TKVXDateLimits Dates;
    TKVXReturnValues ReturnValues{TKVXReturnValue::rvDir, TKVXReturnValue::rvFilename};
    char ReturnDelimiter = ';';
};

// The walk's calls out. Cancelled is asked before every entry and every block
// of content; Pump once per folder, before it is listed.
struct TKVXSearchHooks {
    std::function<bool()> Cancelled;
    std::function<void()> Pump;
    std::function<void(const std::string& folder)> DirChange;
    std::function<void(const std::string& name)> FileChange;
    std::function<void(const std::string& line)> Found;
};

// Splits a ";"-list: the text after the last ";" is the last item, empty items
// are kept.
std::vector<std::string> KVXSplitList(const std::string& text);
// Whether Name matches Mask under the suite's rules (above).
bool KVXMatchMask(const std::string& name, const std::string& mask);
// Whether an entry with Attr passes the listing's attribute mask: hidden,
// system, volume and directory entries pass only when the mask holds their
// attribute.
bool KVXAttrPasses(uint32_t attr, uint32_t attrMask);
// Whether a line of the reader's text holds Content (case-sensitive; never
// across a line break). An unreadable file, or a cancel while reading, is no
// match.
bool KVXFileContains(TKVXFileReader& reader, const std::string& content, const std::function<bool()>& cancelled);

// Runs the whole search. Returns when every folder is done or the search was
// cancelled.
void KVXRunFileSearch(const TKVXSearchParams& params, TKVXFolderLister& lister, const TKVXSearchHooks& hooks);

}  // namespace kvx
