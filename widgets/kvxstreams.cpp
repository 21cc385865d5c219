#include "widgets/kvxstreams.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "widgets/kvxframe.h"

namespace kvx {

void KVXWriteInteger(fw::TStream& stream, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 24)};
    stream.WriteBuffer(bytes, 4);
}

int32_t KVXReadInteger(fw::TStream& stream) {
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
}

void KVXWriteByte(fw::TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

uint8_t KVXReadByte(fw::TStream& stream) {
    uint8_t b = 0;
    stream.ReadBuffer(&b, 1);
    return b;
}

void KVXWriteShortString(fw::TStream& stream, const std::string& text) {
    // One length byte: a longer text keeps its first 255 characters rather than its length mod 256.
    const size_t n = std::min<size_t>(text.size(), 255);
    KVXWriteByte(stream, static_cast<uint8_t>(n));
    if (n) stream.WriteBuffer(text.data(), static_cast<int64_t>(n));
}

void KVXReadShortString(fw::TStream& stream, std::string& text) {
    const uint8_t n = KVXReadByte(stream);
    std::string s(n, '\0');
    if (n) stream.ReadBuffer(s.data(), n);
    text = std::move(s);
}

int32_t KVXReadCount(fw::TStream& stream, int64_t unit) {
    const int32_t count = KVXReadInteger(stream);
    const int64_t left = stream.Size() - stream.Position();
    if (count < 0 || count * std::max<int64_t>(unit, 1) > left)
        throw fw::EReadError("Stored count " + std::to_string(count) + " does not fit the data");
    return count;
}

namespace {

// The reserved-count scheme: room for the count, the data, then the count filled in.
template <class F>
void WriteCounted(fw::TStream& stream, F writeData) {
    const int64_t start = stream.Position();
    stream.SetPosition(start + 4);
    writeData();
    const int64_t end = stream.Position();
    stream.SetPosition(start);
    KVXWriteInteger(stream, static_cast<int32_t>(end - start - 4));
    stream.SetPosition(end);
}

// The stored bytes of an item, plain or framed, in a memory stream positioned at 0.
void ReadStored(fw::TStream& stream, bool compressed, fw::TMemoryStream& data) {
    if (compressed) {
        KVXDecompressFromStream(stream, data);
    } else {
        const int32_t count = KVXReadCount(stream);
        data.SetSize(count);
        if (count) stream.ReadBuffer(data.Memory(), count);
    }
    data.SetPosition(0);
}

}  // namespace

void KVXWriteStringList(fw::TStream& stream, const fw::TStrings* list, bool compressed) {
    const std::string text = list ? list->Text() : std::string();
    if (compressed) {
        fw::TMemoryStream data;
        data.WriteString(text);
        data.SetPosition(0);
        KVXCompressToStream(data, stream, data.Size());
    } else {
        WriteCounted(stream, [&] { stream.WriteString(text); });
    }
}

void KVXReadStringList(fw::TStream& stream, fw::TStrings* list, bool compressed) {
    fw::TMemoryStream data;
    ReadStored(stream, compressed, data);
    if (list) list->LoadFromStream(data);
}

void KVXWriteBlock(fw::TStream& stream, const uint8_t* data, size_t size, bool compressed) {
    if (compressed) {
        fw::TMemoryStream source;
        if (size) source.WriteBuffer(data, static_cast<int64_t>(size));
        source.SetPosition(0);
        KVXCompressToStream(source, stream, source.Size());
    } else {
        KVXWriteInteger(stream, static_cast<int32_t>(size));
        if (size) stream.WriteBuffer(data, static_cast<int64_t>(size));
    }
}

std::vector<uint8_t> KVXReadBlock(fw::TStream& stream, bool compressed) {
    fw::TMemoryStream data;
    ReadStored(stream, compressed, data);
    return data.Data();
}

}  // namespace kvx
