#include "richtext/win32/rich_label.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/messages.h"
#include "richtext/win32/gdi_paint.h"
#include "richtext/win32/win32_system.h"
#include "richtext/zrt_object.h"

namespace rt {

namespace {

// The style bits of a cell in font order: bold, italic, underline, strike-out.
constexpr uint32_t kStyleFlags = afBold | afItalic | afUnderline | afStrikeOut;

}  // namespace

TZrtCustomRtfLabel::TZrtCustomRtfLabel(fw::TComponent* owner) : fw::TGraphicControl(owner) {
    InstallRichTextSystem();
    RegisterRichText();
    controlStyle_ |= fw::csClickEvents | fw::csDoubleClicks;
    measureDC_ = CreateCompatibleDC(nullptr);
    metrics_ = std::make_unique<TGdiCellMetrics>(measureDC_, fonts_);
    font_ = std::make_unique<fw::TFont>();
    font_->OnChange = fw::TNotifyEvent(this, &TZrtCustomRtfLabel::FontChanged);
    doc_ = std::make_unique<TZrtRTFTextInput>(this);
    doc_->Zoomed = false;
    doc_->SetOptions(poSuspended);  // configured by the first paint
    doc_->SetCanvas(metrics_.get());
    doc_->Visible = true;
    doc_->SetPaintTarget(this);
    doc_->OnObjectRead = [this](TZrtObject* object) { ObjectRead(object); };
    strings_ = std::make_unique<TZrtRtfStrings>(doc_.get());
    for (TCharacterAttr* attr : {&doc_->InsertPointAttr, &doc_->AutomaticTextAttr, &doc_->HyperlinkTextAttr,
                                 &doc_->ProtectedTextAttr, &doc_->BookmarkTextAttr})
        attr->SetOnChange([this](uint32_t code, bool needsReformat) { AttrChanged(code, needsReformat); });
    doc_->NoBlockMarking = true;
    SetParentFont(true);
    SetColor(fw::clWindow);
    SetCursor(fw::crIBeam);
    SetParentColor(false);
    controlStyle_ |= fw::csOpaque;
    SetBounds(Left(), Top(), 100, 100);
}

TZrtCustomRtfLabel::~TZrtCustomRtfLabel() {
    metrics_.reset();
    fonts_.Clear();
    if (measureDC_) DeleteDC(measureDC_);
}

void TZrtCustomRtfLabel::BeforeDestruction() {
    // The document goes before the components the label owns: its embedded objects are among them.
    strings_.reset();
    doc_.reset();
    font_.reset();
    fw::TGraphicControl::BeforeDestruction();
}

// ---- overridable operations ---------------------------------------------------------------------

void TZrtCustomRtfLabel::SetReadOnly(bool value) { doc_->ReadOnly = value; }
bool TZrtCustomRtfLabel::GetReadOnly() const { return doc_->ReadOnly; }

void TZrtCustomRtfLabel::SetWordWrap(bool value) {
    doc_->SetWrapToWindow(value);
    Invalidate();
}

bool TZrtCustomRtfLabel::CanModify() {
    if (GetReadOnly()) return false;
    modified_ = true;
    return true;
}

void TZrtCustomRtfLabel::DoChange() {
    if (OnChange) OnChange(this);
}

void TZrtCustomRtfLabel::LoadFromStream(fw::TStream& stream) {
    doc_->LoadFromStream(stream);
    Invalidate();
}

void TZrtCustomRtfLabel::SaveToStream(fw::TStream& stream) { doc_->SaveToStream(stream); }

void TZrtCustomRtfLabel::SaveSelectionToStream(fw::TStream& stream) {
    if (doc_->HasSelection()) doc_->SaveSelectionToStream(stream);
}

void TZrtCustomRtfLabel::SaveToFile(const std::string& name) {
    doc_->SaveToFile(name);
    if (doc_->LastIoResult == 0) fileName_ = name;
}

void TZrtCustomRtfLabel::LoadFromFile(const std::string& name) {
    doc_->LoadFromFile(name);
    if (doc_->LastIoResult == 0) fileName_ = name;
    Invalidate();
}

// ---- properties ---------------------------------------------------------------------------------

void TZrtCustomRtfLabel::SetRtfText(TZrtRTFTextIo* source) {
    if (source && source != doc_.get()) doc_->Assign(source);
    doc_->SetWrapToWindow(doc_->WrapToWindow());
    Invalidate();
}

TZrtMemoryFormat TZrtCustomRtfLabel::MemoryFormat() const {
    return doc_->IsRich() ? TZrtMemoryFormat::fmRichText : TZrtMemoryFormat::fmPlainText;
}

void TZrtCustomRtfLabel::SetMemoryFormat(TZrtMemoryFormat value) {
    doc_->SetMemoryFormat(value == TZrtMemoryFormat::fmRichText ? 0 : 1);
    Invalidate();
}

fw::TFont* TZrtCustomRtfLabel::CellFont() const {
    // Built from the current cell without applying anything back.
    auto* self = const_cast<TZrtCustomRtfLabel*>(this);
    self->buildingFont_ = true;
    const TAttrCell& c = doc_->CurrentCell;
    font_->SetColor(c.TextColor() == 0 ? fw::clBlack : static_cast<fw::TColor>(doc_->Header->ColorOf(c.TextColor())));
    if (c.FontIndex < kMaxFont && !doc_->Header->FontNames[c.FontIndex].empty())
        font_->SetName(doc_->Header->FontNames[c.FontIndex]);
    font_->SetSize(c.Size ? c.Size : 10);
    fw::TFontStyles style;
    if (c.Flags & afBold) style.Include(fw::TFontStyle::fsBold);
    if (c.Flags & afItalic) style.Include(fw::TFontStyle::fsItalic);
    if (c.Flags & afUnderline) style.Include(fw::TFontStyle::fsUnderline);
    if (c.Flags & afStrikeOut) style.Include(fw::TFontStyle::fsStrikeOut);
    font_->SetStyle(style);
    self->buildingFont_ = false;
    return font_.get();
}

void TZrtCustomRtfLabel::SetCellFont(fw::TFont* value) {
    if (value) font_->Assign(value);
}

void TZrtCustomRtfLabel::FontChanged(fw::TObject*) {
    if (buildingFont_ || !doc_) return;
    const TAttrCell& current = doc_->CurrentCell;
    TAttrCell cell = current;
    uint32_t mask = 0;
    if (!font_->Name().empty()) {
        const int index = doc_->Header->FindOrAddFont(font_->Name());
        if (index < kMaxFont && index != current.FontIndex) {
            cell.FontIndex = static_cast<uint8_t>(index);
            mask |= 0x1;
        }
    }
    const int size = font_->Size();
    if (size > 0 && size <= 255 && size != current.Size) {
        cell.Size = static_cast<uint8_t>(size);
        mask |= 0x2;
    }
    const TColor rgb = static_cast<TColor>(fw::ColorToRGB(font_->Color()));
    for (int i = 0; i < 15; ++i)
        if (doc_->Header->ColorOf(i) == rgb) {
            cell.Colors = static_cast<uint8_t>((cell.Colors & 0xF0) | i);
            mask |= 0x10;
            break;
        }
    const fw::TFontStyles style = font_->Style();
    uint32_t flags = 0;
    if (style.Contains(fw::TFontStyle::fsBold)) flags |= afBold;
    if (style.Contains(fw::TFontStyle::fsItalic)) flags |= afItalic;
    if (style.Contains(fw::TFontStyle::fsUnderline)) flags |= afUnderline;
    if (style.Contains(fw::TFontStyle::fsStrikeOut)) flags |= afStrikeOut;
    cell.Flags = (current.Flags & ~kStyleFlags) | flags;
    mask |= 0x100;
    doc_->ApplyAttr(cell, mask);
    if (Configured()) {
        doc_->FormatDirty(true);
        Invalidate();
    }
}

void TZrtCustomRtfLabel::SetZooming(int value) { doc_->SetZoom(value <= 0 ? 100 : value); }

bool TZrtCustomRtfLabel::Configured() const { return doc_->Options() != poSuspended; }

void TZrtCustomRtfLabel::ConfigureOptions() {
    uint32_t bits = transparent_ ? 0x20061 : 0x20021;
    if (!showPageBreak_) bits |= poNoPageBreakLine | poNoParBreakLine;
    if (usePaperSize_) bits |= poFirstPageOnly;
    doc_->SetOptions(bits);
}

void TZrtCustomRtfLabel::SetTransparent(bool value) {
    transparent_ = value;
    // A transparent label lets the parent paint below it.
    if (value)
        controlStyle_ &= ~fw::csOpaque;
    else
        controlStyle_ |= fw::csOpaque;
    if (Configured()) ConfigureOptions();
    Invalidate();
}

void TZrtCustomRtfLabel::SetShowPageBreak(bool value) {
    showPageBreak_ = value;
    if (Configured()) ConfigureOptions();
}

void TZrtCustomRtfLabel::SetUsePaperSize(bool value) {
    usePaperSize_ = value;
    if (Configured()) ConfigureOptions();
}

void TZrtCustomRtfLabel::SetHideInsertpoints(bool value) {
    doc_->HideInsertPoints = value;
    if (doc_->MarkByAttr(afInsertPoint) && Configured()) {
        doc_->FormatDirty(true);
        Invalidate();
    }
}

void TZrtCustomRtfLabel::SetHideAutomatic(bool value) {
    doc_->HideAutomaticText = value;
    if (doc_->MarkByAttr(afAutomatic) && Configured()) {
        doc_->FormatDirty(true);
        Invalidate();
    }
}

void TZrtCustomRtfLabel::SetPaintGrayTable(bool value) {
    doc_->PaintGrayTable = value;
    Invalidate();
}

void TZrtCustomRtfLabel::AttrChanged(uint32_t code, bool needsReformat) {
    if (!doc_ || !Configured()) return;
    if (needsReformat && doc_->MarkByAttr(code)) doc_->FormatDirty(true);
    Invalidate();
}

fw::TColor TZrtCustomRtfLabel::BackgroundColor() const {
    const int index = doc_->CurrentCell.BackColor();
    return index == 0 ? fw::ColorToRGB(fw::clWindow) : static_cast<fw::TColor>(doc_->Header->ColorOf(index));
}

void TZrtCustomRtfLabel::SetBackgroundColor(fw::TColor value) {
    if (GetReadOnly()) return;
    auto* palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    const UINT index = GetNearestPaletteIndex(palette, static_cast<COLORREF>(fw::ColorToRGB(value)));
    if (index == CLR_INVALID || index > 14) return;  // only the entries the colour table can take
    TAttrCell cell;
    cell.Colors = static_cast<uint8_t>(index << 4);
    doc_->ApplyAttr(cell, 0x20);
    if (Configured()) {
        doc_->FormatDirty(true);
        Invalidate();
    }
}

void TZrtCustomRtfLabel::SetPagNumber(int value) {
    if (!usePaperSize_) {
        if (value < 0) return;
        // The line before the first one that starts below n client heights comes to the top.
        const int limit = value * doc_->ClientHeight();
        TTextLine* before = nullptr;
        for (TParagraph* p = doc_->Body; p; p = p->Next)
            for (TTextLine* l = p->FirstLine; l; l = l->Next) {
                if (l->Top > limit) {
                    if (!before) return;
                    doc_->ScrollY = before->Top;
                    pagNumber_ = value;
                    Invalidate();
                    return;
                }
                before = l;
            }
        return;
    }
    if (value <= 0) {
        doc_->ScrollY = 0;
        pagNumber_ = 0;
        Invalidate();
        return;
    }
    if (!Configured()) ConfigureOptions();
    int count = 0;
    for (TParagraph* p = doc_->Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            const bool starts = (l == p->FirstLine && (p->ParFlags & pfPageBreak)) || (l->LineFlags & lfPageBegin);
            if (starts && ++count == value) {
                doc_->ScrollY = p->FirstLine->Top;
                pagNumber_ = value;
                Invalidate();
                return;
            }
        }
}

// ---- painting and messages ----------------------------------------------------------------------

void TZrtCustomRtfLabel::Paint() {
    fw::TGraphicControl::Paint();
    painting_ = true;
    try {
        doc_->ClientLeft = 0;
        doc_->ClientTop = 0;
        doc_->SetClientHeight(Height());
        doc_->SetClientWidth(Width());
        if (!Configured())
            ConfigureOptions();  // lays the text out and paints it
        else if (Visible())
            doc_->Repaint();
    } catch (...) {
        painting_ = false;
        throw;
    }
    painting_ = false;
}

void TZrtCustomRtfLabel::Draw(const TPaintList& list) {
    if (list.empty()) return;
    if (!painting_) {
        Invalidate();
        return;
    }
    ReplayPaintList(Canvas()->Handle(), list, fonts_, [this](const TPaintOp& op, HDC dc) { return PaintObjectOp(op, dc); });
}

bool TZrtCustomRtfLabel::PaintObjectOp(const TPaintOp& op, HDC) {
    TObjectRef* ref = doc_->FindObjectRef(op.reference);
    auto* image = ref ? dynamic_cast<TZrtOImageObject*>(ref->Object) : nullptr;
    auto* picture = image ? dynamic_cast<fw::TPicture*>(image->Picture()) : nullptr;
    if (!picture || !picture->Graphic()) return false;
    Canvas()->StretchDraw(fw::Rect(op.left, op.top, op.right, op.bottom), picture->Graphic());
    return true;
}

void TZrtCustomRtfLabel::Resize() {
    doc_->ClientLeft = 0;
    doc_->ClientTop = 0;
    doc_->SetClientHeight(Height());
    doc_->SetClientWidth(Width());
    fw::TGraphicControl::Resize();
}

void TZrtCustomRtfLabel::Dispatch(fw::TMessage& message) {
    fw::TGraphicControl::Dispatch(message);
    if (message.Msg == fw::CM_CTL3DCHANGED) Repaint();  // the default handling, then a repaint
}

void TZrtCustomRtfLabel::CMColorChanged(fw::TMessage& message) {
    fw::TGraphicControl::CMColorChanged(message);
    doc_->BackColor = static_cast<TColor>(fw::ColorToRGB(Color()));
    Invalidate();
}

void TZrtCustomRtfLabel::CMVisibleChanged(fw::TMessage& message) {
    fw::TGraphicControl::CMVisibleChanged(message);
    doc_->Visible = Visible();
}

// ---- mouse and hyperlinks -----------------------------------------------------------------------

bool TZrtCustomRtfLabel::CharAt(int x, int y, TParagraph*& p, TTextLine*& line, int& index) const {
    if (!doc_->Body) return false;
    doc_->LineAt(p, line, x - doc_->ScrollX, y + doc_->ScrollY - 1);
    index = doc_->CharAtX(p, line, x - doc_->ScrollX);
    return index < line->Length && line->HasCells();
}

bool TZrtCustomRtfLabel::HyperlinkAt(int x, int y) {
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    int index = 0;
    if (CharAt(x, y, p, line, index) && (line->Cells[index].Flags & afHyperlink)) {
        // Back to the first cell of the run, into the end of the previous line when the run goes on there.
        TTextLine* l = line;
        int i = index;
        for (;;) {
            if (i > 0 && (l->Cells[i - 1].Flags & afHyperlink)) {
                --i;
            } else if (i == 0 && l->Prev && l->Prev->Length > 0 && l->Prev->HasCells() &&
                       (l->Prev->Cells[l->Prev->Length - 1].Flags & afHyperlink)) {
                l = l->Prev;
                i = l->Length - 1;
            } else {
                break;
            }
        }
        // Forward: the visible text of the run, over line ends.
        std::string text;
        for (;;) {
            if (i >= l->Length) {
                if (l->Next && l->Next->Length > 0 && l->Next->HasCells() && (l->Next->Cells[0].Flags & afHyperlink)) {
                    l = l->Next;
                    i = 0;
                    continue;
                }
                break;
            }
            const TAttrCell& c = l->Cells[i];
            if (!(c.Flags & afHyperlink)) break;
            if (!(c.Flags & afHidden)) text += l->Chars[i];
            if (c.Number) lastHyperlink_ = c.Number;
            ++i;
        }
        // The hidden text right after it on the same line is the stamp.
        std::string stamp;
        constexpr size_t kMaxStamp = 254;
        while (i < l->Length && (l->Cells[i].Flags & afHidden) && stamp.size() < kMaxStamp) stamp += l->Chars[i++];
        int lineNumber = 0;
        bool found = false;
        for (TParagraph* q = doc_->Body; q && !found; q = q->Next)
            for (TTextLine* k = q->FirstLine; k; k = k->Next) {
                if (k == line) {
                    found = true;
                    break;
                }
                ++lineNumber;
            }
        if (HyperLinkEvent) HyperLinkEvent(this, text, stamp, lineNumber);
        return true;
    }
    if (doc_->NoBlockMarking || oneClickHyperlink_) {
        doc_->SetCursorFromPoint(x, y, true, true);
        SetMouseCapture(true);
        captured_ = true;
    } else {
        SelectWordAt(x, y);
    }
    return false;
}

void TZrtCustomRtfLabel::SelectWordAt(int x, int y) {
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    int index = 0;
    if (!CharAt(x, y, p, line, index)) return;
    int from = index, to = index;
    while (from > 0 && line->Chars[from - 1] != ' ') --from;
    while (to < line->Length && line->Chars[to] != ' ') ++to;
    doc_->SetSelection(p, line, false, from);
    doc_->SetSelection(p, line, true, to);
}

void TZrtCustomRtfLabel::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseDown(button, shift, x, y);
    if (disableMouse_ || doc_->IsEmpty()) return;
    if (shift.Contains(fw::TShiftStateItem::ssDouble) || oneClickHyperlink_) {
        HyperlinkAt(x, y);
        return;
    }
    doc_->SetCursorFromPoint(x, y, true, true);
    SetMouseCapture(true);
    captured_ = true;
}

void TZrtCustomRtfLabel::MouseMove(fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseMove(shift, x, y);
    if (disableMouse_ || doc_->IsEmpty()) return;
    if (captured_) {
        doc_->SetCursorFromPoint(x, y, true, true);
        return;
    }
    if (hyperLinkCursor_ == 0) return;
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    int index = 0;
    if (CharAt(x, y, p, line, index) && (line->Cells[index].Flags & afHyperlink)) {
        if (!cursorSaved_) {
            savedCursor_ = Cursor();
            cursorSaved_ = true;
        }
        SetCursor(hyperLinkCursor_);
    } else if (cursorSaved_) {
        SetCursor(savedCursor_);
        cursorSaved_ = false;
    }
}

void TZrtCustomRtfLabel::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseUp(button, shift, x, y);
    if (disableMouse_ || doc_->IsEmpty()) return;
    if (captured_) {
        captured_ = false;
        SetMouseCapture(false);
    }
    if (!shift.Contains(fw::TShiftStateItem::ssShift)) doc_->SetCursorFromPoint(x, y, true, false);
}

// ---- embedded objects ---------------------------------------------------------------------------

void TZrtCustomRtfLabel::ObjectRead(TZrtObject* object) {
    object->OnLoadStream = [this](TZrtObject* sender, const std::string& name, int state, bool& done) {
        if (OnTextObjectLoadStreamEvent) OnTextObjectLoadStreamEvent(sender, name, state, done);
    };
    const std::string& name = object->StreamName();
    auto* image = dynamic_cast<TZrtOImageObject*>(object);
    if (image && !image->IsLoaded && !name.empty()) {
        if (OnHTMLBitmapRequest) {
            fw::TPicture* picture = nullptr;
            OnHTMLBitmapRequest(this, name, picture);
            if (picture) {
                try {
                    if (dynamic_cast<fw::TBitmap*>(picture->Graphic())) {
                        auto* copy = new fw::TPicture;
                        copy->Assign(picture);
                        image->SetPicture(copy, copy->Width(), copy->Height());
                    } else if (picture->Graphic()) {
                        throw fw::Exception(Message(msgOnlyBitmaps));
                    }
                } catch (const fw::Exception&) {
                    // Pictures of other kinds are not taken.
                }
                picture->Free();
            }
        }
        if (!image->Picture() && OnTextObjectLoadStreamEvent) {
            bool done = false;
            image->OnLoadStream(image, name, 0, done);
        }
    } else if (!image && !name.empty()) {
        if (OnTextObjectLoadStreamEvent) {
            bool done = false;
            OnTextObjectLoadStreamEvent(object, name, 0, done);
        } else {
            try {
                if (fw::FileExists(name))
                    object->LoadFromFile(name);
                else if (fw::FileExists(htmlFilePath_ + name))
                    object->LoadFromFile(htmlFilePath_ + name);
            } catch (const std::exception&) {
                // A file that does not load leaves the object empty.
            }
        }
    }
    if (OnTextObjectCheckProperties) {
        bool again = false;
        OnTextObjectCheckProperties(object, again);
    }
}

// ---- registration -------------------------------------------------------------------------------

void RegisterRichTextLabelClasses() {
    InstallRichTextSystem();
    fw::RegisterControlClasses();
    RegisterRichText();
    fw::Class<TZrtRTFTextPaint, TZrtRTFTextIo>("TZrtRTFTextPaint");
    fw::Class<TZrtRTFTextInput, TZrtRTFTextPaint>("TZrtRTFTextInput");
    fw::RegisterEnum<TZrtMemoryFormat>({"fmRichText", "fmPlainText"}, "TZrtMemoryFormat");
    fw::RegisterEnum<TStoreHTMLComment>({"shcNone", "shcFootnote", "shcComment"}, "TStoreHTMLComment");
    using L = TZrtCustomRtfLabel;
    fw::Class<L, fw::TGraphicControl>("TZrtCustomRtfLabel")
        .Prop("RtfText", &L::RtfText, &L::SetRtfText)
        .Prop("MemoryFormat", &L::MemoryFormat, &L::SetMemoryFormat)
        .Prop("Font", &L::CellFont, &L::SetCellFont)
        .Stored(false)
        .Prop("Zooming", &L::Zooming, &L::SetZooming)
        .Prop("Transparent", &L::Transparent, &L::SetTransparent)
        .Prop("WordWrap", &L::WordWrap, &L::SetWordWrap)
        .Prop("HyperLinkCursor", &L::HyperLinkCursor, &L::SetHyperLinkCursor)
        .Idents(fw::CursorIdents())
        .Prop("NoBlockMarking", &L::NoBlockMarking, &L::SetNoBlockMarking)
        .Prop("OneClickHyperlink", &L::OneClickHyperlink, &L::SetOneClickHyperlink)
        .Event("HyperLinkEvent", &L::HyperLinkEvent)
        .Prop("TextSaveFormat", &L::TextSaveFormat, &L::SetTextSaveFormat)
        .Prop("TextLoadFormat", &L::TextLoadFormat, &L::SetTextLoadFormat)
        .Prop("BackgroundColor", &L::BackgroundColor, &L::SetBackgroundColor)
        .Idents(fw::ColorIdentTable())
        .Stored(false)
        .Prop("PagNumber", &L::PagNumber, &L::SetPagNumber)
        .Prop("ShowPageBreak", &L::ShowPageBreak, &L::SetShowPageBreak)
        .Prop("HideInsertpoints", &L::HideInsertpoints, &L::SetHideInsertpoints)
        .Prop("HideAutomatic", &L::HideAutomatic, &L::SetHideAutomatic)
        .Prop("InsertPointAttr", &L::InsertPointAttr, &L::SetInsertPointAttr)
        .Prop("AutomaticTextAttr", &L::AutomaticTextAttr, &L::SetAutomaticTextAttr)
        .Prop("HyperlinkTextAttr", &L::HyperlinkTextAttr, &L::SetHyperlinkTextAttr)
        .Prop("ProtectedTextAttr", &L::ProtectedTextAttr, &L::SetProtectedTextAttr)
        .Prop("BookmarkTextAttr", &L::BookmarkTextAttr, &L::SetBookmarkTextAttr)
        .Prop("DisableMouse", &L::DisableMouse, &L::SetDisableMouse)
        .Prop("UsePaperSize", &L::UsePaperSize, &L::SetUsePaperSize)
        .Event("OnTextObjectCheckProperties", &L::OnTextObjectCheckProperties)
        .Event("OnTextObjectLoadStreamEvent", &L::OnTextObjectLoadStreamEvent)
        .Event("OnHTMLBitmapRequest", &L::OnHTMLBitmapRequest)
        .Prop("HTMLFilePath", &L::HTMLFilePath, &L::SetHTMLFilePath)
        .Prop("HTMLStoreComment", &L::HTMLStoreComment, &L::SetHTMLStoreComment)
        .Prop("PaintGrayTable", &L::PaintGrayTable, &L::SetPaintGrayTable);
    fw::Class<TZrtRichTextLabel, L>("TZrtRichTextLabel");
}

}  // namespace rt
