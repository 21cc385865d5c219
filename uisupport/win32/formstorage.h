// TFormStorage: a form placement that also keeps the component properties named in StoredProps
// ("component.property", one per line) in the placement's section, in the formats of TPropsStorage.
// A value that cannot be applied skips only its own property.
#pragma once

#include <memory>

#include "framework/core/lists.h"
#include "uisupport/win32/formplacement.h"

namespace uis {

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(fw::TComponent* owner);

    fw::TStringList* StoredProps() const { return storedProps_.get(); }
    // Copies the lines and asks each bound component for its removal notification.
    void SetStoredProps(fw::TStringList* value);

    virtual void SaveStoredProps();
    virtual void LoadStoredProps();

    void Loaded() override;

protected:
    ~TFormStorage() override = default;
    void SavePlacementValues() override;
    void RestorePlacementValues() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    std::unique_ptr<fw::TStringList> storedProps_;
};

void RegisterFormStorageClasses();

}  // namespace uis
