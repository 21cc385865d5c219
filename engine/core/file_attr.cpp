#include "engine/core/file_attr.h"

namespace engine {

TqlvFileAttr::TqlvFileAttr()
{
    SetAttr(ftArchive, true);
    SetAttr(ftReadOnly, true);
}

int TqlvFileAttr::Slot(int index)
{
    switch (index) {
    case ftReadOnly: return 0;
    case ftHidden: return 1;
    case ftSysFile: return 2;
    case ftVolumeID: return 3;
    case ftDirectory: return 4;
    case ftArchive: return 5;
    default: return -1;
    }
}

bool TqlvFileAttr::GetAttr(int index) const
{
    const int slot = Slot(index);
    return slot >= 0 && values_[slot];
}

void TqlvFileAttr::SetAttr(int index, bool value)
{
    const int slot = Slot(index);
    if (slot < 0)
        return;
    values_[slot] = value;
    if (index == ftDirectory)
        return;
    const uint32_t bit = static_cast<uint32_t>(index);
    if (value)
        mask_ |= bit;
    else
        mask_ &= ~bit;
}

void TqlvFileAttr::Assign(fw::TPersistent* source)
{
    if (auto* other = dynamic_cast<TqlvFileAttr*>(source)) {
        for (int index : {ftReadOnly, ftHidden, ftSysFile, ftVolumeID, ftDirectory, ftArchive})
            SetAttr(index, other->GetAttr(index));
        return;
    }
    fw::TPersistent::Assign(source);
}

}  // namespace engine
