// Positioned reads and writes over a whole file or a byte buffer, so the offset fix-up runs the same way
// on the output file and, in tests and fuzzing, on memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace sfx {

class RandomAccess {
public:
    virtual ~RandomAccess() = default;
    virtual uint64_t Size() const = 0;
    // Both return false unless every byte was transferred.
    virtual bool ReadAt(uint64_t pos, void* buf, size_t n) = 0;
    virtual bool WriteAt(uint64_t pos, const void* buf, size_t n) = 0;
};

class MemoryAccess : public RandomAccess {
public:
    explicit MemoryAccess(std::string& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t pos, void* buf, size_t n) override;
    bool WriteAt(uint64_t pos, const void* buf, size_t n) override;

private:
    std::string& bytes_;
};

class FileAccess : public RandomAccess {
public:
    // Opens an existing file for reading and writing; Ok() tells whether that worked.
    explicit FileAccess(const std::string& path);
    bool Ok() const { return ok_; }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t pos, void* buf, size_t n) override;
    bool WriteAt(uint64_t pos, const void* buf, size_t n) override;

private:
    std::fstream f_;
    uint64_t size_ = 0;
    bool ok_ = false;
};

}  // namespace sfx
