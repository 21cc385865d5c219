#include "installer/zstream.h"

#include <zlib.h>

#include <cstring>

#include "framework/core/exceptions.h"

namespace inst {

struct ZState {
    z_stream zs{};
    bool open = false;
};

int ZlibLevel(TCompressionLevel level) {
    switch (level) {
        case TCompressionLevel::colNone: return 0;
        case TCompressionLevel::colFastest: return 1;
        case TCompressionLevel::colDefault: return Z_DEFAULT_COMPRESSION;
        case TCompressionLevel::colMax: return 9;
    }
    return 9;
}

int CCheck(int code) {
    if (code < 0) throw fw::Exception("error");
    return code;
}

int DCheck(int code) {
    if (code < 0) throw fw::Exception("error");
    return code;
}

TCustomZlibStream::TCustomZlibStream(fw::TStream& dest)
    : dest_(dest), destPos_(dest.Position()), z_(std::make_unique<ZState>()) {}

TCustomZlibStream::~TCustomZlibStream() = default;

TCompressionStream::TCompressionStream(TCompressionLevel level, fw::TStream& dest)
    : TCustomZlibStream(dest), buffer_(kBufferSize) {
    z_->zs.next_out = buffer_.data();
    z_->zs.avail_out = kBufferSize;
    CCheck(deflateInit(&z_->zs, ZlibLevel(level)));
    z_->open = true;
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (...) {
    }
    if (z_->open) deflateEnd(&z_->zs);
}

void TCompressionStream::PutBack() {
    if (dest_.Position() != destPos_) dest_.SetPosition(destPos_);
}

void TCompressionStream::WriteOut(size_t count) {
    dest_.WriteBuffer(buffer_.data(), static_cast<int64_t>(count));
    destPos_ = dest_.Position();
    z_->zs.next_out = buffer_.data();
    z_->zs.avail_out = kBufferSize;
}

int64_t TCompressionStream::Write(const void* buffer, int64_t count) {
    if (finished_) throw fw::Exception("Invalid stream operation");
    z_->zs.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    z_->zs.avail_in = static_cast<uInt>(count);
    PutBack();
    while (z_->zs.avail_in > 0) {
        CCheck(deflate(&z_->zs, Z_NO_FLUSH));
        if (z_->zs.avail_out == 0) {
            WriteOut(kBufferSize);
            if (OnProgress) OnProgress();
        }
    }
    return count;
}

int64_t TCompressionStream::Read(void*, int64_t) { throw fw::Exception("Invalid stream operation"); }

int64_t TCompressionStream::Seek(int64_t offset, int origin) {
    if (offset == 0 && origin == fw::soFromCurrent) return static_cast<int64_t>(z_->zs.total_in);
    throw fw::Exception("Invalid stream operation");
}

void TCompressionStream::Finish() {
    if (finished_) return;
    finished_ = true;
    z_->zs.next_in = nullptr;
    z_->zs.avail_in = 0;
    try {
        PutBack();
        for (;;) {
            int code = CCheck(deflate(&z_->zs, Z_FINISH));
            if (code == Z_STREAM_END || z_->zs.avail_out != 0) break;
            WriteOut(kBufferSize);
        }
        if (z_->zs.avail_out < static_cast<uInt>(kBufferSize)) WriteOut(kBufferSize - z_->zs.avail_out);
    } catch (...) {
        deflateEnd(&z_->zs);
        z_->open = false;
        throw;
    }
    deflateEnd(&z_->zs);
    z_->open = false;
}

int64_t TCompressionStream::TotalIn() const { return static_cast<int64_t>(z_->zs.total_in); }
int64_t TCompressionStream::TotalOut() const { return static_cast<int64_t>(z_->zs.total_out); }

// ---- Inflater -------------------------------------------------------------------------------------------

Inflater::Inflater() : z_(std::make_unique<ZState>()) {
    DCheck(inflateInit(&z_->zs));
    z_->open = true;
}

Inflater::~Inflater() {
    if (z_->open) inflateEnd(&z_->zs);
}

void Inflater::SetInput(const uint8_t* data, size_t size) {
    z_->zs.next_in = const_cast<Bytef*>(data);
    z_->zs.avail_in = static_cast<uInt>(size);
}
size_t Inflater::AvailIn() const { return z_->zs.avail_in; }
void Inflater::SetOutput(uint8_t* data, size_t size) {
    z_->zs.next_out = data;
    z_->zs.avail_out = static_cast<uInt>(size);
}
size_t Inflater::AvailOut() const { return z_->zs.avail_out; }
int Inflater::Step() { return inflate(&z_->zs, Z_NO_FLUSH); }
int64_t Inflater::TotalOut() const { return static_cast<int64_t>(z_->zs.total_out); }

}  // namespace inst
