// Random operations on the edit model. After each one: the cursor lies in 1..Length+1, the selection
// inside the text, and a text whose line breaks were all CR LF pairs still has no half pair.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "widgets/editmodel.h"
#include "widgets/kvxapplication.h"

namespace {

struct Hooks final : kvx::TKVXEditHooks {
    uint8_t mode = kvx::kEditInsert;
    std::string clipboard;
    uint8_t EditMode() override { return mode; }
    void SetEditMode(uint8_t value) override { mode = value; }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    std::string OemRoundTrip(const std::string& text) override {
        std::string out = text;
        for (char& c : out)
            if (static_cast<unsigned char>(c) >= 0xF0) c = '?';
        return out;
    }
};

// Reads the operation stream; past its end every read gives 0.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool More() const { return at < size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    int32_t Pos() { return static_cast<int32_t>(Byte()) - 8; }  // also a little out of range
    // A short string from a small alphabet; with Pairs, line breaks come as CR LF pairs only.
    std::string Text(bool pairs) {
        static const char alphabet[] = "ab \r\n\xe9\xf5.";
        std::string s;
        for (int n = Byte() % 12; n > 0; --n) {
            const char c = alphabet[Byte() % 8];
            if (pairs && (c == '\r' || c == '\n'))
                s += "\r\n";
            else
                s += c;
        }
        return s;
    }
};

bool PairsOnly(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return true;
}

void Check(const kvx::TKVXEditModel& m, bool pairs) {
    const int32_t len = m.Length();
    if (m.CursorPos() < 1 || m.CursorPos() > len + 1) std::abort();
    if (m.SelStart() < 1 || m.SelLength() < 0 || m.SelStart() + m.SelLength() > len + 1) std::abort();
    if (pairs && !PairsOnly(m.Text())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size};
    // The first byte picks whether texts keep to CR LF pairs (then the invariant is checked).
    const bool pairs = !(in.Byte() & 1);
    Hooks hooks;
    kvx::TKVXEditModel m(&hooks);
    static const uint16_t keys[] = {8, 27, 35, 36, 37, 39, 45, 46, 'A', 'C', 'V', 'X'};
    while (in.More()) {
        const uint8_t op = in.Byte();
        switch (op % 20) {
            case 0: m.SetText(in.Text(pairs)); break;
            case 1: m.InsertText(in.Text(pairs)); break;
            case 2: m.TypeChar(static_cast<char>(in.Byte())); break;
            case 3: m.SetCursorPos(in.Pos()); break;
            case 4: m.SetSelStart(in.Pos()); break;
            case 5: m.SetSelLength(in.Pos()); break;
            case 6: {
                hooks.mode = static_cast<uint8_t>((hooks.mode & kvx::kEditInsert) | (in.Byte() & 0x0E));
                uint16_t key = keys[in.Byte() % 12];
                m.EditKeyDown(key);
                hooks.mode &= kvx::kEditInsert;
                break;
            }
            case 7: m.SelectWord(); break;
            case 8: m.MouseSelect(in.Pos()); break;
            case 9: m.MouseMoveTo(in.Pos()); break;
            case 10: m.MouseTimer(in.Pos()); break;
            case 11: m.EndDragMove(); break;
            case 12: m.Undo(); break;
            case 13: m.SetMaxLength(in.Byte() % 24); break;
            case 14: hooks.mode ^= kvx::kEditInsert; break;
            case 15: m.SetCharCase(static_cast<kvx::TEditCharCase>(in.Byte() % 3)); break;
            case 16: m.SetOEMConvert(in.Byte() & 1); break;
            case 17: m.SetReadOnly((in.Byte() % 4) == 0); break;
            case 18: hooks.clipboard = in.Text(false); break;
            case 19: {
                char buffer[8];
                const int32_t n = m.GetSelTextBuf(buffer, static_cast<int32_t>(in.Byte() % 9));
                if (n < 0 || n > 7) std::abort();
                break;
            }
        }
        Check(m, pairs);
    }
    return 0;
}
