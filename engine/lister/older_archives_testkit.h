// Test-only builders of ZOO, HA, PAK and BH archives (no tool here makes them), from the layouts the
// lister reads, and a lister fixture that records every event.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"
#include "engine/lister/krenlo.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine::testkit {

// Little-endian byte builder for the generated archives.
struct Bytes {
    std::string s;
    Bytes& u8(unsigned v)
    {
        s += char(v);
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v & 255).u8(v >> 8); }
    Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& str(const std::string& t, size_t width = 0)
    {
        s += t;
        if (width > t.size())
            s += std::string(width - t.size(), '\0');
        return *this;
    }
};

inline uint16_t Crc16Of(const std::string& s) { return mx::codec::Crc16({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); }
inline uint32_t Crc32Of(const std::string& s) { return mx::codec::Crc32({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); }

// A ZOO archive of stored entries (type-2 directory entries, a folder for names holding "/"). Link
// overrides the next pointer of entry Link.first with Link.second.
inline std::string MakeZoo(const std::vector<std::pair<std::string, std::string>>& files, std::pair<int, int32_t> link = {-1, 0})
{
    constexpr uint32_t kTag = 0xFDC4A7DC;
    Bytes a;
    a.str("ZOO 2.10 Archive.\x1a", 20).u32(kTag).u32(34).u32(uint32_t(-34)).u8(2).u8(1).u8(0);
    a.s.resize(34, '\0');
    for (size_t i = 0; i <= files.size(); ++i) {
        const size_t here = a.s.size();
        const bool last = i == files.size();
        std::string folder, name;
        if (!last) {
            const std::string& full = files[i].first;
            const size_t slash = full.rfind('/');
            folder = slash == std::string::npos ? "" : full.substr(0, slash);
            name = slash == std::string::npos ? full : full.substr(slash + 1);
        }
        const std::string& data = last ? std::string() : files[i].second;
        const size_t varLen = 4 + folder.size();  // name lengths, folder, system id
        const size_t dataPos = here + 56 + varLen;
        int32_t next = last ? 0 : int32_t(dataPos + data.size());
        if (int(i) == link.first)
            next = link.second;
        Bytes e;
        e.u32(kTag).u8(last ? 0 : 2).u8(0).u32(uint32_t(next)).u32(uint32_t(dataPos));
        e.u16((45 << 9) | (3 << 5) | 14).u16((12 << 11) | (30 << 5)).u16(Crc16Of(data));
        e.u32(uint32_t(data.size())).u32(uint32_t(data.size())).u8(2).u8(1).u8(0).u8(0).u32(0).u16(0);
        e.str(name, 13).u16(uint16_t(varLen)).u8(127).u16(0).u8(0).u8(uint8_t(folder.size())).str(folder).u16(0);
        a.s += e.s + data;
    }
    return a.s;
}

// An HA archive of stored (CPY) entries; Path uses 0xFF between folders.
inline std::string MakeHa(const std::vector<std::tuple<std::string, std::string, std::string>>& files)
{
    Bytes a;
    a.str("HA").u16(uint16_t(files.size()));
    for (const auto& [path, name, data] : files)
        a.u8(0x20).u32(uint32_t(data.size())).u32(uint32_t(data.size())).u32(Crc32Of(data)).u32(1700000000)
            .str(path).u8(0).str(name).u8(0).u8(2).u8(1).u8(0x20).str(data);
    return a.s;
}

// A PAK archive: ARC headers with PAK's methods (10 crushed, 11 distilled), then the end mark.
inline std::string MakePak(const std::vector<std::tuple<std::string, int, std::string>>& files)
{
    Bytes a;
    for (const auto& [name, method, data] : files)
        a.u8(0x1A).u8(uint8_t(method)).str(name, 13).u32(uint32_t(data.size())).u16((44 << 9) | (5 << 5) | 6)
            .u16((8 << 11) | (15 << 5)).u16(Crc16Of(data)).u32(uint32_t(data.size() * 2)).str(data);
    a.u8(0x1A).u8(0);
    return a.s;
}

// A BH archive: 37-byte headers, each followed by its name and data; a zero-size header ends it.
inline std::string MakeBh(const std::vector<std::tuple<std::string, int, bool, std::string>>& files)
{
    Bytes a;
    for (const auto& [name, method, encrypted, data] : files) {
        a.str("BH\x05\x07").u16(uint16_t(37 + name.size())).u8(0).u8(0x20).u8(0x14).u8(encrypted ? 1 : 0)
            .u8(uint8_t(method)).u32((44u << 25) | (5u << 21) | (6u << 16) | (8u << 11)).u32(uint32_t(data.size()))
            .u32(uint32_t(data.size() + 10)).u32(Crc32Of(data)).u16(0x20).u32(0).u8(uint8_t(name.size())).u8(0).u16(0)
            .str(name).str(data);
    }
    a.str("BH\x05\x07").u16(0);
    a.s.resize(a.s.size() + 31, '\0');
    return a.s;
}

// A date as "YYYY-MM-DD HH:MM:SS", the form lsar prints.
inline std::string DateText(TDateTime value)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    DecodeDateTime(value, y, mo, d, h, mi, s);
    char out[32];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return out;
}

// The "|"-separated fields of a listing row.
inline std::vector<std::string> Fields(const std::string& row)
{
    std::vector<std::string> out;
    std::istringstream in(row);
    for (std::string f; std::getline(in, f, '|');)
        out.push_back(f);
    return out;
}

// Every field of one reported entry.
struct ListedEntry {
    std::string name;
    int64_t unpacked = 0, packed = 0;
    uint32_t crc = 0;
    uint16_t method = 0;
    std::string methodName;
    TDateTime date = 0;
    uint32_t attr = 0;
    bool encrypted = false;

    // name|size|packed|crc|method|date|attributes|encrypted, the attributes as "-" when left out.
    std::string Row(bool withAttr = true) const
    {
        std::ostringstream o;
        o << name << '|' << unpacked << '|' << packed << '|' << std::hex << crc << std::dec << '|' << method << '|'
          << DateText(date) << '|';
        if (withAttr)
            o << attr;
        else
            o << '-';
        o << '|' << (encrypted ? 1 : 0);
        return o.str();
    }
};

// A lister with every event recorded.
class ListerFixture : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterListerClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        lister_ = fw::Make<TKrenlo>(owner_);
        lister_->OnRead.Bind(this, &ListerFixture::Read);
        lister_->OnTotals.Bind(this, &ListerFixture::Totals);
        lister_->OnError.Bind(this, &ListerFixture::Error);
        lister_->OnNextVolume.Bind(this, &ListerFixture::NextVolume);
    }
    void TearDown() override { owner_->Free(); }

    void Read(fw::TObject*, int64_t, int filenum)
    {
        TKrenlo& k = *lister_;
        std::ostringstream o;
        o << k.FileName << '|' << k.UnpackedSize << '|' << k.PackedSize << '|' << std::hex << k.CRC;
        rows_.push_back(o.str());
        filenums_.push_back(filenum);
        volumeIds_.push_back(k.VolumeID);
        methods_.push_back(k.MethodName);
        dates_.push_back(k.Date);
        entries_.push_back({k.FileName, k.UnpackedSize, k.PackedSize, k.CRC, k.MethodNum, k.MethodName, k.Date,
                            k.ExternalAttr, k.Encrypted});
    }
    void Totals(fw::TObject*, int n) { totals_ = n; }
    void Error(fw::TObject*, const std::string&, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        msgExs_.push_back(msgEx);
    }
    void NextVolume(fw::TObject*, std::string&, std::string&, const std::string& id, bool exists, bool& cancel)
    {
        asked_.push_back(id);
        cancel = !exists;
    }

    std::vector<std::string> List(const std::string& path)
    {
        rows_.clear();
        filenums_.clear();
        volumeIds_.clear();
        methods_.clear();
        dates_.clear();
        entries_.clear();
        errors_.clear();
        msgExs_.clear();
        totals_ = -1;
        lister_->SetArchiveFile(path);
        EXPECT_TRUE(lister_->Activate());
        return rows_;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TKrenlo* lister_ = nullptr;
    std::vector<std::string> rows_, volumeIds_, methods_, asked_, msgExs_;
    std::vector<int> filenums_, errors_;
    std::vector<TDateTime> dates_;
    std::vector<ListedEntry> entries_;
    int totals_ = -1;
};

}  // namespace engine::testkit
