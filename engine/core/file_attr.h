// TqlvFileAttr: the attribute filter of the writers' folder searches, streamed as a sub-property with
// six Boolean properties tied to the DOS attribute bits.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

namespace engine {

class TqlvFileAttr : public fw::TPersistent {
public:
    // Property indices, equal to the attribute bits they drive.
    enum : int { ftReadOnly = 1, ftHidden = 2, ftSysFile = 4, ftVolumeID = 8, ftDirectory = 16, ftArchive = 32 };

    TqlvFileAttr();

    // The search filter. Starts at 33: archive and read-only.
    uint32_t Mask() const { return mask_; }

    // Indexed accessors of the six Booleans. Writing one of read-only, hidden, system, volume or
    // archive also sets or clears its bit; ftDirectory stores its Boolean only.
    bool GetAttr(int index) const;
    void SetAttr(int index, bool value);

    // From another TqlvFileAttr: the six Booleans, applied through their setters so that the mask
    // follows them; anything else goes to the framework's assign.
    void Assign(fw::TPersistent* source) override;

private:
    static int Slot(int index);
    bool values_[6] = {};
    uint32_t mask_ = 0;
};

}  // namespace engine
