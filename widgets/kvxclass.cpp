#include "widgets/kvxclass.h"

namespace kvx {

void TKVXObject::EndUpdate(bool doChange) {
    updating_ = false;
    if (doChange) Change();
}

void TKVXObject::Change() {
    if (!updating_ && OnChange) OnChange(this);
}

void TKVXObject::ChildChanged(TObject*) { Change(); }

void TKVXComponent::EndUpdate(bool doChange) {
    updating_ = false;
    if (doChange) Change();
}

void TKVXComponent::Change() {
    if (!updating_ && OnChange) OnChange(this);
}

void TKVXComponent::ChildChanged(TObject*) { Change(); }

}  // namespace kvx
