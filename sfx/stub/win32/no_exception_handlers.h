// Included first in every source of the extractor program, which is built without C++ exceptions.
// The engine's codec sources keep a few handlers for allocation failures in code the extractor never
// calls; with exceptions off no handler can run, so "try" becomes its block and "catch" dead code, the
// way the C++ library's own headers treat their handlers. The library headers come first so that
// these definitions reach only the program's and the codec's own code.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#ifndef __cpp_exceptions
#define try if (true)
#define catch(...) if (false)
#endif
