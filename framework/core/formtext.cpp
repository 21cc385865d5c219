#include "framework/core/formtext.h"

namespace fw {

void DropPendingFixups(TComponent*) {}

}  // namespace fw
