// TKVXListBox: a list box with a column header. A suite scroll box holds a header control at its top
// and an always owner-drawn list box below it; each item is drawn as fields split at Delimiter, one per
// header section, with optional grid lines. The column widths can live in the suite's settings store
// ("80,120,45" under IniKey in Section); a damaged stored value never keeps the form from loading.
#pragma once

#include <string>

#include "framework/win32/std_header.h"
#include "framework/win32/std_listbox.h"
#include "widgets/controltypes.h"
#include "widgets/inictrl.h"
#include "widgets/listcolumns.h"
#include "widgets/win32/scrollbox.h"

namespace kvx::win32 {

class TKVXHeaderControl : public fw::THeaderControl {
public:
    using fw::THeaderControl::THeaderControl;
};

using TSectionEvent = fw::Event<void(TObject* Sender, int ASection, int AWidth)>;
using TKVXIniCtrlEvent = fw::Event<void(TObject* Sender, TKVXIniCtrl* aIniCtrl, const std::string& Section)>;

class TKVXListBox : public TKVXCustomScrollBox {
public:
    explicit TKVXListBox(TComponent* owner);

    TKVXHeaderControl* Header() const { return header_; }
    fw::TListBox* ListBox() const { return list_; }

    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char value);
    TKVXLBGridLines GridLines() const { return gridLines_; }
    void SetGridLines(TKVXLBGridLines value);
    fw::TListBoxStyle Style() const { return style_; }
    void SetStyle(fw::TListBoxStyle value);
    int VirtualWidth() const { return virtualWidth_; }
    void SetVirtualWidth(int value);

    // Flags by index: 0 Enabled, 1 ExtendedSelect, 2 HeaderVisible, 3 MultiSelect, 4 Sorted,
    // 5 AllowResize, 6 ShowHint, 7 ParentShowHint, 8 TabStop, 12 HeaderHotTrack, 13 HeaderFlat.
    bool GetFlag(int index) const;
    void SetFlag(int index, bool value);
    // Numbers by index: 0 HeaderHeight, 1 ItemIndex, 2 TopIndex, 3 SelCount, 4 ItemHeight, 5 sections.
    int GetInt(int index) const;
    void SetInt(int index, int value);
    // Colours by index: 0 the list's Color, 1 SelectedColor, 2 GridHorzColor, 3 GridVertColor.
    fw::TColor GetColorValue(int index) const;
    void SetColorValue(int index, fw::TColor value);
    bool ItemHeightStored() const { return style_ != fw::TListBoxStyle::lbStandard; }

    fw::TStrings* Items() const { return list_->Items(); }
    void SetItems(fw::TStrings* value) { list_->Items()->Assign(value); }
    bool Selected(int index) const { return list_->Selected(index); }
    void SetSelected(int index, bool value) { list_->SetSelected(index, value); }
    fw::THeaderSections* HeaderSections() const { return header_->Sections(); }
    void SetHeaderSections(fw::THeaderSections* value) { header_->SetSections(value); }
    fw::TFont* HeaderFont() const { return header_->Font(); }
    void SetHeaderFont(fw::TFont* value) { header_->Font()->Assign(value); }
    fw::TFont* ListFont() const { return list_->Font(); }
    void SetListFont(fw::TFont* value) { list_->Font()->Assign(value); }

    // The obsolete section list of old form data: writing it always fails.
    void SetSections(fw::TStrings* value);
    // Adds one header section per string of the obsolete data ("\0<width>\0<caption>").
    void AddLegacySections(const fw::TStrings& strings);

    TKVXIniCtrl* IniLink() const { return iniLink_; }
    void SetIniLink(TKVXIniCtrl* value);
    TKVXIniUse IniUse = TKVXIniUse::ioNone;
    std::string Section = "Common";
    std::string IniKey = "ListBoxData";
    bool SectionStored() const { return Section != "Common"; }
    bool IniKeyStored() const { return IniKey != "ListBoxData"; }

    // The store the widths go to: the link, the application's store, or none.
    TKVXIniCtrl* Store() const;
    virtual void ReadColumnWidths();
    virtual void WriteColumnWidths();

    void SetFocus() override;

    TSectionEvent OnHeaderSized;
    fw::TSectionNotifyEvent OnHeaderSectionResize;
    fw::TDrawItemEvent OnDrawItem;
    TKVXIniCtrlEvent OnIniReadData;
    TKVXIniCtrlEvent OnIniWriteData;

    void ReadState(fw::TReader& reader) override;
    void Loaded() override;

protected:
    ~TKVXListBox() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void AlignControls(fw::TControl* control, fw::TRect& rect) override;
    void Dispatch(fw::TMessage& message) override;

private:
    bool Loading() const { return (ComponentState() & fw::csLoading) != 0; }
    bool Destroying() const { return (ComponentState() & fw::csDestroying) != 0; }
    void DrawListItem(TObject* sender, int index, fw::TRect rect, fw::TOwnerDrawState state);
    void HeaderSectionResize(TObject* sender, fw::THeaderSection* section);
    void CopyEventsToInnerControls();
    void Repaint();

    TKVXHeaderControl* header_;
    fw::TListBox* list_;
    char delimiter_ = ';';
    TKVXLBGridLines gridLines_ = TKVXLBGridLines::glNone;
    fw::TListBoxStyle style_ = fw::TListBoxStyle::lbStandard;
    fw::TColor gridHorzColor_ = 0xC0C0C0;
    fw::TColor gridVertColor_ = 0xC0C0C0;
    fw::TColor selectedColor_ = fw::clHighlight;
    int virtualWidth_ = 0;
    bool headerVisible_ = true;
    int headerHeight_ = 25;
    TKVXIniCtrl* iniLink_ = nullptr;
};

}  // namespace kvx::win32
