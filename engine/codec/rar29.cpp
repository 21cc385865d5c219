#include "engine/codec/rar29.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/codec/rar_tables.h"

namespace mx::codec::rar {

namespace {

constexpr uint32_t kMaxGlobalData = 0x2000 - 0x40;

// MSB-first reader over a filter record; reads past its end give zeros and mark it overrun.
class RecordReader {
 public:
  explicit RecordReader(std::span<const uint8_t> bytes) noexcept : bytes_(bytes) {}
  uint32_t Bits(unsigned n) noexcept {
    uint32_t v = 0;
    for (unsigned i = 0; i < n; ++i) {
      const size_t byte = bit_ >> 3;
      unsigned b = 0;
      if (byte < bytes_.size()) b = (bytes_[byte] >> (7 - (bit_ & 7))) & 1;
      else overrun_ = true;
      v = (v << 1) | b;
      ++bit_;
    }
    return v;
  }
  // A number in the filter machine's encoding: a 2-bit selector, then 4, 8, 16 or 32 bits.
  uint32_t Number() noexcept {
    switch (Bits(2)) {
      case 0:
        return Bits(4);
      case 1: {
        const uint32_t v = Bits(8);
        return v >= 16 ? v : 0xFFFFFF00u | (v << 4) | Bits(4);
      }
      case 2:
        return Bits(16);
      default:
        return Bits(16) << 16 | Bits(16);
    }
  }
  size_t BytesLeft() const noexcept { return bit_ / 8 >= bytes_.size() ? 0 : bytes_.size() - (bit_ + 7) / 8; }
  bool Overrun() const noexcept { return overrun_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t bit_ = 0;
  bool overrun_ = false;
};

Status Fault(const BitInput& in, Status otherwise) noexcept { return in.PastEnd() ? in.Fault() : otherwise; }

}  // namespace

Unpack29::Unpack29() = default;
Unpack29::~Unpack29() = default;

void Unpack29::Reset() noexcept {
  tablesRead_ = false;
  ppmBlock_ = false;
  ppmEscChar_ = 2;
  ppm_.Invalidate();
  std::memset(oldTable_, 0, sizeof oldTable_);
  std::memset(oldDist_, 0, sizeof oldDist_);
  lastLength_ = 0;
  prevLowDist_ = 0;
  lowDistRepCount_ = 0;
  programs_.clear();
  lastFilter_ = 0;
  filters_.clear();
}

Status Unpack29::ReadPpmHeader(BitInput& in) noexcept {
  const unsigned flags = in.Byte();
  uint32_t memMb = 0;
  if (flags & 0x20) memMb = in.Byte() + 1u;
  else if (!ppm_.Ready()) return Status::BadData;
  if ((memMb << 20) > modelLimit_) return Status::BadData;
  if (flags & 0x40) ppmEscChar_ = in.Byte();
  rc_.Init(in);
  if (flags & 0x20) {
    unsigned order = (flags & 0x1F) + 1;
    if (order > 16) order = 16 + (order - 16) * 3;
    if (order == 1) {
      ppm_.Invalidate();
      return Status::BadData;
    }
    if (!ppm_.Start(memMb << 20, order)) return Status::NoMemory;
  }
  if (in.BytesPastEnd() > 0) return Fault(in, Status::Truncated);
  ppmBlock_ = true;
  tablesRead_ = false;
  return Status::Ok;
}

Status Unpack29::ReadTables(BitInput& in, Window&) noexcept {
  in.Align();
  in.Fill();
  const uint32_t bf = in.Peek16();
  if (bf & 0x8000) return ReadPpmHeader(in);
  ppmBlock_ = false;
  prevLowDist_ = 0;
  lowDistRepCount_ = 0;
  if (!(bf & 0x4000)) std::memset(oldTable_, 0, sizeof oldTable_);
  in.Drop(2);
  uint8_t pre[20];
  for (unsigned i = 0; i < 20;) {
    const uint8_t len = static_cast<uint8_t>(in.Bits(4));
    if (len == 15) {
      unsigned zeros = in.Bits(4);
      if (zeros == 0) {
        pre[i++] = 15;
      } else {
        for (zeros += 2; zeros > 0 && i < 20; --zeros) pre[i++] = 0;
      }
    } else {
      pre[i++] = len;
    }
  }
  HuffDecoder preCode;
  if (!preCode.Build(pre, 20)) return Fault(in, Status::BadData);
  uint8_t table[kTable];
  for (unsigned i = 0; i < kTable;) {
    in.Fill();
    if (in.PastEnd()) return Fault(in, Status::Truncated);
    const unsigned s = preCode.Decode(in);
    if (s < 16) {
      table[i] = static_cast<uint8_t>((s + oldTable_[i]) & 0xF);
      ++i;
    } else if (s < 18) {
      if (i == 0) return Status::BadData;
      unsigned n = s == 16 ? in.Bits(3) + 3 : in.Bits(7) + 11;
      for (; n > 0 && i < kTable; --n, ++i) table[i] = table[i - 1];
    } else if (s < 20) {
      unsigned n = s == 18 ? in.Bits(3) + 3 : in.Bits(7) + 11;
      for (; n > 0 && i < kTable; --n, ++i) table[i] = 0;
    } else {
      return Fault(in, Status::BadData);
    }
  }
  if (in.PastEnd()) return Fault(in, Status::Truncated);
  if (!main_.Build(table, kMain) || !dist_.Build(table + kMain, kDist) ||
      !lowDist_.Build(table + kMain + kDist, kLowDist) || !rep_.Build(table + kMain + kDist + kLowDist, kRep))
    return Status::BadData;
  std::memcpy(oldTable_, table, sizeof oldTable_);
  tablesRead_ = true;
  return Status::Ok;
}

bool Unpack29::Copy(Window& w, uint32_t dist, uint32_t len) noexcept {
  produced_ += len;
  return w.Copy(dist, len);
}

Status Unpack29::AddFilter(unsigned flags, std::span<const uint8_t> record, Window& w) noexcept {
  RecordReader r(record);
  uint32_t index = lastFilter_;
  if (flags & 0x80) {
    index = r.Number();
    if (index == 0) {
      // Start over: forget every program and its last block length.
      programs_.clear();
    } else {
      --index;
    }
  }
  if (index > programs_.size() || index >= kMaxPrograms) return Status::BadData;
  lastFilter_ = index;
  const bool newProgram = index == programs_.size();
  uint32_t start = r.Number();
  if (flags & 0x40) start += 258;
  Filter f{};
  f.blockStart = static_cast<uint32_t>((w.ptr + start) & w.Mask());
  if (flags & 0x20) f.blockLength = r.Number();
  else f.blockLength = newProgram ? 0 : programs_[index].lastLength;
  if (f.blockLength > kFilterMaxBlock || f.blockLength >= w.Size() - Window::kMargin) return Status::BadData;
  // A start that lies a whole window ahead of the unwritten bytes is passed over once.
  f.nextWindow = w.wr != w.ptr && ((w.wr - w.ptr) & w.Mask()) <= start;
  f.r[3] = 0x3C000;
  f.r[4] = f.blockLength;
  if (flags & 0x10) {
    const unsigned mask = r.Bits(7);
    for (unsigned i = 0; i < 7; ++i)
      if (mask & (1u << i)) f.r[i] = r.Number();
  }
  if (newProgram) {
    const uint32_t codeSize = r.Number();
    if (codeSize == 0 || codeSize >= 0x10000 || codeSize > r.BytesLeft()) return Status::BadData;
    uint8_t* code = RecordBuffer() + kMaxRecord;
    for (uint32_t i = 0; i < codeSize; ++i) code[i] = static_cast<uint8_t>(r.Bits(8));
    bool intact = false;
    const FilterType type = IdentifyFilter({code, codeSize}, &intact);
    if (!intact) return Status::BadData;
    if (type == FilterType::Unknown) {
      unknownFilter_ = true;
      return Status::BadData;
    }
    programs_.push_back({type, 0});
  }
  if (flags & 0x20) programs_[index].lastLength = f.blockLength;
  f.type = programs_[index].type;
  if (flags & 0x08) {
    // Data for the program's own use; the standard filters read none of it.
    const uint32_t n = r.Number();
    if (n > kMaxGlobalData) return Status::BadData;
    for (uint32_t i = 0; i < n; ++i) r.Bits(8);
  }
  if (r.Overrun() || filters_.size() >= kMaxFilters) return Status::BadData;
  filters_.push_back(f);
  return Status::Ok;
}

Unpack29::Step Unpack29::LzStep(BitInput& in, Window& w, Status& st) noexcept {
  const unsigned s = main_.Decode(in);
  if (s < 256) {
    w.Put(static_cast<uint8_t>(s));
    ++produced_;
    return Step::More;
  }
  if (s >= 271 && s < kMain) {
    const unsigned k = s - 271;
    uint32_t len = kLenBase[k] + 3 + in.Bits(kLenBits[k]);
    const unsigned d = dist_.Decode(in);
    if (d >= kDist) {
      st = Status::BadData;
      return Step::Failed;
    }
    const unsigned bits = kDistSlots.bits[d];
    uint32_t dist = kDistSlots.base[d] + 1;
    if (bits > 0) {
      if (d <= 9) {
        dist += in.Bits(bits);
      } else {
        if (bits > 4) dist += in.Bits(bits - 4) << 4;
        if (lowDistRepCount_ > 0) {
          --lowDistRepCount_;
          dist += prevLowDist_;
        } else {
          const unsigned low = lowDist_.Decode(in);
          if (low == 16) {
            lowDistRepCount_ = 15;
            dist += prevLowDist_;
          } else if (low < 16) {
            dist += low;
            prevLowDist_ = low;
          } else {
            st = Status::BadData;
            return Step::Failed;
          }
        }
      }
    }
    if (dist >= 0x2000) {
      ++len;
      if (dist >= 0x40000) ++len;
    }
    oldDist_[3] = oldDist_[2];
    oldDist_[2] = oldDist_[1];
    oldDist_[1] = oldDist_[0];
    oldDist_[0] = dist;
    lastLength_ = len;
    if (Copy(w, dist, len)) return Step::More;
    st = Status::BadData;
    return Step::Failed;
  }
  if (s == 256) {
    if (in.Bits(1)) {
      tablesRead_ = false;
      st = ReadTables(in, w);
      return st == Status::Ok ? Step::More : Step::Failed;
    }
    tablesRead_ = in.Bits(1) == 0;
    return Step::EndOfFile;
  }
  if (s == 257) {
    const unsigned first = in.Bits(8);
    uint32_t length = (first & 7) + 1;
    if (length == 7) length = in.Bits(8) + 7;
    else if (length == 8) length = in.Bits(16);
    if (length == 0) {
      st = Status::BadData;
      return Step::Failed;
    }
    uint8_t* record = RecordBuffer();
    for (uint32_t i = 0; i < length; ++i) {
      in.Fill();
      record[i] = static_cast<uint8_t>(in.Bits(8));
    }
    if (in.PastEnd()) {
      st = Fault(in, Status::Truncated);
      return Step::Failed;
    }
    st = AddFilter(first, {record, length}, w);
    return st == Status::Ok ? Step::More : Step::Failed;
  }
  bool ok = true;
  if (s == 258) {
    if (lastLength_) ok = Copy(w, oldDist_[0], lastLength_);
  } else if (s < 263) {
    const unsigned n = s - 259;
    const uint32_t dist = oldDist_[n];
    for (unsigned i = n; i > 0; --i) oldDist_[i] = oldDist_[i - 1];
    oldDist_[0] = dist;
    const unsigned k = rep_.Decode(in);
    if (k >= kRep) {
      st = Status::BadData;
      return Step::Failed;
    }
    const uint32_t len = kLenBase[k] + 2 + in.Bits(kLenBits[k]);
    lastLength_ = len;
    ok = Copy(w, dist, len);
  } else if (s < 271) {
    const unsigned k = s - 263;
    const uint32_t dist = kShortDistBase[k] + 1 + in.Bits(kShortDistBits[k]);
    oldDist_[3] = oldDist_[2];
    oldDist_[2] = oldDist_[1];
    oldDist_[1] = oldDist_[0];
    oldDist_[0] = dist;
    lastLength_ = 2;
    ok = Copy(w, dist, 2);
  } else {
    ok = false;  // a bit pattern without a code
  }
  if (ok) return Step::More;
  st = Status::BadData;
  return Step::Failed;
}

Unpack29::Step Unpack29::PpmStep(BitInput& in, Window& w, Status& st) noexcept {
  st = Status::BadData;
  const int c = ppm_.DecodeChar(rc_, in);
  if (c < 0) return Step::Failed;
  if (c != ppmEscChar_) {
    w.Put(static_cast<uint8_t>(c));
    ++produced_;
    return Step::More;
  }
  const int code = ppm_.DecodeChar(rc_, in);
  switch (code) {
    case -1:
      return Step::Failed;
    case 0:
      st = ReadTables(in, w);
      return st == Status::Ok ? Step::More : Step::Failed;
    case 2:
      return Step::EndOfFile;
    case 3: {
      const int first = ppm_.DecodeChar(rc_, in);
      if (first < 0) return Step::Failed;
      int length = (first & 7) + 1;
      if (length == 7) {
        const int b = ppm_.DecodeChar(rc_, in);
        if (b < 0) return Step::Failed;
        length = b + 7;
      } else if (length == 8) {
        const int hi = ppm_.DecodeChar(rc_, in);
        const int lo = ppm_.DecodeChar(rc_, in);
        if (hi < 0 || lo < 0) return Step::Failed;
        length = hi * 256 + lo;
      }
      if (length == 0) return Step::Failed;
      uint8_t* record = RecordBuffer();
      for (int i = 0; i < length; ++i) {
        const int v = ppm_.DecodeChar(rc_, in);
        if (v < 0) return Step::Failed;
        record[i] = static_cast<uint8_t>(v);
      }
      st = AddFilter(static_cast<unsigned>(first), {record, static_cast<size_t>(length)}, w);
      return st == Status::Ok ? Step::More : Step::Failed;
    }
    case 4: {
      uint32_t dist = 0;
      for (int i = 0; i < 3; ++i) {
        const int b = ppm_.DecodeChar(rc_, in);
        if (b < 0) return Step::Failed;
        dist = (dist << 8) | static_cast<uint32_t>(b);
      }
      const int len = ppm_.DecodeChar(rc_, in);
      if (len < 0) return Step::Failed;
      return Copy(w, dist + 2, static_cast<uint32_t>(len) + 32) ? Step::More : Step::Failed;
    }
    case 5: {
      const int len = ppm_.DecodeChar(rc_, in);
      if (len < 0) return Step::Failed;
      return Copy(w, 1, static_cast<uint32_t>(len) + 4) ? Step::More : Step::Failed;
    }
    default:
      w.Put(static_cast<uint8_t>(ppmEscChar_));
      ++produced_;
      return Step::More;
  }
}

Status Unpack29::Emit(Window& w, Output& out, size_t from, size_t to) noexcept {
  if (from == to) return Status::Ok;
  if (from < to) return out.Write(w.Data() + from, to - from);
  const Status st = out.Write(w.Data() + from, w.Size() - from);
  return st == Status::Ok ? out.Write(w.Data(), to) : st;
}

// Passes the decoded bytes on, running every filter whose block is complete on the way; stops at
// the start of a filter block that is not yet decoded in full.
Status Unpack29::Flush(Window& w, Output& out) noexcept {
  const size_t mask = w.Mask();
  size_t written = w.wr;
  size_t avail = (w.ptr - written) & mask;
  Status st = Status::Ok;
  const auto compact = [this] {
    filters_.erase(std::remove_if(filters_.begin(), filters_.end(), [](const Filter& f) { return f.done; }),
                   filters_.end());
  };
  for (size_t i = 0; i < filters_.size(); ++i) {
    Filter& f = filters_[i];
    if (f.done) continue;
    if (f.nextWindow) {
      f.nextWindow = false;
      continue;
    }
    const size_t start = f.blockStart;
    if (((start - written) & mask) >= avail) continue;
    if (written != start) {
      st = Emit(w, out, written, start);
      if (st != Status::Ok) return st;
      written = start;
      avail = (w.ptr - written) & mask;
    }
    if (f.blockLength > avail) {
      for (size_t j = i; j < filters_.size(); ++j) filters_[j].nextWindow = false;
      w.wr = written;
      compact();
      return Status::Ok;
    }
    uint8_t* memory = filterMemory_.get();
    uint8_t* scratch = memory + kFilterMaxBlock;
    const size_t first = std::min<size_t>(f.blockLength, w.Size() - start);
    std::memcpy(memory, w.Data() + start, first);
    std::memcpy(memory + first, w.Data(), f.blockLength - first);
    // The file position of the block: the bytes of this file passed on before it.
    const uint32_t position = static_cast<uint32_t>(out.Written());
    std::span<const uint8_t> result;
    if (!RunFilter(f.type, memory, f.blockLength, f.r, position, scratch, result)) return Status::BadData;
    f.done = true;
    // Filters chained on the same block take the previous one's output.
    while (i + 1 < filters_.size()) {
      Filter& g = filters_[i + 1];
      if (g.done || g.blockStart != f.blockStart || g.blockLength != result.size() || g.nextWindow) break;
      if (result.data() != memory) std::memmove(memory, result.data(), result.size());
      if (!RunFilter(g.type, memory, g.blockLength, g.r, position, scratch, result))
        return Status::BadData;
      g.done = true;
      ++i;
    }
    st = out.Write(result.data(), result.size());
    if (st != Status::Ok) return st;
    written = (start + f.blockLength) & mask;
    avail = (w.ptr - written) & mask;
  }
  st = Emit(w, out, written, w.ptr);
  w.wr = w.ptr;
  compact();
  return st;
}

Status Unpack29::Decode(BitInput& in, Window& w, Output& out, uint64_t size) noexcept {
  unknownFilter_ = false;
  filters_.clear();
  produced_ = 0;
  if (!filterMemory_) {
    // The filter block, the filter output, a filter record and a program's code; the lists are
    // reserved to their caps so that adding to them never allocates.
    filterMemory_.reset(new (std::nothrow) uint8_t[2 * kFilterMaxBlock + 2 * kMaxRecord]);
    if (!filterMemory_) return Status::NoMemory;
    try {
      programs_.reserve(kMaxPrograms);
      filters_.reserve(kMaxFilters);
    } catch (...) {
      filterMemory_.reset();
      return Status::NoMemory;
    }
  }
  if (!tablesRead_) {
    const Status st = ReadTables(in, w);
    if (st != Status::Ok) return st;
  }
  for (;;) {
    if (produced_ > size) break;
    in.Fill();
    if (ppmBlock_) {
      // The range coder reads a few bytes ahead of the symbols it has decoded.
      if (in.BytesPastEnd() > 4) return Fault(in, Status::Truncated);
    } else if (in.PastEnd()) {
      if (produced_ >= size) break;
      return Fault(in, Status::Truncated);
    } else if (produced_ == size && !in.HasBytes(1)) {
      break;  // a stream that ends without an end marker
    }
    if (w.NearlyFull()) {
      const Status st = Flush(w, out);
      if (st != Status::Ok) return st;
      if (w.NearlyFull()) return Status::BadData;  // a filter block larger than the window allows
    }
    Status st = Status::Ok;
    const Step step = ppmBlock_ ? PpmStep(in, w, st) : LzStep(in, w, st);
    if (step == Step::EndOfFile) break;
    if (step == Step::Failed) {
      if (ppmBlock_ && st == Status::BadData && in.BytesPastEnd() > 4) return Fault(in, Status::Truncated);
      return st;
    }
  }
  return Flush(w, out);
}

}  // namespace mx::codec::rar
