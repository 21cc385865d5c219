// The shell namespace for the shell views: OLE, the shell allocator and the desktop folder, started
// and ended explicitly on the GUI thread, and the item-id list routines over them.
//
//   int main() {
//       fw::InitApplication();
//       uis::ShellSession shell;          // OLE and the shell, or "Cannot find Shell!" and Terminate
//       fw::Application->Initialize();
//       ... forms with shell views ...
//       fw::DoneApplication();            // the views release their interfaces with their forms
//   }                                     // ~ShellSession releases the desktop and the allocator,
//                                         // then ends OLE
#pragma once

#include <memory>
#include <string>

#include "framework/win32/winapi.h"

#include <shlobj.h>

namespace uis {

// Starts OLE on the calling thread and takes the shell allocator and the desktop folder. When either
// is missing, shows "Cannot find Shell!", asks the application to end and returns false.
bool StartShell();
// Releases the desktop folder and the allocator, then ends OLE. Nothing may hold a shell interface.
void EndShell();
bool ShellStarted();

class ShellSession {
public:
    ShellSession() : started_(StartShell()) {}
    ~ShellSession() {
        if (started_) EndShell();
    }
    ShellSession(const ShellSession&) = delete;
    ShellSession& operator=(const ShellSession&) = delete;
    bool Started() const { return started_; }

private:
    bool started_;
};

IMalloc* ShellMalloc();
IShellFolder* DesktopFolder();
// The desktop's item-id list: the empty list.
LPCITEMIDLIST DesktopIDList();

// Item-id lists from the shell allocator (zero-filled), freed to it.
UINT IDListSize(LPCITEMIDLIST list);
LPITEMIDLIST CopyIDList(LPCITEMIDLIST list);
// The first list without its terminator followed by the second; null when either is malformed.
LPITEMIDLIST ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
void FreeIDList(LPITEMIDLIST list);
// A copy of the list less its last item (the parent) and of the last item alone; false for the
// empty list (the desktop has no parent).
bool SplitLastItem(LPCITEMIDLIST list, LPITEMIDLIST& parent, LPITEMIDLIST& last);
// Whether two lists name the same object: the desktop compares them (both absolute), or `folder`
// (both relative to it).
bool SameIDList(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b);
// The folder's order of two relative lists for a column: the low 16 bits of the answer as a signed
// number; 0 when the shell fails.
int CompareIDLists(IShellFolder* folder, int column, LPCITEMIDLIST a, LPCITEMIDLIST b);

struct IDListDeleter {
    void operator()(ITEMIDLIST* list) const { FreeIDList(list); }
};
using IDListPtr = std::unique_ptr<ITEMIDLIST, IDListDeleter>;

// A name or path parsed by `folder` (the desktop when null); null when it does not parse.
LPITEMIDLIST ParseName(IShellFolder* folder, HWND owner, const std::string& name);
// The text of a shell name result in its three forms (a wide string, which is freed, an offset into
// `item`, checked against the item's size, or an ANSI buffer).
std::string StrRetToString(LPCITEMIDLIST item, STRRET& ret);
// The file-system path of an absolute list: empty when the shell gives none or gives a text that is
// no path (Wine's "::{GUID}" strings).
std::string PathOfIDList(LPCITEMIDLIST list);

// A COM interface pointer released on reset and destruction.
template <class I>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(I* p) : p_(p) {}
    ComPtr(const ComPtr& o) : p_(o.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& o) {
        if (this != &o) {
            if (o.p_) o.p_->AddRef();
            Reset(o.p_);
        }
        return *this;
    }
    ~ComPtr() { Reset(); }
    void Reset(I* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }
    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-arguments: releases what is held first.
    I** Out() {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

private:
    I* p_ = nullptr;
};

}  // namespace uis
