#include "app/text_routines.h"

#include <array>
#include <string_view>

#include "framework/core/sysutils.h"

namespace app {

namespace {

// Where the extension of the path's file name starts (its last "."), or npos without one.
size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t separator = path.find_last_of("\\/:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return std::string::npos;
    return dot;
}

}  // namespace

std::string BoolToSetting(bool value) { return value ? "TRUE" : "FALSE"; }

bool SettingToBool(const std::string& text) { return fw::UpperCase(text) == "TRUE"; }

bool IsArchiveExtension(const std::string& path) {
    static constexpr std::array<std::string_view, 15> kExtensions = {
        ".ZIP", ".BH", ".LHA", ".LZH", ".CAB", ".ZOO", ".ARJ", ".ARC", ".RAR", ".XXE", ".ENC", ".TAR", ".GZ", ".GZIP", ".UUE"};
    const size_t start = ExtensionStart(path);
    if (start == std::string::npos) return false;
    const std::string ext = fw::UpperCase(path.substr(start));
    for (std::string_view known : kExtensions)
        if (ext == known) return true;
    return false;
}

std::string ReplaceExtension(const std::string& path, const std::string& ext) {
    const size_t start = ExtensionStart(path);
    return (start == std::string::npos ? path : path.substr(0, start)) + "." + ext;
}

}  // namespace app
