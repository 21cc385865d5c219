// GIF files (GIF87a and GIF89a) as a list of frames with their extensions, read and written without
// touching the LZW data: a frame keeps its data stream exactly as read, and is decoded only on demand.
//
//  Header (6):            "GIF" and "87a" or "89a"
//  Screen descriptor (7): +0 uint16 width  +2 uint16 height  +4 packed (bit 7 global table, bits 4-6
//                         colour resolution - 1, bits 0-2 table size exponent - 1)  +5 background index
//                         +6 aspect ratio
//  Global table:          2^n entries of red, green, blue
//  Blocks:                "!" (33) extension, "," (44) image, ";" (59) trailer
//  Extension:             label ($F9 graphic control, $01 plain text, $FF application, $FE comment),
//                         a fixed part (6, 13, 12 and 0 bytes), then for plain text, application and
//                         comment data sub-blocks ended by a 0 byte
//  Graphic control (6):   +0 block size 4  +1 packed (bits 2-4 disposal, bit 0 transparent)
//                         +2 uint16 delay in 1/100 s  +4 transparent index  +5 terminator 0
//  Image descriptor (9):  +0 uint16 left  +2 top  +4 width  +6 height  +8 packed (bit 7 local table,
//                         bit 6 interlaced, bits 0-2 table size exponent - 1); a local table; then the
//                         data stream: minimum code size and data sub-blocks
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/core/graphics_values.h"

namespace inst {

struct GifRgb {
    uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const GifRgb&, const GifRgb&) = default;
};

struct GifColorTable {
    uint32_t count = 0;
    std::array<GifRgb, 256> entries{};
};

// The smallest n >= 1 with 2^n >= count (count up to 256).
int TableExponent(uint32_t count);
// A table entry as a colour (0x00BBGGRR).
fw::TColor ColorOf(const GifRgb& rgb);
// The first entry of exactly `color`, or -1.
int FindColor(const GifColorTable& table, fw::TColor color);

enum class GifExtensionKind { ekGraphicControl, ekPlainText, ekApplication, ekComment };

struct GifExtension {
    GifExtensionKind kind = GifExtensionKind::ekComment;
    std::vector<uint8_t> fixed;      // the fixed part as read (6, 13, 12 or 0 bytes)
    std::vector<std::string> lines;  // one per data sub-block
};

// A frame's encoded picture; shared between copies of the frame.
struct GifFrameData {
    std::vector<uint8_t> stream;  // minimum code size and the sub-blocks, as read or written
    int width = 0;
    int height = 0;
    uint8_t packed = 0;  // of the image descriptor
    GifColorTable table;
    int bitsPerPixel = 0;
};

struct GifFrame {
    std::shared_ptr<GifFrameData> data;
    std::vector<GifExtension> extensions;  // graphic control and comment extensions
    int left = 0;
    int top = 0;
    bool interlaced = false;
    bool corrupted = false;
    bool grayscale = false;
    bool hasLocalTable = false;
    fw::TColor transparentColor = fw::clNone;
    int frameDelay = 0;  // milliseconds
    int disposal = 0;
};

// What all frames share.
struct GifScreen {
    std::vector<std::string> comment;
    uint8_t aspect = 0;
    int tableExponent = 0;
    int colorResolution = 0;
    GifColorTable globalTable;
};

struct GifFile {
    std::shared_ptr<GifScreen> screen = std::make_shared<GifScreen>();
    int version = 0;  // 0 none, 1 "87a", 2 "89a"
    int screenWidth = 0;
    int screenHeight = 0;
    fw::TColor backgroundColor = fw::clNone;
    bool loopEnabled = false;
    int loopCount = 1;
    std::vector<GifFrame> frames;
};

// Frames larger than this many pixels are refused as corrupt: a few bytes of file must not ask for
// gigabytes of bitmap.
constexpr int64_t kGifMaxFramePixels = int64_t{1} << 24;
// Looping counts above this are read as this.
constexpr int kGifMaxLoopCount = 30000;

// Reads a whole GIF file. Errors raise EInvalidGraphicOperation with the texts of gif_texts.h, or
// EReadError "Stream read error". `tolerant`: damaged frame data is kept as far as it goes and the
// frame marked corrupted, instead of raising.
GifFile ReadGif(std::span<const uint8_t> data, bool tolerant);

// Writes the file as it stands: every frame needs its data. The screen size is recomputed from the
// frames, and every colour table is padded to the 2^n entries its descriptor declares.
std::vector<uint8_t> WriteGif(GifFile& file);

// Prepares frames for writing: graphic control extensions from delay, transparency and disposal
// (created when needed), empty comment extensions removed, and version 89a whenever an extension
// or a comment needs it.
void UpdateExtensions(GifFile& file);

// A frame decoded: width x height indices, rows top first, and whether the data was damaged.
struct GifDecodedFrame {
    std::vector<uint8_t> indices;
    bool corrupted = false;
};
using GifProgress = std::function<void(int percent)>;
// Raises EInvalidGraphicOperation for data that cannot be decoded (in tolerant mode only for a frame
// without a colour table, or too large).
GifDecodedFrame DecodeGifFrame(const GifFrame& frame, bool tolerant, const GifProgress& progress = {});

// A decoded frame as a bitmap file: 1 bit for 1-bit frames, 4 for 2 to 4, 8 for 5 to 8; a palette of
// 2^bits entries from the frame's table, entries beyond it grey (128, 128, 128).
std::vector<uint8_t> GifFrameBitmapFile(const GifFrame& frame, const GifDecodedFrame& decoded);

// Encodes a palette picture into a frame's data: `palette` is 0x00RRGGBB per entry (at most 256),
// `indices` one per pixel, rows top first. The table gets the palette; bits per pixel cover both the
// palette and the largest index.
std::shared_ptr<GifFrameData> EncodeGifFrame(int width, int height, std::span<const uint32_t> palette,
                                             std::span<const uint8_t> indices, const GifProgress& progress = {});

}  // namespace inst
