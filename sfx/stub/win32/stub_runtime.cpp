// The few C++ run-time pieces the extractor needs. The program is built without C++ exceptions and
// links the C++ library statically; the library's own pieces would bring its exception machinery and
// strings with them, several times the size the program may have.
#include <cstdlib>
#include <new>
#include <string>

#include <windows.h>

// Allocation on the process heap; a failed plain new ends the program (nothing could catch it).
namespace {
void* Allocate(std::size_t n) noexcept { return HeapAlloc(GetProcessHeap(), 0, n ? n : 1); }
void Release(void* p) noexcept {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}
}  // namespace

void* operator new(std::size_t n) {
    void* p = Allocate(n);
    if (!p) ExitProcess(3);
    return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

extern "C" void __cxa_pure_virtual() { ExitProcess(3); }

// The memory and string routines the compiler calls, so that the program imports no C library.
extern "C" {
void* memcpy(void* dst, const void* src, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dst);
    const auto* s = static_cast<const unsigned char*>(src);
    while (n--) *d++ = *s++;
    return dst;
}
void* memmove(void* dst, const void* src, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dst);
    const auto* s = static_cast<const unsigned char*>(src);
    if (d < s) {
        while (n--) *d++ = *s++;
    } else {
        while (n--) d[n] = s[n];
    }
    return dst;
}
void* memset(void* dst, int c, std::size_t n) {
    auto* d = static_cast<unsigned char*>(dst);
    while (n--) *d++ = static_cast<unsigned char>(c);
    return dst;
}
int memcmp(const void* a, const void* b, std::size_t n) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; n; --n, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}
// Nothing of the program needs destructors run at exit.
int atexit(void (*)()) { return 0; }
std::size_t strlen(const char* s) {
    const char* p = s;
    while (*p) ++p;
    return static_cast<std::size_t>(p - s);
}
}

// Defined here so that the library's new-handler unit (and its unwind tables) stays out.
namespace std {
const nothrow_t nothrow{};
}

// The library's throwing helpers that container code still references; with exceptions off nothing
// could catch them, so reaching one ends the program.
namespace std {
[[noreturn]] void __throw_bad_alloc() { ExitProcess(3); }
[[noreturn]] void __throw_bad_array_new_length() { ExitProcess(3); }
[[noreturn]] void __throw_length_error(const char*) { ExitProcess(3); }
}  // namespace std
