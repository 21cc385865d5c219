#include "widgets/win32/bitmapstreams.h"

#include "widgets/fonttext.h"
#include "widgets/kvxstreams.h"
#include "widgets/win32/dibwriter.h"

namespace kvx::win32 {

namespace {

// The framework's font behind the suite's font-line fields.
class TFontFields final : public TKVXFontFields {
public:
    explicit TFontFields(fw::TFont* font) : font_(font) {}
    std::string Name() const override { return font_->Name(); }
    int Size() const override { return font_->Size(); }
    fw::TColor Color() const override { return font_->Color(); }
    uint8_t Style() const override { return static_cast<uint8_t>(font_->Style().Bits()); }
    void SetName(const std::string& name) override { font_->SetName(name); }
    void SetSize(int size) override { font_->SetSize(size); }
    void SetColor(fw::TColor color) override { font_->SetColor(color); }
    void SetStyle(uint8_t style) override { font_->SetStyle(fw::TFontStyles::FromBits(style)); }

private:
    fw::TFont* font_;
};

}  // namespace

std::vector<uint8_t> KVXBitmapImage(fw::TBitmap* bitmap, bool compressed, int code) {
    if (code == kBitmapFrameworkFormat) return bitmap->SaveToBytes();
    if (compressed) {
        fw::TMemoryStream depth;
        KVXSaveBitmapDepth(depth, bitmap, code);
        return depth.Data();
    }
    return KVXMakeBMPImage(bitmap->Handle(), bitmap->Palette(), code);
}

void KVXWriteBitmap(fw::TStream& stream, fw::TBitmap* bitmap, bool compressed, int code) {
    const std::vector<uint8_t> image = KVXBitmapImage(bitmap, compressed, code);
    KVXWriteBlock(stream, image.data(), image.size(), compressed);
}

void KVXReadBitmap(fw::TStream& stream, fw::TBitmap* bitmap, bool compressed) {
    const std::vector<uint8_t> image = KVXReadBlock(stream, compressed);
    if (bitmap) bitmap->LoadFromBytes(image);
}

std::string KVXFontToString(fw::TFont* font) { return font ? kvx::KVXFontToString(TFontFields(font)) : std::string(); }

void KVXStringToFont(const std::string& text, fw::TFont* font) {
    if (!font) return;
    TFontFields fields(font);
    kvx::KVXStringToFont(text, fields);
}

}  // namespace kvx::win32
