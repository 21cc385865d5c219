// TKVXCustomFormFill and TKVXBack: paint the client background of the form that owns them, watched
// through the form's hook chain. TKVXBack tiles a picture of a suite image list over the client
// area; both hand the painting to OnPaint in owner-draw mode. Resizing and scrolling invalidate
// without erasing (the tile is anchored at the client origin), a palette change with erasing.
#pragma once

#include "widgets/win32/formstyler.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomFormFill : public TKVXWndProcComponent {
public:
    explicit TKVXCustomFormFill(TComponent* owner);

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    // Index 0 ImageIndex, 1 ListIndex.
    int GetImageValue(int index) const { return image_.GetIndex(index); }
    void SetImageValue(int index, int value) { image_.SetIndex(index, value); }
    int ImageIndex() const { return image_.ImageIndex(); }
    int ListIndex() const { return image_.ListIndex(); }
    bool ImageListStored() const { return image_.ListStored(); }
    bool DefaultFill() const { return defaultFill_; }
    void SetDefaultFill(bool value) { defaultFill_ = value; }
    TKVXPaintMode PaintMode() const { return paintMode_; }
    void SetPaintMode(TKVXPaintMode value);

    TKVXPaintEvent OnPaint;

protected:
    // Invalidates the form with erasing.
    virtual void ImageChanged(TObject* sender);
    // Paints the client background into DC; false leaves the background to the form.
    virtual bool EraseBackground(HDC dc);

    void EnableHook() override;
    void DisableHook() override;
    void HookWndProc(fw::HookMessage& message) override;
    void ChildChanged(TObject* sender) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;

    void InvalidateTarget(bool erase);
    fw::TRect FormClientRect() const;

private:
    TKVXImageLink image_;
    bool defaultFill_ = true;
    TKVXPaintMode paintMode_ = TKVXPaintMode::pcControl;
};

class TKVXBack : public TKVXCustomFormFill {
public:
    explicit TKVXBack(TComponent* owner) : TKVXCustomFormFill(owner) {}

protected:
    bool EraseBackground(HDC dc) override;
};

}  // namespace kvx::win32
