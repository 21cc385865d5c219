// The translator: one language table per language, the language the pages are translated into, and the
// translation of texts, memo lines and whole component trees.
//
// A text is translated by looking its current wording up in the table of the language it is in now,
// taking the GLID found there and fetching the same GLID from the target language. Controls are reached
// through ControlSupport, which the Windows layer installs (visibility, label sizing, item lists and
// fonts); without it only published string properties are translated.
#pragma once

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/format.h"
#include "framework/core/object.h"
#include "installer/languages.h"

namespace inst {

class TTranslator;

// The font a language gives a control: either the language's own font (override) or a charset, a face
// and a minimum size.
struct LanguageFontChoice {
    bool useFont = false;
    const TLanguageFont* font = nullptr;
    int charset = 0;
    std::string name;
    int minSize = 0;
};

class ControlSupport {
public:
    virtual ~ControlSupport() = default;
    virtual bool IsControl(fw::TComponent* c) { return false; }
    virtual bool IsForm(fw::TComponent* c) { return false; }
    virtual bool IsImage(fw::TComponent* c) { return false; }
    virtual bool Visible(fw::TComponent* c) { return true; }
    virtual void SetVisible(fw::TComponent* c, bool visible) {}
    virtual bool IsLabel(fw::TComponent* c) { return false; }
    virtual bool AutoSize(fw::TComponent* c) { return false; }
    virtual void SetAutoSize(fw::TComponent* c, bool autoSize) {}
    // A component that carries a GLID of its own (0: none).
    virtual int GLID(fw::TComponent* c) { return 0; }
    virtual void SetCaption(fw::TComponent* c, const std::string& caption) {}
    // Memo lines, list-view column captions, list, combo and radio-group items.
    virtual void TranslateItems(fw::TComponent* c, TTranslator& translator, TQnfdLanguage source) {}
    virtual void Realign(fw::TComponent* c) {}
    virtual std::vector<fw::TComponent*> ChildControls(fw::TComponent* c) { return {}; }
    virtual void ApplyFont(fw::TComponent* c, const LanguageFontChoice& choice) {}
};
ControlSupport& Controls();
void SetControlSupport(ControlSupport* support);

class TTranslator : public fw::TComponent {
public:
    explicit TTranslator(fw::TComponent* owner);

    TLanguage* Language(TQnfdLanguage language) const;  // null for qlUser
    void SetLanguage(TQnfdLanguage language, TLanguage* value);
    // The same by ordinal, for the published lgXxx properties.
    TLanguage* LanguageAt(int ordinal) const { return Language(static_cast<TQnfdLanguage>(ordinal)); }
    void SetLanguageAt(int ordinal, TLanguage* value) { SetLanguage(static_cast<TQnfdLanguage>(ordinal), value); }
    TQnfdLanguage TranslateIntoLanguage() const { return into_; }
    void SetTranslateIntoLanguage(TQnfdLanguage v) { into_ = v; }

    // The table of a language; qlUser means the user's default language.
    TLanguage* TableOf(TQnfdLanguage language) const;
    TLanguage* CurrentLanguage() const { return TableOf(into_); }

    std::string TranslateText(TQnfdLanguage source, const std::string& text) const;
    std::string TranslateGLID(int glid, const std::string& text) const;
    void TranslateMemo(TQnfdLanguage source, const fw::TStrings& lines, fw::TStrings& result) const;

    // Translates the component and everything it owns but forms; returns the language its texts are in.
    TQnfdLanguage TranslateControl(TQnfdLanguage source, fw::TComponent* component);
    TQnfdLanguage TranslateControlInto(TQnfdLanguage source, TQnfdLanguage target, fw::TComponent* component);
    void ApplyLanguageFont(fw::TComponent* control, bool force);
    void ApplyLanguageFontInto(TQnfdLanguage target, fw::TComponent* control, bool force);

protected:
    void BeforeDestruction() override;

private:
    void TranslateComponent(TQnfdLanguage source, fw::TComponent* component);
    void ApplyFontTo(fw::TComponent* control, const LanguageFontChoice& choice);

    std::array<std::unique_ptr<TLanguage>, kLanguageCount> languages_;
    TQnfdLanguage into_ = TQnfdLanguage::qlUser;
};

// The first translator created; null when there is none.
TTranslator* GlobalTranslator();

// Helpers over the global translator; without one they do nothing or return their input.
TQnfdLanguage TranslateControl(TQnfdLanguage source, fw::TComponent* component);
TQnfdLanguage TranslateControlInto(TQnfdLanguage source, TQnfdLanguage target, fw::TComponent* component);
void ApplyLanguageFont(fw::TComponent* control, bool force);
void ApplyLanguageFontInto(TQnfdLanguage target, fw::TComponent* control, bool force);
// English text into the current language (the translated messages).
std::string TranslateEnglish(const std::string& english);

// The conversions of a format ("%d", "%-5s", "%1:s" ...) in order, each as its index (when written)
// and type letter, lower case; "%%" is none. Two formats take the same arguments when these agree.
std::string FormatConversions(const std::string& format);
// Formats an English format after translating it; a translation whose conversions differ from the
// English format's is not used (a table cannot make the message read arguments it was not given).
std::string FormatTranslated(const std::string& englishFormat, std::initializer_list<fw::FormatArg> args);

}  // namespace inst
