// TUnBH: the extractor of BH archives (plain and self-extracting): stored and Fuse entries, encrypted
// ones with a password from the known passwords or from OnGetPassword.
#pragma once

#include "engine/core/un_base.h"

namespace engine {

class TUnBH : public TUnBase {
public:
    explicit TUnBH(fw::TComponent* owner);

    void SetArcType(TArcType value) override;
    void ProcessArchive() override;

protected:
    ~TUnBH() override = default;

private:
    void Walk(fw::FileHandle archive, int64_t size);

    std::string password_;  // the run's current password
};

void RegisterUnBhClasses();

}  // namespace engine
