#pragma once
// The benchmark corpus shared by the codec benchmarks: at least 50 MB of files that every Debian
// machine of this kind has, text from /usr/share and binaries from /usr/lib, taken in sorted order
// (folder by folder) with a fixed cap per file and per tree, so that one machine always measures the same bytes.
// Files that are already compressed are left out: they would only measure stored blocks.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace mx::codec::bench {

struct CorpusFile {
  std::string path;
  std::vector<uint8_t> data;
};

inline bool IsPrecompressed(const std::filesystem::path& p) {
  static const char* const kSkip[] = {".gz", ".xz", ".bz2", ".zst", ".zip", ".jar", ".png", ".jpg", ".jpeg",
                                      ".gif", ".woff", ".woff2", ".lz4", ".lzma", ".deb", ".ttf", ".otf", ".pyc"};
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(std::begin(kSkip), std::end(kSkip), ext) != std::end(kSkip);
}

// Reads up to cap bytes of a file.
inline std::vector<uint8_t> ReadHead(const std::string& path, size_t cap) {
  std::vector<uint8_t> data;
  std::error_code ec;
  uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return data;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return data;
  data.resize(static_cast<size_t>(std::min<uintmax_t>(size, cap)));
  data.resize(std::fread(data.data(), 1, data.size(), f));
  std::fclose(f);
  return data;
}

// Walks the tree below dir depth first, each folder's entries in sorted name order, taking files until
// the budget is used. Symbolic links are not followed.
inline void AddTree(const std::filesystem::path& dir, size_t& budget, size_t fileCap, std::vector<CorpusFile>& out) {
  namespace fs = std::filesystem;
  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
  for (const fs::directory_entry& e : entries) {
    if (budget == 0) return;
    std::error_code e2;
    if (e.is_symlink(e2)) continue;
    if (e.is_directory(e2)) {
      AddTree(e.path(), budget, fileCap, out);
    } else if (e.is_regular_file(e2) && !IsPrecompressed(e.path())) {
      std::vector<uint8_t> data = ReadHead(e.path().string(), std::min(fileCap, budget));
      if (data.size() < 64) continue;
      budget -= data.size();
      out.push_back({e.path().string(), std::move(data)});
    }
  }
}

// The corpus (64 MB): 32 MB from /usr/share and 32 MB from /usr/lib, at most 1 MB per file.
inline std::vector<CorpusFile> LoadCorpus() {
  std::vector<CorpusFile> files;
  size_t share = 32u << 20, lib = 32u << 20;
  AddTree("/usr/share", share, 1u << 20, files);
  AddTree("/usr/lib", lib, 1u << 20, files);
  return files;
}

inline size_t CorpusBytes(const std::vector<CorpusFile>& files) {
  size_t n = 0;
  for (const CorpusFile& f : files) n += f.data.size();
  return n;
}

}  // namespace mx::codec::bench
