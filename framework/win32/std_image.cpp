// TImage and TPaintBox.
#include "framework/win32/std_image.h"

namespace fw {

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    controlStyle_ |= csReplicatable;
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

void TImage::PictureChanged(TObject*) {
    TGraphic* graphic = picture_->Graphic();
    if (graphic) {
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) bitmap->SetTransparent(transparent_);
        if (AutoSize() && picture_->Width() > 0 && picture_->Height() > 0)
            SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    }
    if (graphic && !graphic->Empty() && !transparent_ && !stretch_ && !center_ &&
        picture_->Width() >= Width() && picture_->Height() >= Height())
        controlStyle_ |= csOpaque;
    else
        controlStyle_ &= ~csOpaque;
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    TGraphicControl::SetAutoSize(value);
    if (value && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value) {
    center_ = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
    transparent_ = value;
    PictureChanged(this);
}

void TImage::Paint() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty()) {
        TGraphicControl::Paint();
        return;
    }
    const int w = picture_->Width(), h = picture_->Height();
    if (stretch_) {
        Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), graphic);
    } else if (center_) {
        Canvas()->Draw((Width() - w) / 2, (Height() - h) / 2, graphic);
    } else {
        Canvas()->Draw(0, 0, graphic);
    }
    TGraphicControl::Paint();
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ |= csReplicatable;
    SetBounds(0, 0, 105, 105);
}

void RegisterImageClasses() {
    Class<TImage, TGraphicControl>("TImage")
        .Prop("Picture", &TImage::Picture, &TImage::SetPicture)
        .Prop("Stretch", &TImage::Stretch, &TImage::SetStretch)
        .Prop("Center", &TImage::Center, &TImage::SetCenter)
        .Prop("Transparent", &TImage::Transparent, &TImage::SetTransparent);
    Class<TPaintBox, TGraphicControl>("TPaintBox");
}

}  // namespace fw
