// TAnimate over the system "SysAnimate32" class.
#include "framework/win32/std_animate.h"

namespace fw {

namespace {

// The clips shell32 carries as AVI resources, by TCommonAVI order.
constexpr int kClipIds[] = {0, 150, 151, 152, 160, 161, 162, 163, 164};

}  // namespace

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 80); }

void TAnimate::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, ANIMATE_CLASSA);
    params.Style |= ACS_TRANSPARENT | ACS_CENTER;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TAnimate::CreateWindowState() { OpenClip(); }

void TAnimate::OpenClip() {
    open_ = false;
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), ACM_OPENA, 0, 0);
    if (commonAVI_ == TCommonAVI::aviNone) return;
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell) shell = LoadLibraryA("shell32.dll");
    if (!shell) return;
    // A missing clip leaves the control empty; nothing is reported.
    open_ = SendMessageA(Handle(), ACM_OPENA, reinterpret_cast<WPARAM>(shell),
                         static_cast<LPARAM>(kClipIds[static_cast<int>(commonAVI_)])) != 0;
    if (open_ && active_) Play(0, -1, -1);
}

void TAnimate::SetCommonAVI(TCommonAVI value) {
    commonAVI_ = value;
    OpenClip();
}

void TAnimate::SetActive(bool value) {
    active_ = value;
    if (!open_) return;
    if (value)
        Play(0, -1, -1);
    else
        Stop();
}

void TAnimate::Play(int from, int to, int count) {
    if (open_) SendMessageA(Handle(), ACM_PLAY, static_cast<WPARAM>(count), MAKELPARAM(from, to));
}

void TAnimate::Stop() {
    if (open_) SendMessageA(Handle(), ACM_STOP, 0, 0);
}

void RegisterAnimateClasses() {
    RegisterEnum<TCommonAVI>({"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles",
                              "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"},
                             "TCommonAVI");
    Class<TAnimate, TWinControl>("TAnimate")
        .Prop("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI)
        .Prop("Active", &TAnimate::Active, &TAnimate::SetActive)
        .Prop("Open", &TAnimate::Open);
}

}  // namespace fw
