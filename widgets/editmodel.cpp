#include "widgets/editmodel.h"

#include <algorithm>
#include <cstdlib>

#include "widgets/kvxapplication.h"

namespace kvx {

namespace {

// Virtual-key codes of the keys the edit handles itself.
constexpr uint16_t kKeyBack = 8;
constexpr uint16_t kKeyEscape = 27;
constexpr uint16_t kKeyEnd = 35;
constexpr uint16_t kKeyHome = 36;
constexpr uint16_t kKeyLeft = 37;
constexpr uint16_t kKeyRight = 39;
constexpr uint16_t kKeyInsert = 45;
constexpr uint16_t kKeyDelete = 46;

// Every line break (CR LF, bare CR, bare LF) as a CR LF pair.
std::string PairLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Only a-z and A-Z change case, whatever the code page.
char MapCase(char c, TEditCharCase charCase) {
    if (charCase == TEditCharCase::ecUpperCase && c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (charCase == TEditCharCase::ecLowerCase && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

}  // namespace

TKVXEditModel::TKVXEditModel(TKVXEditHooks* hooks) : hooks_(hooks ? hooks : &none_) { delimiters_[' '] = true; }

char TKVXEditModel::CharAt(int32_t pos) const { return pos >= 1 && pos <= Length() ? text_[pos - 1] : '\0'; }

uint8_t TKVXEditModel::Mode() const { return hooks_->EditMode(); }

void TKVXEditModel::SetText(const std::string& value) {
    if (value == text_) return;
    text_ = value;
    if (maxLength_ > 0 && Length() > maxLength_) {
        int32_t cut = maxLength_;
        // Cutting between CR and LF would leave half a line break.
        if (PairAt(cut)) --cut;
        text_.resize(static_cast<size_t>(cut));
    }
    SetCursorPos(1);
    // A drag-move in progress keeps UpdateSelection from collapsing the selection; it must still fit.
    selStart_ = std::min(selStart_, Length() + 1);
    selLength_ = 0;
    hooks_->TextSet();
}

void TKVXEditModel::SetCursorPos(int32_t value) {
    prevCursorPos_ = cursorPos_;
    cursorPos_ = std::clamp(value, 1, Length() + 1);
    UpdateSelection();
    hooks_->CursorPosChanged();
}

void TKVXEditModel::SetSelStart(int32_t value) {
    selStart_ = std::clamp(value, 1, Length() + 1);
    selLength_ = std::clamp(selLength_, 0, Length() + 1 - selStart_);
}

void TKVXEditModel::SetSelLength(int32_t value) { selLength_ = std::clamp(value, 0, Length() + 1 - selStart_); }

std::string TKVXEditModel::GetSelText() const {
    return text_.substr(static_cast<size_t>(selStart_ - 1), static_cast<size_t>(selLength_));
}

int32_t TKVXEditModel::GetSelTextBuf(char* buffer, int32_t bufSize) const {
    if (!buffer || bufSize <= 0) return 0;
    const int32_t n = std::min(selLength_, bufSize - 1);
    text_.copy(buffer, static_cast<size_t>(n), static_cast<size_t>(selStart_ - 1));
    buffer[n] = '\0';
    return n;
}

void TKVXEditModel::SetModified(bool value) {
    modified_ = value;
    hooks_->Modified();
}

// The selection follows the cursor while Shift or the mouse extends it; S and L stay relative to the
// end the cursor left (P, the previous position) so a shrinking move gives the selection back.
void TKVXEditModel::UpdateSelection() {
    if (typing_ || dragMoving_) return;
    const int32_t k = cursorPos_, p = prevCursorPos_;
    int32_t& s = selStart_;
    int32_t& l = selLength_;
    if (!(Mode() & kEditShift) && !mouseExtend_) {
        l = 0;
        s = k;
    } else if (l == 0) {
        l = std::abs(p - k);
        if (k < p) s = k;
    } else if (s < k) {
        const int32_t e = s + l;
        if (k < e) {
            if (k > p) {
                l = e - k;
                s = k;
            } else {
                l = k - s;
            }
        } else if (s < p) {
            l = k - s;
        } else {
            s = e;
            l = k - e;
        }
    } else if (s == p) {
        l += s - k;
        s = k;
    } else {
        l = s - k;
        s = k;
    }
    // Whatever the path, the selection stays inside the text.
    s = std::clamp(s, 1, Length() + 1);
    l = std::clamp(l, 0, Length() + 1 - s);
}

void TKVXEditModel::WidenSelection() {
    if (selLength_ <= 0) return;
    const int32_t last = selStart_ + selLength_ - 1;
    if (CharAt(last) == '\r' && CharAt(last + 1) == '\n') ++selLength_;
    if (CharAt(selStart_) == '\n' && CharAt(selStart_ - 1) == '\r') {
        --selStart_;
        ++selLength_;
    }
}

void TKVXEditModel::InsertText(std::string text) {
    if (readOnly_) return;
    if (oemConvert_ && !text.empty()) text = hooks_->OemRoundTrip(text);
    hooks_->FilterInsert(text);
    hooks_->BeforeInsert();
    previousText_ = text_;
    int32_t& s = selStart_;
    int32_t& l = selLength_;
    s = std::clamp(s, 1, Length() + 1);
    l = std::clamp(l, 0, Length() + 1 - s);
    const int32_t at = s;
    if (l > 0) {
        WidenSelection();
    } else {
        // Never between CR and LF.
        if (CharAt(s) == '\n' && CharAt(s - 1) == '\r') --s;
        if (!(Mode() & kEditInsert) && !forceInsert_ && s <= Length()) l = PairAt(s) ? 2 : 1;
    }
    int32_t next = s;
    if (l > 0) {
        hooks_->TextDeleted(text_.substr(static_cast<size_t>(s - 1), static_cast<size_t>(l)));
        text_.erase(static_cast<size_t>(s - 1), static_cast<size_t>(l));
        l = 0;
    }
    // Only a text that has reached MaxLength refuses; a longer string still goes in whole.
    if (maxLength_ == 0 || Length() < maxLength_) {
        text_.insert(static_cast<size_t>(s - 1), text);
        next = s + static_cast<int32_t>(text.size());
    }
    modified_ = true;
    hooks_->TextChangedAt(at);
    SetCursorPos(next);
    selLength_ = 0;
    selStart_ = cursorPos_;
}

void TKVXEditModel::TypeChar(char c) {
    if (static_cast<unsigned char>(c) <= 31) return;
    typing_ = true;
    InsertText(std::string(1, MapCase(c, charCase_)));
    typing_ = false;
}

void TKVXEditModel::SelectAll() {
    selStart_ = 1;
    selLength_ = Length();
    hooks_->PaintText(-1);
}

void TKVXEditModel::Clear() {
    SelectAll();
    InsertText({});
}

void TKVXEditModel::CopyToClipboard() {
    if (!secret_) hooks_->SetClipboardText(GetSelText());
}

void TKVXEditModel::CutToClipboard() {
    if (secret_) return;
    hooks_->SetClipboardText(GetSelText());
    InsertText({});
}

void TKVXEditModel::PasteFromClipboard() { InsertText(PairLineBreaks(hooks_->ClipboardText())); }

void TKVXEditModel::EditKeyDown(uint16_t& key) {
    const uint8_t mode = Mode();
    const bool ctrl = mode & kEditCtrl, shift = mode & kEditShift, alt = mode & kEditAlt;
    const int32_t oldLength = selLength_;
    switch (key) {
        case kKeyBack:
            if (readOnly_ || selStart_ < 1) break;
            if (selLength_ == 0) {
                if (cursorPos_ == 1) return;
                selStart_ = cursorPos_ - 1;
                selLength_ = 1;
            }
            InsertText({});
            break;
        case kKeyEscape:
            selLength_ = 0;
            break;
        case kKeyEnd:
            MoveToLineEnd();
            break;
        case kKeyHome:
            if (ctrl)
                SetCursorPos(1);
            else
                MoveToLineStart();
            break;
        case kKeyLeft:
            if (cursorPos_ < 2) break;
            // Over a whole CR LF pair at once.
            SetCursorPos(CharAt(cursorPos_ - 1) == '\n' && CharAt(cursorPos_ - 2) == '\r' ? cursorPos_ - 2
                                                                                           : cursorPos_ - 1);
            if (ctrl) MoveWordLeft();
            break;
        case kKeyRight:
            if (cursorPos_ > Length() || text_.empty()) break;
            SetCursorPos(PairAt(cursorPos_) ? cursorPos_ + 2 : cursorPos_ + 1);
            if (ctrl) MoveWordRight();
            break;
        case kKeyInsert:
            if (shift)
                PasteFromClipboard();
            else if (ctrl)
                CopyToClipboard();
            else if (!alt)
                hooks_->SetEditMode(mode ^ kEditInsert);
            break;
        case kKeyDelete:
            if (shift) {
                CutToClipboard();
                break;
            }
            if (readOnly_ || text_.empty()) break;
            if (selLength_ == 0) SetSelLength(1);
            InsertText({});
            break;
        case 'A':
        case 'C':
        case 'V':
        case 'X':
            if (!ctrl) break;
            if (key == 'A') SelectAll();
            if (key == 'C') CopyToClipboard();
            if (key == 'V') PasteFromClipboard();
            if (key == 'X') CutToClipboard();
            key = 0;
            break;
        default:
            break;
    }
    if (selLength_ != oldLength) hooks_->PaintText(cursorPos_);
}

void TKVXEditModel::MoveToLineStart() {
    int32_t p = cursorPos_;
    while (p > 1 && CharAt(p - 1) != '\n') --p;
    SetCursorPos(p);
}

void TKVXEditModel::MoveToLineEnd() {
    int32_t p = cursorPos_;
    while (p <= Length() && CharAt(p) != '\r') ++p;
    SetCursorPos(p);
}

void TKVXEditModel::MoveWordLeft() {
    int32_t p = cursorPos_;
    while (p > 1 && !IsDelimiter(CharAt(p))) --p;
    SetCursorPos(p);
}

void TKVXEditModel::MoveWordRight() {
    int32_t p = cursorPos_;
    while (p <= Length() && !IsDelimiter(CharAt(p))) ++p;
    SetCursorPos(p);
}

void TKVXEditModel::SelectWord() {
    if (text_.empty()) return;
    int32_t p = cursorPos_;
    while (p > 1 && !IsDelimiter(CharAt(p))) --p;
    const int32_t start = p == 1 ? 1 : p + 1;
    p = cursorPos_;
    while (p <= Length() && !IsDelimiter(CharAt(p))) ++p;
    if (p < start) {
        // The cursor stands on a delimiter: no word, no selection.
        selStart_ = cursorPos_;
        selLength_ = 0;
        return;
    }
    selStart_ = start;
    selLength_ = p - start;
}

bool TKVXEditModel::MouseSelect(int32_t pos) {
    bool started = false;
    if (!dragMoving_ && selStart_ < pos && pos < selStart_ + selLength_) {
        dragMoving_ = true;
        started = true;
    }
    const int32_t oldLength = selLength_;
    SetCursorPos(pos);
    if (selLength_ != oldLength) hooks_->PaintText(cursorPos_);
    return started;
}

bool TKVXEditModel::MouseTimer(int32_t pos) {
    mouseExtend_ = selLength_ > 0;
    const bool started = MouseSelect(pos);
    mouseExtend_ = false;
    return started;
}

void TKVXEditModel::MouseMoveTo(int32_t pos) {
    const int32_t old = cursorPos_;
    mouseExtend_ = true;
    SetCursorPos(pos);
    mouseExtend_ = false;
    if (cursorPos_ != old) hooks_->PaintText(cursorPos_);
}

void TKVXEditModel::EndDragMove() {
    if (!dragMoving_) return;
    dragMoving_ = false;
    const int32_t drop = cursorPos_;
    if (selStart_ <= drop && drop <= selStart_ + selLength_) {
        selLength_ = 0;
        selStart_ = drop;
        hooks_->PaintText(-1);
        return;
    }
    if (readOnly_) return;
    // Take the text only after the selection covers whole line breaks, so what is removed is what
    // gets put back.
    WidenSelection();
    const std::string moved = GetSelText();
    const int32_t from = selStart_;
    InsertText({});
    int32_t d = drop;
    if (d > from) d -= static_cast<int32_t>(moved.size());
    if (CharAt(d) == '\n' && CharAt(d - 1) == '\r') --d;
    SetCursorPos(d);
    selStart_ = cursorPos_;
    selLength_ = 0;
    // A drop inserts even in overwrite mode: moving text never eats the text at the drop point.
    forceInsert_ = true;
    InsertText(moved);
    forceInsert_ = false;
    hooks_->PaintText(d);
    SetCursorPos(d);
}

}  // namespace kvx
