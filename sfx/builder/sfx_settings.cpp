#include "sfx/builder/sfx_settings.h"

namespace sfx {

void SfxSettings::SetExtractToTemp(bool ticked) {
    if (ticked == extractToTemp) return;
    extractToTemp = ticked;
    if (ticked) {
        rememberedRoot = rootDir;
        rootDir.clear();
    } else {
        rootDir = rememberedRoot;
    }
}

void SfxSettings::SetUseAssociated(bool ticked) {
    if (ticked == useAssociated) return;
    useAssociated = ticked;
    if (ticked) {
        rememberedProgram = program;
        program.clear();
    } else {
        program = rememberedProgram;
    }
}

void SfxSettings::ForgetRemembered() {
    rememberedRoot.clear();
    rememberedProgram.clear();
}

void ReconcileRunSettings(SfxSettings& s) {
    if (!s.useAssociated && s.program.empty() && !s.params.empty()) {
        s.rememberedProgram.clear();
        s.SetUseAssociated(true);
    } else if (s.useAssociated && s.params.empty()) {
        s.rememberedProgram.clear();
        s.SetUseAssociated(false);
    }
}

}  // namespace sfx
