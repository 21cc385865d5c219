#include "engine/codec/rar_unpack.h"

#include <new>

#include "engine/codec/rar15.h"
#include "engine/codec/rar20.h"
#include "engine/codec/rar29.h"
#include "engine/codec/rar_input.h"
#include "engine/codec/rar_window.h"

namespace mx::codec {

namespace {

enum class Family { None, V15, V20, V29 };

Family FamilyOf(unsigned version) noexcept {
  switch (version) {
    case 13:
    case 15:
      return Family::V15;
    case 20:
    case 26:
      return Family::V20;
    case 29:
    case 36:
      return Family::V29;
    default:
      return Family::None;
  }
}

constexpr uint32_t kMaxDictionary = 0x400000;
// RAR 2.9-4.x filter blocks need room in the window beside the bytes not yet passed on.
constexpr uint32_t kMinWindow29 = 0x40000;

}  // namespace

struct RarUnpacker::State {
  rar::Window window;
  rar::Unpack15 v15;
  rar::Unpack20 v20;
  rar::Unpack29 v29;
  Family family = Family::None;  // the family whose state the window holds; None after a failure
  bool unknownFilter = false;
};

RarUnpacker::RarUnpacker() : state_(new State) {}
RarUnpacker::~RarUnpacker() = default;

bool RarUnpacker::Supports(unsigned version) noexcept { return FamilyOf(version) != Family::None; }

void RarUnpacker::Reset() noexcept { state_->family = Family::None; }

bool RarUnpacker::UnknownFilter() const noexcept { return state_->unknownFilter; }

bool RarUnpacker::CanContinue() const noexcept { return state_->family != Family::None; }

Status RarUnpacker::Unpack(ByteSource& source, ByteSink& sink, const RarUnpackParams& params) noexcept {
  State& s = *state_;
  s.unknownFilter = false;
  const Family family = FamilyOf(params.version);
  if (family == Family::None) {
    s.family = Family::None;
    return Status::BadData;
  }
  if (params.size == RarUnpackParams::kUnknownSize && family != Family::V29) {
    s.family = Family::None;
    return Status::BadData;  // only the 2.9 streams carry an end marker
  }
  const bool solid = params.solid && s.family == family;
  if (params.solid && !solid) return Status::BadData;  // the state this entry continues is lost
  if (!solid) {
    uint32_t size = params.dictionary < 0x10000 ? 0x10000 : params.dictionary;
    if (size > kMaxDictionary) size = kMaxDictionary;
    if (family == Family::V29 && size < kMinWindow29) size = kMinWindow29;
    if (!s.window.Allocate(size)) {
      s.family = Family::None;
      return Status::NoMemory;
    }
    switch (family) {
      case Family::V15:
        s.v15.Reset();
        break;
      case Family::V20:
        s.v20.Reset();
        break;
      default:
        s.v29.Reset();
        break;
    }
  }
  s.family = Family::None;  // until this entry has been decoded
  // A solid entry's output starts where the previous one ended.
  s.window.wr = s.window.ptr;
  Status st;
  uint64_t written = 0;
  try {
    rar::BitInput in(source);
    rar::Output out(sink, params.size);
    switch (family) {
      case Family::V15:
        st = s.v15.Decode(in, s.window, out, params.size);
        break;
      case Family::V20:
        st = s.v20.Decode(in, s.window, out, params.size);
        break;
      default:
        s.v29.SetModelLimit(params.maxModel);
        st = s.v29.Decode(in, s.window, out, params.size);
        s.unknownFilter = s.v29.UnknownFilter();
        break;
    }
    written = out.Written();
  } catch (const std::bad_alloc&) {
    return Status::NoMemory;
  }
  if (st == Status::Ok && params.size != RarUnpackParams::kUnknownSize && written < params.size) st = Status::BadData;
  if (st == Status::Ok) s.family = family;
  return st;
}

}  // namespace mx::codec
