#include "widgets/win32/facebutton.h"

#include <vector>

#include "framework/core/streams.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

using S = TKVXButtonState;

namespace {
std::vector<uint8_t> ReadAll(fw::TStream& stream) {
    const int64_t size = stream.Size() - stream.Position();
    std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
    return data;
}
}  // namespace

TKVXCustomMMButton::TKVXCustomMMButton(TComponent* owner)
    : TKVXBaseGraphicButton(owner),
      faceLink_(this, [this](TObject* sender) { FaceListChanged(sender); }) {
    SetControlStyle((ControlStyle() & ~fw::csClickEvents) | fw::csOpaque | fw::csReplicatable);
    SetAllowTransparency(true);
}

TKVXCustomMMButton::~TKVXCustomMMButton() = default;

void TKVXCustomMMButton::SetButtonFaceImageList(TKVXCustomImageList* value) { faceLink_.SetList(value); }

void TKVXCustomMMButton::SetFace(S state, TKVXFacePair face) {
    faces_[static_cast<size_t>(state)] = face;
    ContentChanged(nullptr);
}

void TKVXCustomMMButton::SetForceTransparent(bool value) {
    if (value == forceTransparent_) return;
    forceTransparent_ = value;
    Invalidate();
}

void TKVXCustomMMButton::SetQuickDraw(bool value) {
    if (value == quickDraw_) return;
    quickDraw_ = value;
    Invalidate();
}

void TKVXCustomMMButton::SetButtonFaceStyle(TKVXBitmapStyle value) {
    if (value == faceStyle_) return;
    faceStyle_ = value;
    Invalidate();
}

void TKVXCustomMMButton::SetTransparent(bool value) {
    if (value == Transparent()) return;
    SetTransparentFlag(value);
    Invalidate();
}

bool TKVXCustomMMButton::NoFaceImage(S state) {
    TKVXCustomImageList* list = ButtonFaceImageList();
    const TKVXFacePair face = Face(state);
    return !list || !list->IsValid(face.listIndex, face.imageIndex);
}

std::optional<S> TKVXCustomMMButton::ShownFace() {
    std::array<bool, kKVXButtonStates> has{};
    for (int s = 0; s < kKVXButtonStates; ++s) has[static_cast<size_t>(s)] = !NoFaceImage(static_cast<S>(s));
    const std::optional<S> slot = KVXFaceSlot(State(), has);
    if (slot && NoFaceImage(*slot)) return std::nullopt;
    return slot;
}

HPALETTE TKVXCustomMMButton::GetPalette() {
    TKVXCustomImageList* list = ButtonFaceImageList();
    return list ? list->GetPalette(Face(State()).listIndex) : nullptr;
}

bool TKVXCustomMMButton::PointInButton(int x, int y) {
    // The face that painting shows: a state without its own face is hit where its fallback is.
    const std::optional<S> slot = ShownFace();
    if (!slot) return false;
    if (x < faceRect_.Left || x >= faceRect_.Right || y < faceRect_.Top || y >= faceRect_.Bottom) return false;
    const TKVXFacePair face = Face(*slot);
    return ButtonFaceImageList()->GetPixel({x - faceRect_.Left, y - faceRect_.Top}, face.listIndex, face.imageIndex) !=
           faceTransparent_;
}

void TKVXCustomMMButton::Notification(TComponent* component, fw::TOperation operation) {
    TKVXBaseGraphicButton::Notification(component, operation);
    faceLink_.Notification(component, operation);
}

void TKVXCustomMMButton::DefineProperties(fw::TFiler& filer) {
    TKVXBaseGraphicButton::DefineProperties(filer);
    // Older forms stored the pairs one after the other and the colour under other names; a value of
    // another length is ignored.
    filer.DefineBinaryProperty(
        "ButtonFaceIndices", [this](fw::TStream& s) { KVXReadOldFaceIndices(ReadAll(s), faces_); }, nullptr, false);
    filer.DefineBinaryProperty(
        "ButtonFaceIndicesNew", [this](fw::TStream& s) { KVXReadFaceIndices(ReadAll(s), faces_); },
        [this](fw::TStream& s) {
            const std::vector<uint8_t> data = KVXWriteFaceIndices(faces_);
            s.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        },
        true);
    filer.DefineBinaryProperty(
        "ButtonFaceTransCol", [this](fw::TStream& s) { KVXReadFaceColor(ReadAll(s), faceTransparent_); }, nullptr,
        false);
    filer.DefineBinaryProperty(
        "ButtonFaceTransColNew", [this](fw::TStream& s) { KVXReadFaceColor(ReadAll(s), faceTransparent_); },
        [this](fw::TStream& s) {
            const std::vector<uint8_t> data = KVXWriteFaceColor(faceTransparent_);
            s.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        },
        true);
}

void TKVXCustomMMButton::Paint() {
    if (Loading()) return;
    faceRect_ = {};
    fw::TCanvas* c = Canvas();
    TKVXCustomImageList* list = ButtonFaceImageList();
    if (!list) {
        if (!Transparent()) FillClient();
        return;
    }
    const S state = State();
    if (faceStyle_ == TKVXBitmapStyle::sbAutosize) {
        const int li = Face(state).listIndex;
        const int w = list->GetSize(li, 0) ? list->GetSize(li, 0) : 20;
        const int h = list->GetSize(li, 1) ? list->GetSize(li, 1) : 20;
        if (w != Width() || h != Height()) {
            SetBounds(Left(), Top(), w, h);
            return;
        }
    }
    const TRect client = ClientRect();
    fw::TBitmap buffer;
    buffer.SetSize(Width(), Height());
    bool background = false;
    if (!Transparent()) {
        KVXFillBitmap(&buffer, client, Color());
        background = true;
    } else if (UsesParentBackground()) {
        KVXSuiteParent(this)->CopyBackground(buffer.Canvas(), client, OffsetToParent(Left(), Top()));
        background = true;
    }
    const std::optional<S> slot = ShownFace();
    // Without a face of its own the up state shows nothing; other states still show their caption.
    if (state == S::bstUp && NoFaceImage(S::bstUp)) return;
    uint16_t flags = KVXFacePlacementFlags(faceStyle_, quickDraw_);
    TKVXFacePair face{};
    if (slot) {
        face = Face(*slot);
        if (Transparent() && !background) KVXFillBitmap(&buffer, client, list->TransparentColor(face.listIndex, face.imageIndex));
        if (Transparent() || forceTransparent_) flags |= kpfColorMask;
        TRect painted;
        list->DrawInRect(buffer.Canvas(), client, flags, face.listIndex, face.imageIndex, painted);
        faceRect_ = painted;
    }
    TRect caption = client;
    if (state == S::bstLatched || state == S::bstDown || state == S::bstDropped)
        caption = fw::OffsetRect(caption, captionDown_, captionDown_);
    DrawCaption(buffer.Canvas(), caption);
    if (background) {
        if (!quickDraw_) {
            if (HPALETTE palette = list->GetPalette(face.listIndex)) {
                SelectPalette(c->Handle(), palette, FALSE);
                RealizePalette(c->Handle());
            }
        }
        c->Draw(0, 0, &buffer);
    } else {
        TRect painted;
        KVXDrawBitmap(c, client, &buffer, kpfPalette | kpfColorMask, buffer.Canvas()->Pixels(0, Height() - 1), painted);
    }
}

}  // namespace kvx::win32
