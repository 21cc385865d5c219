#include "installer/win32/translate_controls.h"

#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_combobox.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_memo.h"
#include "framework/win32/std_radiogroup.h"

namespace inst {

namespace {

void TranslateLines(fw::TStrings* lines, TTranslator& t, TQnfdLanguage source) {
    if (!lines) return;
    for (int i = 0; i < lines->Count(); ++i) {
        const std::string text = lines->Get(i);
        const std::string translated = t.TranslateText(source, text);
        if (translated != text) lines->Put(i, translated);
    }
}

class Win32Controls : public ControlSupport {
public:
    bool IsControl(fw::TComponent* c) override { return dynamic_cast<fw::TControl*>(c) != nullptr; }
    bool IsForm(fw::TComponent* c) override { return dynamic_cast<fw::TForm*>(c) != nullptr; }
    bool IsImage(fw::TComponent* c) override { return dynamic_cast<fw::TImage*>(c) != nullptr; }
    bool Visible(fw::TComponent* c) override { return static_cast<fw::TControl*>(c)->Visible(); }
    void SetVisible(fw::TComponent* c, bool visible) override { static_cast<fw::TControl*>(c)->SetVisible(visible); }
    bool IsLabel(fw::TComponent* c) override { return dynamic_cast<fw::TCustomLabel*>(c) != nullptr; }
    bool AutoSize(fw::TComponent* c) override { return static_cast<fw::TControl*>(c)->AutoSize(); }
    void SetAutoSize(fw::TComponent* c, bool v) override { static_cast<fw::TControl*>(c)->SetAutoSize(v); }
    int GLID(fw::TComponent* c) override {
        if (auto* l = dynamic_cast<TTranslateLabel*>(c)) return l->GLID();
        if (auto* b = dynamic_cast<TTranslateBitBtn*>(c)) return b->GLID();
        return 0;
    }
    void SetCaption(fw::TComponent* c, const std::string& caption) override {
        static_cast<fw::TControl*>(c)->SetCaption(caption);
    }
    void TranslateItems(fw::TComponent* c, TTranslator& t, TQnfdLanguage source) override {
        if (auto* memo = dynamic_cast<fw::TMemo*>(c)) {
            t.TranslateMemo(source, *memo->Lines(), *memo->Lines());
        } else if (auto* view = dynamic_cast<fw::TListView*>(c)) {
            for (int i = 0; i < view->Columns()->Count(); ++i) {
                fw::TListColumn* column = view->Columns()->Items(i);
                const std::string translated = t.TranslateText(source, column->Caption());
                if (translated != column->Caption()) column->SetCaption(translated);
            }
        } else if (auto* list = dynamic_cast<fw::TCustomListBox*>(c)) {
            TranslateLines(list->Items(), t, source);
        } else if (auto* combo = dynamic_cast<fw::TCustomComboBox*>(c)) {
            TranslateLines(combo->Items(), t, source);
        } else if (auto* group = dynamic_cast<fw::TRadioGroup*>(c)) {
            TranslateLines(group->Items(), t, source);
        }
    }
    void Realign(fw::TComponent* c) override {
        if (auto* w = dynamic_cast<fw::TWinControl*>(c)) w->Realign();
    }
    std::vector<fw::TComponent*> ChildControls(fw::TComponent* c) override {
        std::vector<fw::TComponent*> children;
        if (auto* w = dynamic_cast<fw::TWinControl*>(c))
            for (int i = 0; i < w->ControlCount(); ++i) children.push_back(w->Controls(i));
        return children;
    }
    void ApplyFont(fw::TComponent* c, const LanguageFontChoice& choice) override {
        auto* control = dynamic_cast<fw::TControl*>(c);
        if (!control) return;
        fw::TFont* font = control->Font();
        if (choice.useFont) {
            font->SetName(choice.font->Name());
            font->SetSize(choice.font->Size());
            font->SetCharset(static_cast<fw::TFontCharset>(choice.font->Charset()));
            return;
        }
        font->SetCharset(static_cast<fw::TFontCharset>(choice.charset));
        font->SetName(choice.name);
        if (font->Size() < choice.minSize) font->SetSize(choice.minSize);
    }
};

}  // namespace

void InstallTranslatorControls() {
    static Win32Controls controls;
    SetControlSupport(&controls);
    fw::Class<TTranslateLabel, fw::TLabel>("TTranslateLabel").Prop("GLID", &TTranslateLabel::GLID, &TTranslateLabel::SetGLID);
    fw::Class<TTranslateBitBtn, fw::TBitBtn>("TTranslateBitBtn")
        .Prop("GLID", &TTranslateBitBtn::GLID, &TTranslateBitBtn::SetGLID);
}

}  // namespace inst
