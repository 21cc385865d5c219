#include "engine/codec/rar_window.h"

#include <new>

namespace mx::codec::rar {

bool Window::Allocate(size_t size) noexcept {
  if (size != Size() || !data_) {
    data_.reset(new (std::nothrow) uint8_t[size]);
    if (!data_) {
      mask_ = 0;
      return false;
    }
    mask_ = size - 1;
  }
  Clear();
  return true;
}

Status FlushWindow(Window& w, Output& out) noexcept {
  Status st = Status::Ok;
  if (w.ptr < w.wr) {
    st = out.Write(w.Data() + w.wr, w.Size() - w.wr);
    w.wr = 0;
  }
  if (st == Status::Ok && w.wr < w.ptr) st = out.Write(w.Data() + w.wr, w.ptr - w.wr);
  w.wr = w.ptr;
  return st;
}

}  // namespace mx::codec::rar
