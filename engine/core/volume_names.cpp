#include "engine/core/volume_names.h"

#include "engine/core/routines.h"

namespace engine {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Volume numbers beyond this are refused by the callers (999 volumes at most); the cap only keeps
// a long run of digits from overflowing.
constexpr int64_t kNumberCap = 1000000;

}  // namespace

void VolumeNaming::ParseVolumeExt(std::string_view path)
{
    std::string ext = ExtractFileExt(path);
    if (!ext.empty())
        ext.erase(0, 1);
    VolumeLetter = !ext.empty() && !IsDigit(ext[0]) ? static_cast<uint8_t>(ext[0]) : 255;
    const size_t start = VolumeLetter == 255 ? 0 : 1;
    int64_t value = 0;
    bool allDigits = true;
    for (size_t i = start; i < ext.size(); ++i) {
        if (!IsDigit(ext[i])) {
            allDigits = false;
            break;
        }
        value = value * 10 + (ext[i] - '0');
        if (value > kNumberCap)
            value = kNumberCap;
    }
    if (!allDigits)
        VolumeNumber = !ext.empty() && (ext[0] == 'A' || ext[0] == 'a') ? 1 : 0;
    else
        VolumeNumber = int(value + 1);
}

std::string VolumeNaming::VolumeExt(int n) const
{
    if (n < 0)
        return {};
    const std::string digits = std::to_string(n);
    const bool noLetter = VolumeLetter == 255;
    const std::string letter = noLetter ? std::string() : std::string(1, char(VolumeLetter));
    if (n <= 9)
        return noLetter ? "00" + digits : letter + "0" + digits;
    if (n <= 99)
        return noLetter ? "0" + digits : letter + digits;
    return digits;
}

std::string VolumeNaming::NextVolumePath(std::string_view path)
{
    if (path.empty() || VolumeNumber < 0)
        return {};
    // Only the name's own extension is replaced: a dot in a folder name ("D:\v.1\set.arj") or an
    // earlier dot in the name ("set.tar.arj") stays where it is.
    const std::string ext = ExtractFileExt(path);
    std::string base(path.substr(0, path.size() - ext.size()));
    std::string next = base + "." + VolumeExt(VolumeNumber);
    if (VolumeNumber < int(kNumberCap))
        ++VolumeNumber;
    return next;
}

}  // namespace engine
