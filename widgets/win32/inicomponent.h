// Two bases of non-visual components. TKVXCustomIniComponent loads itself from the settings store when
// its form is created and saves itself when the form is destroyed: once read from the form, it chains
// the form's OnCreate and OnDestroy (its own work first, then the handler the form had; of several such
// components the one read last runs first). TKVXContainerComponent links to a suite image list as the
// controls do.
#pragma once

#include <string>

#include "framework/win32/forms.h"
#include "widgets/controltypes.h"
#include "widgets/inictrl.h"
#include "widgets/kvxclass.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomIniComponent : public TKVXComponent {
public:
    // The owner must be a form: anything else raises "<ClassName>\rInvalid Owner (<>TForm)".
    explicit TKVXCustomIniComponent(TComponent* owner, const char* className = "TKVXCustomIniComponent");

    TKVXIniCtrl* IniLink() const { return iniLink_; }
    void SetIniLink(TKVXIniCtrl* value);
    TKVXIniUse IniUse = TKVXIniUse::ioUseGlobal;
    const std::string& Section() const { return section_; }
    void SetSection(const std::string& value);
    // Links a settings store added to the form (ioUseLink): Component itself when it is one and no link
    // is set; for the component itself, the form's only settings store.
    void AutoLinkIniCtrl(TComponent* component);

    void ReadState(fw::TReader& reader) override;

protected:
    virtual void SectionChanged(const std::string& section) {}
    virtual void LoadFromIni() {}
    virtual void SaveToIni() {}
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);

    TKVXIniCtrl* iniLink_ = nullptr;
    std::string section_;
    TNotifyEvent savedCreate_;
    TNotifyEvent savedDestroy_;
};

class TKVXContainerComponent : public TKVXComponent {
public:
    explicit TKVXContainerComponent(TComponent* owner);

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    int GetImageValue(int index) const { return image_.GetIndex(index); }
    void SetImageValue(int index, int value) { image_.SetIndex(index, value); }
    bool NoImage() const { return image_.NoImage(); }
    bool ImageListStored() const { return image_.ListStored(); }

protected:
    virtual void ImageChanged(TObject* sender) {}
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;

private:
    TKVXImageLink image_;
};

}  // namespace kvx::win32
