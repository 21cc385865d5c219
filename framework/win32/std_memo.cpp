// TMemo.
#include "framework/win32/std_memo.h"

namespace fw {

// The lines of the window (soft breaks of word wrapping count as lines, as the window counts them).
// Without a window the control's text is split and joined.
class TMemo::MemoLines : public TStrings {
public:
    explicit MemoLines(TMemo* memo) : memo_(memo) {}

    int Count() const override {
        if (!memo_->HandleAllocated()) {
            TStringList lines;
            lines.SetText(memo_->GetText());
            return lines.Count();
        }
        HWND window = Window();
        int count = static_cast<int>(SendMessageA(window, EM_GETLINECOUNT, 0, 0));
        // The empty line after a final line break is no line of text.
        if (SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(LineStart(count - 1)), 0) == 0) --count;
        return count;
    }

    std::string Get(int index) const override {
        if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        if (!memo_->HandleAllocated()) {
            TStringList lines;
            lines.SetText(memo_->GetText());
            return lines.Get(index);
        }
        HWND window = Window();
        const int length = static_cast<int>(SendMessageA(window, EM_LINELENGTH, static_cast<WPARAM>(LineStart(index)), 0));
        // EM_GETLINE takes the buffer size in its first word.
        std::string text(static_cast<size_t>(std::max(length, 2)) + 1, '\0');
        *reinterpret_cast<WORD*>(text.data()) = static_cast<WORD>(std::min<size_t>(text.size(), 0xFFFF));
        const int got = static_cast<int>(
            SendMessageA(window, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
        return text;
    }

    void Put(int index, const std::string& s) override {
        Select(LineStart(index), LineStart(index) + static_cast<int>(Get(index).size()));
        Replace(s);
    }

    void Insert(int index, const std::string& s) override {
        const int count = Count();
        if (index < 0 || index > count) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        if (!memo_->HandleAllocated()) {
            TStringList lines;
            lines.SetText(memo_->GetText());
            lines.Insert(index, s);
            memo_->SetText(lines.Text());
            return;
        }
        if (index < count) {
            const int at = LineStart(index);
            Select(at, at);
            Replace(s + "\r\n");
            return;
        }
        // At the end: after the last line's break (adding one when the text lacks it).
        const int end = TextLength();
        const int lines = static_cast<int>(SendMessageA(Window(), EM_GETLINECOUNT, 0, 0));
        const bool broken = end == 0 || SendMessageA(Window(), EM_LINELENGTH, static_cast<WPARAM>(LineStart(lines - 1)), 0) == 0;
        Select(end, end);
        Replace((broken ? std::string() : std::string("\r\n")) + s + "\r\n");
    }

    void Delete(int index) override {
        const int count = Count();
        if (index < 0 || index >= count) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
        if (!memo_->HandleAllocated()) {
            TStringList lines;
            lines.SetText(memo_->GetText());
            lines.Delete(index);
            memo_->SetText(lines.Text());
            return;
        }
        const int from = LineStart(index);
        const int to = index + 1 < static_cast<int>(SendMessageA(Window(), EM_GETLINECOUNT, 0, 0)) ? LineStart(index + 1)
                                                                                                 : TextLength();
        Select(from, to);
        Replace("");
    }

    void Clear() override { memo_->SetText(""); }

protected:
    void SetUpdateState(bool updating) override {
        if (!memo_->HandleAllocated()) return;
        SendMessageA(Window(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
        if (!updating) InvalidateRect(Window(), nullptr, TRUE);
    }

private:
    HWND Window() const { return memo_->Handle(); }
    int LineStart(int index) const {
        return static_cast<int>(SendMessageA(Window(), EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    }
    int TextLength() const { return static_cast<int>(SendMessageA(Window(), WM_GETTEXTLENGTH, 0, 0)); }
    void Select(int from, int to) { SendMessageA(Window(), EM_SETSEL, static_cast<WPARAM>(from), to); }
    void Replace(const std::string& s) { SendMessageA(Window(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(s.c_str())); }

    TMemo* memo_;
};

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<MemoLines>(this)) {
    SetBounds(Left(), Top(), 185, 89);
    SetAutoSize(false);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (!wordWrap_) params.Style |= ES_AUTOHSCROLL;
    if (wantReturns_) params.Style |= ES_WANTRETURN;
    if (alignment_ == TAlignment::taCenter) params.Style |= ES_CENTER;
    if (alignment_ == TAlignment::taRightJustify) params.Style |= ES_RIGHT;
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_HSCROLL;
    // The text goes in once the limit is lifted (a long log would not fit the window's first limit).
    params.Caption.clear();
}

void TMemo::CreateWindowState() {
    HWND window = Handle();
    // No limit of ours: the window takes as much text as it can hold.
    if (MaxLength() == 0) SendMessageA(window, EM_SETLIMITTEXT, 0, 0);
    const std::string& text = TextBuffer();
    if (!text.empty()) SetWindowTextA(window, text.c_str());
    TCustomEdit::CreateWindowState();
}

void TMemo::Dispatch(TMessage& message) {
    // Tab and Enter stay in the memo when it wants them.
    if (message.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(message);
        if (wantTabs_)
            message.Result |= DLGC_WANTTAB;
        else
            message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!wantReturns_) message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::Dispatch(message);
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (scrollBars_ == value) return;
    scrollBars_ = value;
    RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    RecreateWnd();
}

void TMemo::SetWantReturns(bool value) {
    if (wantReturns_ == value) return;
    wantReturns_ = value;
    RecreateWnd();
}

void TMemo::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void RegisterMemoClasses() {
    RegisterEditClasses();
    RegisterStdSupport();
    Class<TMemo, TCustomEdit>("TMemo")
        .Prop("Lines", &TMemo::Lines, &TMemo::SetLines)
        .Prop("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars)
        .Prop("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap)
        .Prop("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns)
        .Prop("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs)
        .Prop("Alignment", &TMemo::Alignment, &TMemo::SetAlignment);
}

}  // namespace fw
