// TImage: a windowless picture (bitmap or icon), drawn as it is, centred or stretched, transparent
// where the bitmap says so; AutoSize fits the control to the picture.
#pragma once

#include <memory>

#include "framework/win32/std_support.h"

namespace fw {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* value) { picture_->Assign(value); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    void SetAutoSize(bool value) override;

protected:
    ~TImage() override;
    void Paint() override;

private:
    void PictureChanged(TObject* sender);
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

// A windowless area its owner paints in OnPaint.
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner);

protected:
    ~TPaintBox() override = default;
};

void RegisterImageClasses();

}  // namespace fw
