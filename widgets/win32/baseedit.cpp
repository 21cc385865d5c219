#include "widgets/win32/baseedit.h"

#include "framework/win32/application.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/screen.h"
#include "widgets/kvxapplication.h"

namespace kvx::win32 {

namespace {

TPoint PackedPoint(LPARAM lParam) {
    return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

// Through the OEM code page and back: what the OEM page lacks comes back as its nearest character.
std::string OemRoundTrip(const std::string& text) {
    std::string oem(text.size(), '\0');
    CharToOemBuffA(text.data(), oem.data(), static_cast<DWORD>(text.size()));
    std::string back(text.size(), '\0');
    OemToCharBuffA(oem.data(), back.data(), static_cast<DWORD>(oem.size()));
    return back;
}

const char* const kMenuCaptions[] = {"&Undo", "-", "&Cut", "&Copy", "&Insert", "&Delete", "-", "Select all"};

}  // namespace

// What the text model asks of its window: the edit's slots, the shared edit-mode flags, the system
// clipboard and the OEM code page.
class TKVXBaseEdit::Hooks final : public TKVXEditHooks {
public:
    explicit Hooks(TKVXBaseEdit* edit) : edit_(edit) {}
    void FilterInsert(std::string& text) override { edit_->FilterInsert(text); }
    void BeforeInsert() override { edit_->BeforeInsert(); }
    void TextDeleted(const std::string& text) override { edit_->TextDeleted(text); }
    void TextChangedAt(int32_t pos) override { edit_->TextChangedAt(pos); }
    void CursorPosChanged() override { edit_->CursorPosChanged(); }
    void TextSet() override { edit_->TextSet(); }
    void Modified() override {
        if (edit_->OnModified) edit_->OnModified(edit_);
    }
    void PaintText(int32_t fromPos) override { edit_->PaintText(fromPos); }
    uint8_t EditMode() override { return KVXApplication ? KVXApplication->EditMode() : kEditInsert; }
    void SetEditMode(uint8_t value) override {
        if (KVXApplication) KVXApplication->SetEditMode(value);
    }
    std::string ClipboardText() override {
        return fw::Clipboard().HasFormat(CF_TEXT) ? fw::Clipboard().AsText() : std::string();
    }
    void SetClipboardText(const std::string& text) override { fw::Clipboard().SetAsText(text); }
    std::string OemRoundTrip(const std::string& text) override { return kvx::win32::OemRoundTrip(text); }

private:
    TKVXBaseEdit* edit_;
};

TKVXBaseEdit::TKVXBaseEdit(TComponent* owner)
    : TKVXCustomBevelPanel(owner), hooks_(std::make_unique<Hooks>(this)), model_(hooks_.get()),
      caret_(std::make_unique<TKVXCaret>(this)), font3D_(std::make_unique<TKVX3DCaption>()) {
    SetControlStyle(ControlStyle() & ~fw::csAcceptsControls);
    SetHeight(21);
    font3D_->OnChange.Bind(this, [](void* self, TObject* sender) { static_cast<TKVXBaseEdit*>(self)->Redraw(sender); });
    Bevel()->SetMode(TKVXBevelMode::bmWindows);
    SetCursor(fw::crIBeam);
    SetColor(fw::clWhite);
    SetTabStop(true);
    if (KVXApplication) {
        mouseTimer_ = KVXApplication->AddTimer(200, TNotifyEvent(this, &TKVXBaseEdit::MouseTimer));
        if (TKVXTimerItem* item = KVXApplication->GetTimerItem(mouseTimer_)) item->SetEnabled(false);
    }
}

TKVXBaseEdit::~TKVXBaseEdit() {
    backBuffer_.reset();
    if (KVXApplication && mouseTimer_) {
        if (TKVXTimerItem* item = KVXApplication->GetTimerItem(mouseTimer_)) {
            item->SetEnabled(false);
            item->Callback.Reset();
        }
        KVXApplication->RemoveTimer(mouseTimer_);
    }
    font3D_->OnChange.Reset();
}

std::string TKVXBaseEdit::Text() {
    std::string copy = model_.Text();
    TextRead();
    return copy;
}

void TKVXBaseEdit::SetText(const std::string& value) { model_.SetText(value); }

void TKVXBaseEdit::SetIntIndexProp(int index, int32_t value) {
    switch (index) {
        case 0: model_.SetMaxLength(value); break;
        case 1: model_.SetSelStart(value); break;
        case 2: model_.SetSelLength(value); break;
        case 5: model_.SetCursorPos(value); break;
        default: break;
    }
}

void TKVXBaseEdit::SetBoolIndexProp(int index, bool value) {
    switch (index) {
        case 0: hideSelection_ = value; break;
        case 1: model_.SetReadOnly(value); break;
        case 2: model_.SetModified(value); break;
        case 4: autoSelect_ = value; break;
        case 5: model_.SetOEMConvert(value); break;
        case 6: focusOnMouseAbove_ = value; break;
        default: break;
    }
}

void TKVXBaseEdit::SetFont3D(TKVX3DCaption* value) {
    font3D_->Assign(value);
    Perform(fw::CM_FONTCHANGED);
}

void TKVXBaseEdit::Loaded() {
    TKVXCustomBevelPanel::Loaded();
    Perform(fw::CM_FONTCHANGED);
}

// ---- slots ----------------------------------------------------------------------------------------

void TKVXBaseEdit::Redraw(TObject* sender) { Invalidate(); }

int TKVXBaseEdit::GetTextHeight(const std::string& s) {
    int height = MeasureCanvas()->TextHeight(s);
    const TKVXThreeDStyle style = font3D_->Style();
    if (style == TKVXThreeDStyle::tdSunkenShadow || style == TKVXThreeDStyle::tdRaisedShadow ||
        style == TKVXThreeDStyle::tdShadow)
        height += font3D_->ShadowDepth();
    return height;
}

void TKVXBaseEdit::CursorPosChanged() {
    UpdateCaret();
    if (OnCursorPosChanged) OnCursorPosChanged(this);
}

void TKVXBaseEdit::TextChangedAt(int32_t pos) {
    PaintText(model_.CursorPos());
    if (OnTextChangedAt) OnTextChangedAt(this, pos);
}

void TKVXBaseEdit::PaintBackgroundRect(const TRect& rect) {
    fw::TCanvas* canvas = PaintCanvas();
    if (transparent_ && UsesBackgroundBitmap() && CopyBackground(canvas, rect, {Left() + rect.Left, Top() + rect.Top}))
        return;
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
}

void TKVXBaseEdit::EditKeyDown(uint16_t& key, fw::TShiftState shift) {
    if (!Enabled()) return;
    model_.EditKeyDown(key);
}

// ---- painting -------------------------------------------------------------------------------------

fw::TCanvas* TKVXBaseEdit::PaintCanvas() {
    return doubleBuffered_ && backBuffer_ ? backBuffer_->Canvas() : Canvas();
}

fw::TCanvas* TKVXBaseEdit::MeasureCanvas() {
    // A memory canvas measures at any time, inside a paint or not, with or without a window.
    if (!measure_) measure_ = std::make_unique<fw::TBitmap>();
    measure_->Canvas()->Font()->Assign(Font());
    return measure_->Canvas();
}

void TKVXBaseEdit::Paint() {
    if (Loading()) return;
    TKVXCustomBevelPanel::Paint();
    const TRect client = ClientRect();
    const int top = Bevel()->Extent(), bottom = Bevel()->FarExtent();
    textArea_ = fw::Rect(client.Left + top, client.Top + top, client.Right - bottom, client.Bottom - bottom);
    textRect_ = fw::Rect(textArea_.Left + 1, textArea_.Top + 1, textArea_.Right - 1, textArea_.Bottom - 1);
    AdjustTextRect();
    if (doubleBuffered_) {
        if (!backBuffer_) backBuffer_ = std::make_unique<fw::TBitmap>();
        if (backBuffer_->Width() != client.Width() || backBuffer_->Height() != client.Height())
            backBuffer_->SetSize(client.Width(), client.Height());
    }
    PaintBackgroundRect(textRect_);
    AfterPaintBackground();
    UpdateCaret();
}

void TKVXBaseEdit::PlaceCaret(int x, int y) {
    const TKVXCaretStyles style = caret_->Style();
    if (style == TKVXCaretStyles::csUnder)
        y += MeasureCanvas()->TextHeight("Qp") - 3;
    else if (style == TKVXCaretStyles::csUnderBlock)
        y += MeasureCanvas()->TextHeight("Qp") - caret_->Height() - 2;
    SetCaretPos(x, y);
}

// ---- keys -----------------------------------------------------------------------------------------

void TKVXBaseEdit::SetEditModeKeys(fw::TShiftState shift) {
    if (!KVXApplication) return;
    uint8_t mode = KVXApplication->EditMode() & kEditInsert;
    if (shift.Contains(fw::ssShift)) mode |= kEditShift;
    if (shift.Contains(fw::ssCtrl)) mode |= kEditCtrl;
    if (shift.Contains(fw::ssAlt)) mode |= kEditAlt;
    KVXApplication->SetEditMode(mode);
}

void TKVXBaseEdit::KeyDown(uint16_t& key, fw::TShiftState shift) {
    TKVXCustomBevelPanel::KeyDown(key, shift);
    SetEditModeKeys(shift);
    if (key) EditKeyDown(key, shift);
}

void TKVXBaseEdit::KeyUp(uint16_t& key, fw::TShiftState shift) {
    TKVXCustomBevelPanel::KeyUp(key, shift);
    SetEditModeKeys(shift);
}

// ---- focus ----------------------------------------------------------------------------------------

void TKVXBaseEdit::WMSetFocus(fw::TMessage& message) {
    TKVXCustomBevelPanel::WMSetFocus(message);
    if (caret_->Style() == TKVXCaretStyles::csDefault)
        caret_->SetIndexProp(4, static_cast<uint16_t>(GetTextHeight("Qp")));
    caret_->CreateSysCaret();
    caret_->Show();
    if (hideSelection_ || autoSelect_) {
        if (autoSelect_) model_.SelectAll();
        selectionHidden_ = false;
        if (model_.SelLength() != 0) PaintText(-1);
    }
    UpdateCaret();
}

void TKVXBaseEdit::WMKillFocus(fw::TMessage& message) {
    if (hideSelection_ && model_.SelLength() > 0) {
        selectionHidden_ = true;
        PaintText(-1);
    }
    TKVXCustomBevelPanel::WMKillFocus(message);
    caret_->DestroySysCaret();
}

// ---- mouse ----------------------------------------------------------------------------------------

void TKVXBaseEdit::MouseSelect() {
    if (!Focused() && CanFocus()) SetFocus();
    if (model_.MouseSelect(PosFromPoint(lastMouse_))) StartDragCursor();
}

void TKVXBaseEdit::MouseTimer(TObject* sender) {
    if (model_.MouseTimer(PosFromPoint(lastMouse_))) StartDragCursor();
}

void TKVXBaseEdit::StartDragCursor() {
    savedCursor_ = fw::Screen->Cursor();
    fw::Screen->SetCursor(fw::crDrag);
}

void TKVXBaseEdit::SwitchMouseTimer(bool on) {
    if (!KVXApplication || !mouseTimer_) return;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(mouseTimer_)) item->SetEnabled(on);
}

void TKVXBaseEdit::EndDragMove() {
    if (!model_.DragMoving()) return;
    fw::Screen->SetCursor(savedCursor_);
    model_.EndDragMove();
}

fw::TPopupMenu* TKVXBaseEdit::MakeEditMenu() {
    auto* menu = fw::Make<fw::TPopupMenu>(this);
    const bool selected = model_.SelLength() > 0;
    const bool enabled[] = {
        model_.Modified(),
        true,
        selected && !model_.ReadOnly(),
        selected,
        fw::Clipboard().HasFormat(CF_TEXT) && !model_.ReadOnly(),
        selected,
        true,
        !model_.Text().empty(),
    };
    using Action = void (*)(TKVXBaseEdit*);
    static const Action actions[] = {
        [](TKVXBaseEdit* e) { e->Undo(); },
        nullptr,
        [](TKVXBaseEdit* e) { e->CutToClipboard(); },
        [](TKVXBaseEdit* e) { e->CopyToClipboard(); },
        [](TKVXBaseEdit* e) { e->PasteFromClipboard(); },
        [](TKVXBaseEdit* e) { e->ClearSelection(); },
        nullptr,
        [](TKVXBaseEdit* e) { e->SelectAll(); },
    };
    for (int i = 0; i < 8; ++i) {
        auto* item = fw::Make<fw::TMenuItem>(menu);
        item->SetCaption(kMenuCaptions[i]);
        item->SetEnabled(enabled[i]);
        item->SetTag(i);
        if (actions[i])
            item->OnClick.Bind(this, [](void* self, TObject* sender) {
                actions[static_cast<fw::TMenuItem*>(sender)->Tag()](static_cast<TKVXBaseEdit*>(self));
            });
        menu->Items()->Add(item);
    }
    return menu;
}

void TKVXBaseEdit::ShowEditMenu(TPoint screen) {
    fw::TPopupMenu* menu = MakeEditMenu();
    try {
        menu->Popup(screen.X, screen.Y);
        fw::Application->ProcessMessages();
    } catch (...) {
        menu->Free();
        throw;
    }
    menu->Free();
}

// ---- messages -------------------------------------------------------------------------------------

void TKVXBaseEdit::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case WM_CHAR: {
            // OnKeyPress may take the character; what is left above 31 is typed.
            char key = static_cast<char>(message.WParam);
            KeyPress(key);
            if (key) model_.TypeChar(key);
            message.Result = 0;
            break;
        }
        case WM_CUT: model_.CutToClipboard(); break;
        case WM_COPY: model_.CopyToClipboard(); break;
        case WM_PASTE: model_.PasteFromClipboard(); break;
        case WM_CLEAR: model_.InsertText({}); break;
        case WM_LBUTTONDOWN:
            TKVXCustomBevelPanel::Dispatch(message);
            lastMouse_ = PackedPoint(message.LParam);
            mouseDown_ = true;
            MouseSelect();
            SwitchMouseTimer(true);
            break;
        case WM_LBUTTONUP:
            TKVXCustomBevelPanel::Dispatch(message);
            SwitchMouseTimer(false);
            mouseDown_ = false;
            EndDragMove();
            break;
        case WM_LBUTTONDBLCLK:
            TKVXCustomBevelPanel::Dispatch(message);
            SelectWord();
            PaintText(model_.CursorPos());
            break;
        case WM_MOUSEMOVE:
            TKVXCustomBevelPanel::Dispatch(message);
            lastMouse_ = PackedPoint(message.LParam);
            if (message.WParam == MK_LBUTTON) model_.MouseMoveTo(PosFromPoint(lastMouse_));
            break;
        case WM_RBUTTONUP:
            if (PopupMenu()) {
                TKVXCustomBevelPanel::Dispatch(message);
            } else {
                const TPoint at = PackedPoint(message.LParam);
                ShowEditMenu(ClientToScreen(at));
            }
            break;
        case WM_MOUSEACTIVATE: DefaultHandler(message); break;
        case WM_GETDLGCODE:
            DefaultHandler(message);
            message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
            break;
        case WM_SETTEXT:
        case WM_GETTEXT:
            DefaultHandler(message);
            if (textMessageGuard_) break;
            if (message.Msg == WM_SETTEXT) {
                TextSet();
                Redraw(this);
            } else {
                TextRead();
            }
            break;
        case fw::CM_MOUSEENTER:
            TKVXCustomBevelPanel::Dispatch(message);
            if (focusOnMouseAbove_ && CanFocus()) SetFocus();
            break;
        default: TKVXCustomBevelPanel::Dispatch(message); break;
    }
}

}  // namespace kvx::win32
