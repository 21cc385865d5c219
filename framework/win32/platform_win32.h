// The Win32 implementations of the framework's seams (files, code pages, clock, host, registry,
// resources, locale). Windows programs and Windows test programs call InstallWin32Platform() once at
// start, before any other framework call.
#pragma once

#include "framework/core/platform.h"

namespace fw {

void InstallWin32Platform();

// The single objects, for tests that compare them with the portable ones.
FileSystem& Win32FileSystem();
CodePage& Win32CodePage();
RegistryBackend& Win32Registry();
Locale& Win32Locale();
ProfileStore& Win32ProfileStore();

}  // namespace fw
