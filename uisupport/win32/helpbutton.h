// TqhlHelpButton: the flat speed button that starts and ends help mode. It stays down while help mode
// lasts (a group of its own with AllowAllUp) and shows the "HELPBUTTONGLYPH" resource unless given
// another glyph. The help monitor sets its click handler and hint; at most one sits on a form.
#pragma once

#include <string>

#include "framework/core/exceptions.h"
#include "uisupport/controls/win32/kyvctrls.h"

namespace uis {

// Raised for a second help monitor in a program or a second help button on a form.
class EHADisignTimeError : public fw::Exception {
public:
    using Exception::Exception;
};

// The group a help button forms on its own.
constexpr int kHelpButtonGroupIndex = 102938;

class TqhlHelpButton : public TKyvSpeedButton {
public:
    explicit TqhlHelpButton(fw::TComponent* owner);

    // An empty bitmap (or none) brings the resource glyph back.
    void SetGlyph(fw::TBitmap* value);

protected:
    ~TqhlHelpButton() override = default;

private:
    void LoadDefaultGlyph();
};

void RegisterHelpButtonClasses();

}  // namespace uis
