// TAnimate over the system "SysAnimate32" class.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

// TAnimate over "SysAnimate32": plays one of the system's common clips. Where the clip is missing (as
// under some systems) opening it fails quietly and the control stays empty.
enum class TCommonAVI { aviNone, aviFindFolder, aviFindFile, aviFindComputer, aviCopyFiles, aviCopyFile,
                        aviRecycleFile, aviEmptyRecycle, aviDeleteFile };

class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner);
    TCommonAVI CommonAVI() const { return commonAVI_; }
    void SetCommonAVI(TCommonAVI value);
    bool Active() const { return active_; }
    void SetActive(bool value);
    // Whether the window holds a clip.
    bool Open() const { return open_; }
    void Play(int from, int to, int count);
    void Stop();

protected:
    ~TAnimate() override = default;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;

private:
    void OpenClip();
    TCommonAVI commonAVI_ = TCommonAVI::aviNone;
    bool active_ = false;
    bool open_ = false;
};

void RegisterAnimateClasses();

}  // namespace fw
