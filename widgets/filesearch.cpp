#include "widgets/filesearch.h"

#include <cctype>

#include "framework/core/sysutils.h"

namespace kvx {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Glob matching with "*" and "?", ignoring letter case. Iterative with one
// back-track point, so a mask of many stars costs no more than a pass per star.
bool Glob(const std::string& name, const std::string& mask) {
    size_t n = 0, m = 0, starMask = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

class Walk {
public:
    Walk(const TKVXSearchParams& params, TKVXFolderLister& lister, const TKVXSearchHooks& hooks)
        : p_(params), lister_(lister), hooks_(hooks) {
        for (const std::string& mask : KVXSplitList(params.FileMasks))
            if (!mask.empty()) masks_.push_back(mask);
    }

    void Run() {
        for (const std::string& dir : KVXSplitList(p_.Dirs)) {
            if (Cancelled()) break;
            SearchDir(dir);
        }
    }

private:
    bool Cancelled() const { return hooks_.Cancelled && hooks_.Cancelled(); }

    void SearchDir(const std::string& folder) {
        if (hooks_.Pump) hooks_.Pump();
        const char sep = lister_.Separator();
        const std::string dir = folder.empty() || folder.back() != sep ? folder + sep : folder;
        if (hooks_.DirChange) hooks_.DirChange(dir);
        bool stopped = false;
        for (const std::string& mask : masks_) {
            lister_.List(dir, mask, [&](const TKVXFileEntry& e) {
                if (Cancelled()) {
                    stopped = true;
                    return false;
                }
                if (KVXAttrPasses(e.Attr, p_.AttrMask) && KVXMatchMask(e.Name, mask)) Consider(dir, e);
                return true;
            });
            if (stopped) return;
        }
        if (Cancelled() || !p_.RecurseSubDirs) return;
        std::vector<std::string> subfolders;
        lister_.List(dir, "*.*", [&](const TKVXFileEntry& e) {
            if ((e.Attr & kFaDirectory) && KVXAttrPasses(e.Attr, kFaDirectory) && e.Name != "." && e.Name != "..")
                subfolders.push_back(e.Name);
            return true;
        });
        for (const std::string& name : subfolders) {
            SearchDir(dir + name);
            if (Cancelled()) return;
        }
    }

    static bool InRange(fw::TDateTime t, fw::TDateTime after, fw::TDateTime before) {
        return t >= after && (before <= 0 || t <= before);
    }

    bool Passes(const std::string& dir, const TKVXFileEntry& e) {
        // Sizes are compared in full 64 bits: files of 2 GB and more are found like
        // any other.
        const int64_t size = e.Size > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(e.Size);
        if (size < p_.MinSize) return false;
        if (p_.MaxSize != 0 && size > p_.MaxSize) return false;
        if (e.Name == "." || e.Name == "..") return false;
        const TKVXDateLimits& d = p_.Dates;
        if (!InRange(e.Created, d.CreatedAfter, d.CreatedBefore)) return false;
        if (!InRange(e.Accessed, d.AccessedAfter, d.AccessedBefore)) return false;
        if (!InRange(e.Modified, d.ModifiedAfter, d.ModifiedBefore)) return false;
        if (p_.Content.empty()) return true;
        std::unique_ptr<TKVXFileReader> reader = lister_.Open(dir + e.Name);
        return reader && KVXFileContains(*reader, p_.Content, hooks_.Cancelled);
    }

    std::string Line(const std::string& dir, const TKVXFileEntry& e) const {
        using R = TKVXReturnValue;
        const char d = p_.ReturnDelimiter;
        const TKVXReturnValues& rv = p_.ReturnValues;
        std::string line;
        if (rv.Contains(R::rvDir)) line += dir + d;
        if (rv.Contains(R::rvFilename)) line += e.Name + d;
        if (rv.Contains(R::rvSize)) line += std::to_string(e.Size) + d;
        if (rv.Contains(R::rvCreateDate)) line += fw::DateTimeToStr(e.Created) + d;
        if (rv.Contains(R::rvLastAccessDate)) line += fw::DateTimeToStr(e.Accessed) + d;
        if (rv.Contains(R::rvLastModifiedDate)) line += fw::DateTimeToStr(e.Modified) + d;
        return line;
    }

    void Consider(const std::string& dir, const TKVXFileEntry& e) {
        if (hooks_.FileChange) hooks_.FileChange(e.Name);
        if (!Passes(dir, e)) return;
        if (hooks_.Found) hooks_.Found(Line(dir, e));
    }

    const TKVXSearchParams& p_;
    TKVXFolderLister& lister_;
    const TKVXSearchHooks& hooks_;
    std::vector<std::string> masks_;
};

}  // namespace

std::vector<std::string> KVXSplitList(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(';', start);
        items.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return items;
        start = end + 1;
    }
}

bool KVXMatchMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*") return true;
    if (mask == "*.") return name.find('.') == std::string::npos;
    return Glob(name, mask);
}

bool KVXAttrPasses(uint32_t attr, uint32_t attrMask) {
    constexpr uint32_t kExcluding = kFaHidden | kFaSysFile | kFaVolumeID | kFaDirectory;
    return (attr & kExcluding & ~attrMask) == 0;
}

bool KVXFileContains(TKVXFileReader& reader, const std::string& content, const std::function<bool()>& cancelled) {
    if (content.empty()) return true;
    // The end of the current line kept from the block before: never longer than
    // Content less one, so a line of any length is searched in constant memory.
    std::string carry;
    std::vector<char> block(64 * 1024);
    for (;;) {
        if (cancelled && cancelled()) return false;
        const int64_t got = reader.Read(block.data(), block.size());
        if (got < 0) return false;
        if (got == 0) return false;
        size_t start = 0;
        const size_t size = static_cast<size_t>(got);
        while (start <= size) {
            size_t end = start;
            while (end < size && block[end] != '\n' && block[end] != '\r') ++end;
            carry.append(block.data() + start, end - start);
            if (carry.find(content) != std::string::npos) return true;
            if (end < size) {
                carry.clear();
            } else if (carry.size() >= content.size()) {
                carry.erase(0, carry.size() - (content.size() - 1));
            }
            start = end + 1;
        }
    }
}

void KVXRunFileSearch(const TKVXSearchParams& params, TKVXFolderLister& lister, const TKVXSearchHooks& hooks) {
    Walk(params, lister, hooks).Run();
}

}  // namespace kvx
