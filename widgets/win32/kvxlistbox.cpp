#include "widgets/win32/kvxlistbox.h"

#include "framework/core/sysutils.h"
#include "widgets/kvxapplication.h"

namespace kvx::win32 {

namespace {

const char kSectionsGone[] = "This property is no longer used in KVX-Tools!";

std::vector<int> SectionWidths(fw::THeaderSections* sections) {
    std::vector<int> widths;
    for (int i = 0; i < sections->Count(); ++i) widths.push_back(sections->Items(i)->Width());
    return widths;
}

}  // namespace

TKVXListBox::TKVXListBox(TComponent* owner) : TKVXCustomScrollBox(owner) {
    // Header and list are the only children.
    SetControlStyle(ControlStyle() & ~fw::csAcceptsControls);
    header_ = new TKVXHeaderControl(this);
    header_->SetParent(this);
    header_->OnSectionResize.Bind(this, &TKVXListBox::HeaderSectionResize);
    header_->SetTabStop(false);
    header_->SetAlign(fw::alTop);
    header_->SetHeight(headerHeight_);
    header_->Sections()->Add();
    list_ = new fw::TListBox(this);
    list_->SetParent(this);
    list_->SetParentCtl3D(false);
    list_->SetCtl3D(false);
    list_->SetBorderStyle(fw::TBorderStyle::bsNone);
    list_->SetColor(fw::clWhite);
    list_->SetStyle(fw::TListBoxStyle::lbOwnerDrawFixed);
    list_->OnDrawItem.Bind(this, &TKVXListBox::DrawListItem);
    list_->SetAlign(fw::alClient);
    SetTabStop(false);
    SetAutoScroll(true);
    SetBounds(Left(), Top(), 100, 100);
    VertScrollBar()->SetVisible(false);
}

TKVXListBox::~TKVXListBox() = default;

void TKVXListBox::BeforeDestruction() {
    // The widths are saved while header and store are still whole.
    WriteColumnWidths();
    list_->OnDrawItem.Reset();
    TKVXCustomScrollBox::BeforeDestruction();
}

void TKVXListBox::Repaint() {
    if (list_->HandleAllocated()) list_->Invalidate();
}

void TKVXListBox::SetDelimiter(char value) {
    if (value == delimiter_) return;
    delimiter_ = value;
    Repaint();
}

void TKVXListBox::SetGridLines(TKVXLBGridLines value) {
    if (value == gridLines_) return;
    gridLines_ = value;
    Repaint();
}

void TKVXListBox::SetStyle(fw::TListBoxStyle value) {
    if (value == style_) return;
    style_ = value;
    if (value == fw::TListBoxStyle::lbStandard) {
        // A standard list keeps its own item height but is still drawn here.
        list_->SetStyle(fw::TListBoxStyle::lbStandard);
        list_->SetStyle(fw::TListBoxStyle::lbOwnerDrawFixed);
    } else {
        list_->SetStyle(value);
    }
}

void TKVXListBox::SetVirtualWidth(int value) {
    if (value == virtualWidth_ || value < 0) return;
    virtualWidth_ = value;
    if (value > 0) {
        list_->SetAlign(fw::alNone);
        header_->SetAlign(fw::alNone);
        HorzScrollBar()->SetPosition(0);
    } else {
        list_->SetAlign(fw::alClient);
        header_->SetAlign(fw::alTop);
    }
    Realign();
}

bool TKVXListBox::GetFlag(int index) const {
    switch (index) {
        case 0:
            return Enabled();
        case 1:
            return list_->ExtendedSelect();
        case 2:
            return headerVisible_;
        case 3:
            return list_->MultiSelect();
        case 4:
            return list_->Sorted();
        case 5:
            return header_->Enabled();
        case 6:
            return ShowHint();
        case 7:
            return ParentShowHint();
        case 8:
            return list_->TabStop();
        case 12:
            return header_->HotTrack();
        case 13:
            return header_->Style() == fw::THeaderStyle::hsFlat;
        case 20:
        case 21:
            return false;
        default:
            return false;
    }
}

void TKVXListBox::SetFlag(int index, bool value) {
    switch (index) {
        case 0:
            SetEnabled(value);
            list_->SetEnabled(value);
            header_->SetEnabled(value);
            break;
        case 1:
            list_->SetExtendedSelect(value);
            break;
        case 2:
            headerVisible_ = value;
            header_->SetVisible(value);
            Realign();
            break;
        case 3:
            list_->SetMultiSelect(value);
            break;
        case 4:
            list_->SetSorted(value);
            break;
        case 5:
            header_->SetEnabled(value);
            break;
        case 6:
            SetShowHint(value);
            list_->SetShowHint(value);
            header_->SetShowHint(value);
            break;
        case 7:
            SetParentShowHint(value);
            list_->SetParentShowHint(value);
            header_->SetParentShowHint(value);
            break;
        case 8:
            list_->SetTabStop(value);
            break;
        case 12:
            header_->SetHotTrack(value);
            break;
        case 13:
            header_->SetStyle(value ? fw::THeaderStyle::hsFlat : fw::THeaderStyle::hsButtons);
            break;
        default:
            break;
    }
}

int TKVXListBox::GetInt(int index) const {
    switch (index) {
        case 0:
            return headerHeight_;
        case 1:
            return list_->ItemIndex();
        case 2:
            return list_->TopIndex();
        case 3:
            return list_->SelCount();
        case 4:
            return list_->ItemHeight();
        case 5:
            return header_->Sections()->Count();
        default:
            return 0;
    }
}

void TKVXListBox::SetInt(int index, int value) {
    switch (index) {
        case 0:
            headerHeight_ = value;
            header_->SetHeight(value);
            Realign();
            break;
        case 1:
            list_->SetItemIndex(value);
            break;
        case 2:
            list_->SetTopIndex(value);
            break;
        case 4:
            if (style_ != fw::TListBoxStyle::lbStandard) list_->SetItemHeight(value);
            break;
        default:
            break;
    }
}

fw::TColor TKVXListBox::GetColorValue(int index) const {
    switch (index) {
        case 0:
            return list_->Color();
        case 1:
            return selectedColor_;
        case 2:
            return gridHorzColor_;
        default:
            return gridVertColor_;
    }
}

void TKVXListBox::SetColorValue(int index, fw::TColor value) {
    switch (index) {
        case 0:
            list_->SetColor(value);
            return;
        case 1:
            selectedColor_ = value;
            break;
        case 2:
            gridHorzColor_ = value;
            break;
        default:
            gridVertColor_ = value;
            break;
    }
    Repaint();
}

void TKVXListBox::SetSections(fw::TStrings*) { throw fw::Exception(kSectionsGone); }

void TKVXListBox::AddLegacySections(const fw::TStrings& strings) {
    for (int i = 0; i < strings.Count(); ++i) {
        const TKVXLegacySection s = KVXParseLegacySection(strings[i]);
        fw::THeaderSection* section = header_->Sections()->Add();
        section->SetText(s.Caption);
        section->SetWidth(s.Width);
    }
}

void TKVXListBox::SetIniLink(TKVXIniCtrl* value) {
    iniLink_ = value;
    if (value) value->FreeNotification(this);
}

void TKVXListBox::Notification(TComponent* component, fw::TOperation operation) {
    TKVXCustomScrollBox::Notification(component, operation);
    if (operation == fw::opRemove && component == iniLink_) iniLink_ = nullptr;
    if (operation == fw::opInsert && IniUse == TKVXIniUse::ioUseLink && !iniLink_)
        if (auto* store = dynamic_cast<TKVXIniCtrl*>(component)) SetIniLink(store);
}

TKVXIniCtrl* TKVXListBox::Store() const {
    if (IniUse == TKVXIniUse::ioUseLink) return iniLink_;
    if (IniUse == TKVXIniUse::ioUseGlobal && KVXApplication) return KVXApplication->IniCtrl();
    return nullptr;
}

void TKVXListBox::ReadColumnWidths() {
    TKVXIniCtrl* store = Store();
    if (store) {
        // Damaged values are skipped and their number capped: the form loads whatever the store holds.
        const std::vector<std::optional<int>> widths = KVXParseColumnWidths(store->ReadString(Section, IniKey, ""));
        fw::THeaderSections* sections = header_->Sections();
        for (size_t i = 0; i < widths.size(); ++i) {
            const int index = static_cast<int>(i);
            for (int added = sections->Count(); added <= index; ++added)
                sections->Add()->SetText(KVXAddedColumnCaption(added));
            if (widths[i]) sections->Items(index)->SetWidth(*widths[i]);
        }
    }
    if (OnIniReadData) OnIniReadData(this, store, Section);
}

void TKVXListBox::WriteColumnWidths() {
    TKVXIniCtrl* store = Store();
    if (store) {
        const std::string value = KVXColumnWidthsText(SectionWidths(header_->Sections()));
        if (value.empty())
            store->DeleteKey(Section, IniKey);
        else
            store->WriteString(Section, IniKey, value);
    }
    if (OnIniWriteData) OnIniWriteData(this, store, Section);
}

void TKVXListBox::SetFocus() { list_->SetFocus(); }

void TKVXListBox::ReadState(fw::TReader& reader) {
    // Streamed sections replace the default one.
    header_->Sections()->Clear();
    TKVXCustomScrollBox::ReadState(reader);
}

void TKVXListBox::CopyEventsToInnerControls() {
    list_->OnClick = OnClick;
    list_->OnDblClick = OnDblClick;
    list_->OnEnter = OnEnter;
    list_->OnExit = OnExit;
    list_->OnMouseDown = OnMouseDown;
    list_->OnMouseMove = OnMouseMove;
    list_->OnMouseUp = OnMouseUp;
    list_->OnKeyDown = OnKeyDown;
    list_->OnKeyUp = OnKeyUp;
    list_->OnKeyPress = OnKeyPress;
    for (fw::TControl* c : {static_cast<fw::TControl*>(list_), static_cast<fw::TControl*>(header_)}) {
        c->OnDragDrop = OnDragDrop;
        c->OnDragOver = OnDragOver;
        c->OnEndDrag = OnEndDrag;
        c->OnStartDrag = OnStartDrag;
    }
}

void TKVXListBox::Loaded() {
    TKVXCustomScrollBox::Loaded();
    CopyEventsToInnerControls();
    ReadColumnWidths();
    Realign();
}

void TKVXListBox::AlignControls(fw::TControl* control, fw::TRect& rect) {
    if (Loading() || Destroying()) return;
    TKVXCustomScrollBox::AlignControls(control, rect);
    HorzScrollBar()->SetRange(virtualWidth_);
    if (virtualWidth_ <= 0) return;
    const TKVXListArrangement a =
        KVXArrangeListBox(virtualWidth_, headerVisible_, header_->Height(), ClientWidth(), ClientHeight());
    // Children sit in scrolled coordinates.
    const int dx = -HorzScrollBar()->Position();
    if (headerVisible_) header_->SetBounds(a.Header.Left + dx, a.Header.Top, a.Header.Width(), a.Header.Height());
    list_->SetBounds(a.List.Left + dx, a.List.Top, a.List.Width(), a.List.Height());
}

void TKVXListBox::Dispatch(fw::TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        // Header and list cover the client area; vertical grid lines run through empty rows too.
        message.Result = 1;
        if (gridLines_ == TKVXLBGridLines::glVertical || gridLines_ == TKVXLBGridLines::glBoth) Repaint();
        return;
    }
    TKVXCustomScrollBox::Dispatch(message);
}

void TKVXListBox::HeaderSectionResize(TObject* sender, fw::THeaderSection* section) {
    Repaint();
    if (OnHeaderSized) OnHeaderSized(sender, section->Index(), section->Width());
    if (OnHeaderSectionResize) OnHeaderSectionResize(sender, section);
}

void TKVXListBox::DrawListItem(TObject*, int index, fw::TRect rect, fw::TOwnerDrawState state) {
    if (Loading()) return;
    if (style_ != fw::TListBoxStyle::lbStandard && OnDrawItem) {
        OnDrawItem(list_, index, rect, state);
        return;
    }
    fw::TCanvas* canvas = list_->Canvas();
    if (state.Contains(fw::TOwnerDrawStateItem::odSelected)) {
        canvas->Brush()->SetColor(selectedColor_);
        canvas->Font()->SetColor(fw::clHighlightText);
    } else {
        canvas->Brush()->SetColor(list_->Color());
        canvas->Font()->SetColor(Enabled() ? list_->Font()->Color() : fw::clInactiveCaption);
    }
    canvas->FillRect(rect);
    if (state.Contains(fw::TOwnerDrawStateItem::odFocused)) canvas->DrawFocusRect(rect);
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);

    const std::string text = index >= 0 && index < list_->Items()->Count() ? (*list_->Items())[index] : "";
    const TKVXListItemLayout layout =
        KVXListItemLayout(text, delimiter_, SectionWidths(header_->Sections()), rect.Left, gridLines_);
    if (!layout.HasText) return;
    if (layout.WholeText) {
        canvas->TextRect(rect, rect.Left + 2, rect.Top, text);
    } else {
        for (const TKVXListCell& cell : layout.Cells)
            canvas->TextRect({cell.Left, rect.Top, cell.Right, rect.Bottom}, cell.Left + 2, rect.Top + 1,
                             layout.Fields[cell.Field]);
    }
    if (!layout.VertLines.empty()) {
        canvas->Pen()->SetColor(gridVertColor_);
        const int bottom = list_->ClientHeight();
        for (int x : layout.VertLines) {
            canvas->MoveTo(x, 0);
            canvas->LineTo(x, bottom);
        }
    }
    if (layout.HorzLine) {
        canvas->Pen()->SetColor(gridHorzColor_);
        canvas->MoveTo(rect.Left, rect.Bottom - 1);
        canvas->LineTo(rect.Right, rect.Bottom - 1);
    }
}

}  // namespace kvx::win32
