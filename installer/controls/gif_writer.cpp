// Writing GIF files from frames (the layouts are drawn in gif_stream.h).
#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "installer/controls/gif_stream.h"
#include "installer/controls/gif_texts.h"

namespace inst {

namespace {

class ByteWriter {
public:
    void Byte(uint32_t b) { out_.push_back(static_cast<uint8_t>(b)); }
    void Word(uint32_t w) {
        Byte(w & 0xFF);
        Byte((w >> 8) & 0xFF);
    }
    void Bytes(std::span<const uint8_t> s) { out_.insert(out_.end(), s.begin(), s.end()); }
    void Text(const char* s) { Bytes({reinterpret_cast<const uint8_t*>(s), std::strlen(s)}); }

    // The table's entries, then black up to the 2^exponent entries its descriptor declares.
    void Table(const GifColorTable& table, int exponent) {
        const uint32_t declared = 1u << exponent;
        for (uint32_t i = 0; i < declared; ++i) {
            const GifRgb rgb = i < table.count ? table.entries[i] : GifRgb{};
            Byte(rgb.red);
            Byte(rgb.green);
            Byte(rgb.blue);
        }
    }

    // One sub-block per line (cut to 255 bytes, empty lines left out) and the 0 that ends them.
    void Lines(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            const size_t n = std::min<size_t>(line.size(), 255);
            if (n == 0) continue;
            Byte(static_cast<uint32_t>(n));
            Bytes({reinterpret_cast<const uint8_t*>(line.data()), n});
        }
        Byte(0);
    }

    std::vector<uint8_t>& Out() { return out_; }

private:
    std::vector<uint8_t> out_;
};

uint8_t LabelOf(GifExtensionKind kind) {
    switch (kind) {
        case GifExtensionKind::ekGraphicControl: return 0xF9;
        case GifExtensionKind::ekPlainText: return 0x01;
        case GifExtensionKind::ekApplication: return 0xFF;
        case GifExtensionKind::ekComment: return 0xFE;
    }
    return 0xFE;
}

size_t FixedSizeOf(GifExtensionKind kind) {
    switch (kind) {
        case GifExtensionKind::ekGraphicControl: return 6;
        case GifExtensionKind::ekPlainText: return 13;
        case GifExtensionKind::ekApplication: return 12;
        case GifExtensionKind::ekComment: return 0;
    }
    return 0;
}

void WriteExtension(ByteWriter& w, const GifExtension& e) {
    w.Byte('!');
    w.Byte(LabelOf(e.kind));
    std::vector<uint8_t> fixed = e.fixed;
    fixed.resize(FixedSizeOf(e.kind), 0);
    w.Bytes(fixed);
    if (e.kind != GifExtensionKind::ekGraphicControl) w.Lines(e.lines);
}

// The colour resolution, exponent and table to declare: the stored exponent, raised when the table
// holds more entries than it covers.
int DeclaredExponent(int stored, uint32_t count) { return std::clamp(std::max(stored, TableExponent(count)), 1, 8); }

}  // namespace

void UpdateExtensions(GifFile& file) {
    for (GifFrame& frame : file.frames) {
        auto gce = std::find_if(frame.extensions.begin(), frame.extensions.end(),
                                [](const GifExtension& e) { return e.kind == GifExtensionKind::ekGraphicControl; });
        const bool wanted = frame.frameDelay != 0 || frame.transparentColor != fw::clNone || frame.disposal != 0;
        if (gce == frame.extensions.end() && wanted) {
            GifExtension e;
            e.kind = GifExtensionKind::ekGraphicControl;
            e.fixed = {4, 0, 0, 0, 0, 0};
            frame.extensions.push_back(std::move(e));
            gce = frame.extensions.end() - 1;
        }
        if (gce != frame.extensions.end()) {
            std::vector<uint8_t>& f = gce->fixed;
            f.resize(6, 0);
            const int delay = frame.frameDelay / 10;  // 1/100 s; 7 ms is 0
            f[2] = static_cast<uint8_t>(delay);
            f[3] = static_cast<uint8_t>(delay >> 8);
            const int index = frame.data ? FindColor(frame.data->table, frame.transparentColor) : -1;
            f[1] = static_cast<uint8_t>((f[1] & ~0x1D) | ((frame.disposal & 7) << 2) | (index >= 0 ? 1 : 0));
            f[4] = static_cast<uint8_t>(index >= 0 ? index : 0);
        }
        std::erase_if(frame.extensions,
                      [](const GifExtension& e) { return e.kind == GifExtensionKind::ekComment && e.lines.empty(); });
        if (!frame.extensions.empty()) file.version = 2;
    }
    if (!file.screen->comment.empty()) file.version = 2;
}

std::vector<uint8_t> WriteGif(GifFile& file) {
    if (file.frames.empty()) throw fw::EInvalidGraphicOperation(kGifNoData);
    for (const GifFrame& f : file.frames)
        if (!f.data || f.data->stream.empty()) throw fw::EInvalidGraphicOperation(kGifNoData);
    ByteWriter w;
    w.Text(file.version == 2 ? "GIF89a" : "GIF87a");

    file.screenWidth = file.screenHeight = 0;
    for (const GifFrame& f : file.frames) {
        file.screenWidth = std::max(file.screenWidth, f.left + f.data->width);
        file.screenHeight = std::max(file.screenHeight, f.top + f.data->height);
    }
    const GifScreen& screen = *file.screen;
    const GifColorTable& global = screen.globalTable;
    w.Word(static_cast<uint32_t>(std::min(file.screenWidth, 0xFFFF)));
    w.Word(static_cast<uint32_t>(std::min(file.screenHeight, 0xFFFF)));
    const int globalExponent = DeclaredExponent(screen.tableExponent, global.count);
    if (global.count > 0) {
        w.Byte(0x80u | static_cast<uint32_t>(TableExponent(global.count) - 1) << 4 | static_cast<uint32_t>(globalExponent - 1));
        w.Byte(static_cast<uint32_t>(std::max(FindColor(global, file.backgroundColor), 0)));
    } else {
        w.Byte(0);
        w.Byte(0);
    }
    w.Byte(screen.aspect);
    if (global.count > 0) w.Table(global, globalExponent);

    if (file.loopEnabled && file.frames.size() > 1) {
        w.Byte('!');
        w.Byte(0xFF);
        w.Byte(11);
        w.Text("NETSCAPE2.0");
        w.Byte(3);
        w.Byte(1);
        w.Word(static_cast<uint32_t>(file.loopCount));
        w.Byte(0);
    }

    for (const GifFrame& f : file.frames) {
        for (const GifExtension& e : f.extensions) WriteExtension(w, e);
        const GifFrameData& d = *f.data;
        w.Byte(',');
        w.Word(static_cast<uint32_t>(f.left));
        w.Word(static_cast<uint32_t>(f.top));
        w.Word(static_cast<uint32_t>(d.width));
        w.Word(static_cast<uint32_t>(d.height));
        const int localExponent = TableExponent(d.table.count);
        uint32_t packed = f.interlaced ? 0x40 : 0;
        if (f.hasLocalTable) packed |= 0x80u | static_cast<uint32_t>(localExponent - 1);
        w.Byte(packed);
        if (f.hasLocalTable) w.Table(d.table, localExponent);
        w.Bytes(d.stream);
    }

    if (!screen.comment.empty()) {
        w.Byte('!');
        w.Byte(0xFE);
        w.Lines(screen.comment);
    }
    w.Byte(';');
    return std::move(w.Out());
}

}  // namespace inst
