// THeaderControl over the system "SysHeader32" class: sections (text, width, limits, alignment,
// owner drawing) that may be added at run time, button or flat style, hot tracking, and events for a
// click, a resize, each step of a drag of a divider, and an owner-drawn section.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

class THeaderControl;

enum class THeaderSectionStyle { hsText, hsOwnerDraw };
enum class THeaderStyle { hsButtons, hsFlat };
enum class TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderSection : public TCollectionItem {
public:
    explicit THeaderSection(TCollection* collection);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AllowClick() const { return allowClick_; }
    void SetAllowClick(bool value) { allowClick_ = value; }
    THeaderSectionStyle Style() const { return style_; }
    void SetStyle(THeaderSectionStyle value);
    // The left edge within the header.
    int Left() const;
    int Right() const { return Left() + width_; }
    std::string DisplayName() const override { return text_.empty() ? TCollectionItem::DisplayName() : text_; }
    void Assign(TPersistent* source) override;

private:
    friend class THeaderControl;
    std::string text_;
    int width_ = 50;
    int minWidth_ = 0;
    int maxWidth_ = 10000;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool allowClick_ = true;
    THeaderSectionStyle style_ = THeaderSectionStyle::hsText;
};

class THeaderSections : public TCollection {
public:
    explicit THeaderSections(THeaderControl* header);
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
    THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    THeaderControl* header_;
};

using TSectionNotifyEvent = Event<void(TObject* Sender, THeaderSection* Section)>;
using TSectionTrackEvent = Event<void(TObject* Sender, THeaderSection* Section, int Width, TSectionTrackState State)>;
using TDrawSectionEvent = Event<void(TObject* Sender, THeaderSection* Section, TRect Rect, bool Pressed)>;

class THeaderControl : public TWinControl {
public:
    explicit THeaderControl(TComponent* owner);

    THeaderSections* Sections() const { return sections_.get(); }
    void SetSections(THeaderSections* value) { sections_->Assign(value); }
    THeaderStyle Style() const { return style_; }
    void SetStyle(THeaderStyle value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    TCanvas* Canvas() const { return canvas_.get(); }

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;
    TDrawSectionEvent OnDrawSection;

protected:
    ~THeaderControl() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawSection(THeaderSection* section, const TRect& rect, bool pressed);
    virtual void SectionClick(THeaderSection* section);
    virtual void SectionResize(THeaderSection* section);
    virtual void SectionTrack(THeaderSection* section, int width, TSectionTrackState state);

private:
    friend class THeaderSections;
    void UpdateSections();
    void CNNotify(TMessage& message);
    void CNDrawItem(TMessage& message);

    std::unique_ptr<THeaderSections> sections_;
    std::unique_ptr<TCanvas> canvas_;
    THeaderStyle style_ = THeaderStyle::hsButtons;
    bool hotTrack_ = false;
};

void RegisterHeaderClasses();

}  // namespace fw
