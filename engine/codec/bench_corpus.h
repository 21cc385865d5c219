#pragma once
// The benchmark corpus shared by the codec benchmarks: at least 50 MB of files that every Debian
// machine of this kind has, text from /usr/share and binaries from /usr/lib, taken in sorted path
// order with a fixed cap per file and per tree, so that one machine always measures the same bytes.
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
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return data;
  data.resize(cap);
  data.resize(std::fread(data.data(), 1, cap, f));
  std::fclose(f);
  return data;
}

// Collects files below root in sorted path order until treeBudget bytes are taken.
inline void AddTree(const std::string& root, size_t treeBudget, size_t fileCap, std::vector<CorpusFile>& out) {
  namespace fs = std::filesystem;
  std::vector<std::string> paths;
  std::error_code ec;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (it->is_symlink(e2)) {
      if (it->is_directory(e2)) it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(e2) && !IsPrecompressed(it->path())) paths.push_back(it->path().string());
  }
  std::sort(paths.begin(), paths.end());
  size_t taken = 0;
  for (const std::string& p : paths) {
    if (taken >= treeBudget) break;
    std::vector<uint8_t> data = ReadHead(p, std::min(fileCap, treeBudget - taken));
    if (data.size() < 64) continue;
    taken += data.size();
    out.push_back({p, std::move(data)});
  }
}

// The corpus: 32 MB from /usr/share and 32 MB from /usr/lib, at most 1 MB per file.
inline std::vector<CorpusFile> LoadCorpus() {
  std::vector<CorpusFile> files;
  AddTree("/usr/share", 32u << 20, 1u << 20, files);
  AddTree("/usr/lib", 32u << 20, 1u << 20, files);
  return files;
}

inline size_t CorpusBytes(const std::vector<CorpusFile>& files) {
  size_t n = 0;
  for (const CorpusFile& f : files) n += f.data.size();
  return n;
}

}  // namespace mx::codec::bench
