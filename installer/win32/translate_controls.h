// The controls the translator handles on Windows: a label and a bitmap button that carry a GLID, and
// the control support that reaches visibility, label sizing, item lists and fonts of the framework's
// controls.
#pragma once

#include "framework/win32/std_bitbtn.h"
#include "framework/win32/std_label.h"
#include "installer/translator.h"

namespace inst {

class TTranslateLabel : public fw::TLabel {
public:
    explicit TTranslateLabel(fw::TComponent* owner) : fw::TLabel(owner) {}
    int GLID() const { return glid_; }
    void SetGLID(int v) { glid_ = v; }

private:
    int glid_ = 0;
};

class TTranslateBitBtn : public fw::TBitBtn {
public:
    explicit TTranslateBitBtn(fw::TComponent* owner) : fw::TBitBtn(owner) {}
    int GLID() const { return glid_; }
    void SetGLID(int v) { glid_ = v; }

private:
    int glid_ = 0;
};

// Installs the Windows control support into the translator and registers the two classes.
void InstallTranslatorControls();

}  // namespace inst
