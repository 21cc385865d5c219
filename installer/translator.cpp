#include "installer/translator.h"

#include <cctype>

#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/system.h"

namespace inst {

namespace {

ControlSupport* g_controls = nullptr;
TTranslator* g_translator = nullptr;

// The languages with a table, in the order of the published properties.
bool HasTable(TQnfdLanguage l) { return l != TQnfdLanguage::qlUser; }

// Saves and restores what translating changes on a control for the time of the call.
class ControlState {
public:
    explicit ControlState(fw::TComponent* c) : c_(c), support_(Controls()) {
        if (!support_.IsControl(c)) return;
        control_ = true;
        visible_ = support_.Visible(c);
        if (!support_.IsForm(c) && !support_.IsImage(c)) support_.SetVisible(c, false);
        if (support_.IsLabel(c)) {
            label_ = true;
            autoSize_ = support_.AutoSize(c);
            support_.SetAutoSize(c, false);
        }
    }
    void Restore() {
        if (!control_) return;
        control_ = false;
        if (label_) support_.SetAutoSize(c_, autoSize_);
        support_.SetVisible(c_, visible_);
        support_.Realign(c_);
    }
    ~ControlState() {
        try {
            Restore();
        } catch (...) {
        }
    }

private:
    fw::TComponent* c_;
    ControlSupport& support_;
    bool control_ = false, label_ = false, visible_ = true, autoSize_ = false;
};

}  // namespace

ControlSupport& Controls() {
    static ControlSupport none;
    return g_controls ? *g_controls : none;
}
void SetControlSupport(ControlSupport* support) { g_controls = support; }

TTranslator* GlobalTranslator() { return g_translator; }

TTranslator::TTranslator(fw::TComponent* owner) : fw::TComponent(owner) {
    for (int i = 0; i < kLanguageCount; ++i) {
        auto l = static_cast<TQnfdLanguage>(i);
        if (HasTable(l)) languages_[i] = std::make_unique<TLanguage>(this, l);
    }
    if (!g_translator) g_translator = this;
}

void TTranslator::BeforeDestruction() {
    if (g_translator == this) g_translator = nullptr;
    fw::TComponent::BeforeDestruction();
}

TLanguage* TTranslator::Language(TQnfdLanguage language) const {
    int i = static_cast<int>(language);
    return IsValidLanguage(i) ? languages_[i].get() : nullptr;
}

void TTranslator::SetLanguage(TQnfdLanguage language, TLanguage* value) {
    if (TLanguage* l = Language(language)) l->Assign(value);
}

TLanguage* TTranslator::TableOf(TQnfdLanguage language) const {
    if (language == TQnfdLanguage::qlUser) language = LanguageFromLangId(Sys().UserDefaultLangID());
    return Language(language);
}

std::string TTranslator::TranslateText(TQnfdLanguage source, const std::string& text) const {
    TLanguage* from = TableOf(source);
    TLanguage* to = CurrentLanguage();
    if (!from || !to) return text;
    if (TLanguageString* entry = from->FindStringByText(text))
        if (TLanguageString* target = to->FindString(entry->GLID())) return target->Text();
    return text;
}

std::string TTranslator::TranslateGLID(int glid, const std::string& text) const {
    if (TLanguage* to = CurrentLanguage())
        if (TLanguageString* target = to->FindString(glid)) return target->Text();
    return text;
}

void TTranslator::TranslateMemo(TQnfdLanguage source, const fw::TStrings& lines, fw::TStrings& result) const {
    const fw::TStrings* answer = &lines;
    TLanguage* from = TableOf(source);
    TLanguage* to = CurrentLanguage();
    if (from && to)
        if (TLanguageMemo* entry = from->FindMemoByLines(lines))
            if (TLanguageMemo* target = to->FindMemo(entry->GLID())) answer = &target->Lines();
    if (answer == &result) return;
    fw::TStringList copy;
    for (int i = 0; i < answer->Count(); ++i) copy.Add(answer->Get(i));
    result.Assign(&copy);
}

void TTranslator::TranslateComponent(TQnfdLanguage source, fw::TComponent* component) {
    ControlSupport& support = Controls();
    ControlState state(component);
    const int glid = support.GLID(component);
    if (glid > 0) {
        const fw::PropInfo* caption = fw::FindProp(component, "Caption");
        std::string current = caption ? fw::GetStrProp(component, *caption) : std::string();
        support.SetCaption(component, TranslateGLID(glid, current));
    } else if (glid == 0) {
        for (const fw::PropInfo* prop : fw::GetPropList(component, fw::KindBit(fw::TypeKind::String))) {
            if (prop->readOnly || fw::SameText(prop->name, "NAME")) continue;
            const std::string value = fw::GetStrProp(component, *prop);
            if (fw::Trim(value).empty()) continue;
            const std::string translated = TranslateText(source, value);
            if (translated != value) fw::SetStrProp(component, *prop, translated);
        }
        support.TranslateItems(component, *this, source);
    }
    for (int i = 0; i < component->ComponentCount(); ++i) {
        fw::TComponent* child = component->Components(i);
        if (!support.IsForm(child)) TranslateComponent(source, child);
    }
    state.Restore();
}

TQnfdLanguage TTranslator::TranslateControl(TQnfdLanguage source, fw::TComponent* component) {
    if (!component) return source;
    TranslateComponent(source, component);
    TLanguage* current = CurrentLanguage();
    return !current || current->Empty() ? source : into_;
}

TQnfdLanguage TTranslator::TranslateControlInto(TQnfdLanguage source, TQnfdLanguage target, fw::TComponent* component) {
    const TQnfdLanguage saved = into_;
    into_ = target;
    try {
        TQnfdLanguage result = TranslateControl(source, component);
        into_ = saved;
        return result;
    } catch (...) {
        into_ = saved;
        throw;
    }
}

void TTranslator::ApplyFontTo(fw::TComponent* control, const LanguageFontChoice& choice) {
    Controls().ApplyFont(control, choice);
    for (fw::TComponent* child : Controls().ChildControls(control)) ApplyFontTo(child, choice);
}

void TTranslator::ApplyLanguageFont(fw::TComponent* control, bool force) {
    TLanguage* language = CurrentLanguage();
    if (!language || !control) return;
    if (language->Empty() && !force) language = Language(TQnfdLanguage::qlEnglish);
    LanguageFontChoice choice;
    if (language->FontOverride()) {
        choice.useFont = true;
        choice.font = language->Font();
    } else {
        const int ordinal = static_cast<int>(language->LanguageIdent());
        choice.charset = LanguageCharset(ordinal);
        choice.name = LanguageFontName(ordinal);
        choice.minSize = LanguageMinFontSize(ordinal);
    }
    ApplyFontTo(control, choice);
}

void TTranslator::ApplyLanguageFontInto(TQnfdLanguage target, fw::TComponent* control, bool force) {
    const TQnfdLanguage saved = into_;
    into_ = target;
    try {
        ApplyLanguageFont(control, force);
    } catch (...) {
        into_ = saved;
        throw;
    }
    into_ = saved;
}

// ---- Global helpers -----------------------------------------------------------------------------------

TQnfdLanguage TranslateControl(TQnfdLanguage source, fw::TComponent* component) {
    return g_translator ? g_translator->TranslateControl(source, component) : source;
}

TQnfdLanguage TranslateControlInto(TQnfdLanguage source, TQnfdLanguage target, fw::TComponent* component) {
    return g_translator ? g_translator->TranslateControlInto(source, target, component) : source;
}

void ApplyLanguageFont(fw::TComponent* control, bool force) {
    if (g_translator) g_translator->ApplyLanguageFont(control, force);
}

void ApplyLanguageFontInto(TQnfdLanguage target, fw::TComponent* control, bool force) {
    if (g_translator) g_translator->ApplyLanguageFontInto(target, control, force);
}

std::string TranslateEnglish(const std::string& english) {
    return g_translator ? g_translator->TranslateText(TQnfdLanguage::qlEnglish, english) : english;
}

// ---- Checked translated formats ------------------------------------------------------------------------

std::string FormatConversions(const std::string& format) {
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (++i >= format.size()) break;
        if (format[i] == '%') continue;
        std::string spec;
        // An index is digits (or "*") followed by ":".
        size_t j = i;
        while (j < format.size() && (std::isdigit(static_cast<unsigned char>(format[j])) || format[j] == '*')) ++j;
        if (j < format.size() && format[j] == ':') {
            spec = format.substr(i, j - i) + ":";
            i = j + 1;
        }
        while (i < format.size() && (format[i] == '-' || format[i] == '.' || format[i] == '*' ||
                                     std::isdigit(static_cast<unsigned char>(format[i])))) {
            if (format[i] == '*') spec += '*';
            ++i;
        }
        if (i < format.size()) spec += static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
        out += spec + ",";
    }
    return out;
}

std::string FormatTranslated(const std::string& englishFormat, std::initializer_list<fw::FormatArg> args) {
    const std::string translated = TranslateEnglish(englishFormat);
    if (translated != englishFormat && FormatConversions(translated) == FormatConversions(englishFormat)) {
        try {
            return fw::Format(translated, args);
        } catch (const fw::EConvertError&) {
        }
    }
    return fw::Format(englishFormat, args);
}

IException::IException(const std::string& english) : ECustomQuenfordAbnormal(TranslateEnglish(english)) {}

IException::IException(const std::string& englishFormat, std::initializer_list<fw::FormatArg> args)
    : ECustomQuenfordAbnormal(FormatTranslated(englishFormat, args)) {}

}  // namespace inst
