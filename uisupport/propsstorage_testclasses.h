// Components with a property of every kind, shared by the property-storage tests and its fuzz target,
// and an in-memory store that keeps sections and values the way the registry does (names ignore case).
#pragma once

#include <map>
#include <stdexcept>
#include <string>

#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "uisupport/propsstorage.h"

namespace uis::test {

enum class TTestKind { bkRect, bkRoundRect, bkEllipse };
enum class TTestStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
enum class TTestPitch { fpDefault, fpVariable, fpFixed };
using TTestStyles = fw::Set<TTestStyle>;

// Seven values like a font's.
class TTestFont : public fw::TPersistent {
public:
    int Charset() const { return charset_; }
    void SetCharset(int v) { charset_ = v; }
    int Color() const { return color_; }
    void SetColor(int v) { color_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    std::string Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    TTestPitch Pitch() const { return pitch_; }
    void SetPitch(TTestPitch v) { pitch_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }
    TTestStyles Style() const { return style_; }
    void SetStyle(TTestStyles v) { style_ = v; }
    void Assign(fw::TPersistent* source) override {
        auto* f = dynamic_cast<TTestFont*>(source);
        if (!f) return TPersistent::Assign(source);
        charset_ = f->charset_, color_ = f->color_, height_ = f->height_, name_ = f->name_;
        pitch_ = f->pitch_, size_ = f->size_, style_ = f->style_;
    }

private:
    int charset_ = 1, color_ = -2147483640, height_ = -11, size_ = 8;
    std::string name_ = "MS Sans Serif";
    TTestPitch pitch_ = TTestPitch::fpDefault;
    TTestStyles style_;
};

class TTestColumn : public fw::TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }

private:
    int width_ = 50;
    std::string caption_;
};

class TTestControl : public fw::TComponent {
public:
    explicit TTestControl(fw::TComponent* owner)
        : TComponent(owner), items_(new fw::TStringList), columns_(new fw::TCollection(&fw::TCollection::MakeItem<TTestColumn>)) {}

    int Number() const { return number_; }
    void SetNumber(int v) { number_ = v; }
    int64_t Big() const { return big_; }
    void SetBig(int64_t v) { big_ = v; }
    char Letter() const { return letter_; }
    void SetLetter(char v) { letter_ = v; }
    float Single() const { return single_; }
    void SetSingle(float v) { single_ = v; }
    double Double() const { return double_; }
    void SetDouble(double v) { double_ = v; }
    long double Extended() const { return extended_; }
    void SetExtended(long double v) { extended_ = v; }
    std::string Text() const { return text_; }
    void SetText(const std::string& v) { text_ = v; }
    bool Checked() const { return checked_; }
    void SetChecked(bool v) { checked_ = v; }
    TTestKind Kind() const { return kind_; }
    void SetKind(TTestKind v) { kind_ = v; }
    TTestStyles Style() const { return style_; }
    void SetStyle(TTestStyles v) { style_ = v; }
    // Refuses negative values, so that a bad stored value raises.
    int Strict() const { return strict_; }
    void SetStrict(int v) {
        if (v < 0) throw fw::EConvertError("negative");
        strict_ = v;
    }
    TTestFont* Font() const { return font_.get(); }
    void SetFont(TTestFont* v) { font_->Assign(v); }
    fw::TStringList* Items() const { return items_.get(); }
    void SetItems(fw::TStringList* v) { items_->Assign(v); }
    fw::TCollection* Columns() const { return columns_.get(); }
    void SetColumns(fw::TCollection* v) { columns_->Assign(v); }
    fw::TComponent* Link() const { return link_; }
    void SetLink(fw::TComponent* v) { link_ = v; }
    TTestControl* Buddy() const { return buddy_; }
    void SetBuddy(TTestControl* v) { buddy_ = v; }

    fw::TNotifyEvent OnClick;

protected:
    ~TTestControl() override = default;

private:
    int number_ = 0;
    int64_t big_ = 0;
    char letter_ = 'a';
    float single_ = 0;
    double double_ = 0;
    long double extended_ = 0;
    std::string text_;
    bool checked_ = false;
    TTestKind kind_ = TTestKind::bkRect;
    TTestStyles style_;
    int strict_ = 0;
    std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
    std::unique_ptr<fw::TStringList> items_;
    std::unique_ptr<fw::TCollection> columns_;
    fw::TComponent* link_ = nullptr;
    TTestControl* buddy_ = nullptr;
};

class TTestForm : public fw::TComponent {
public:
    using TComponent::TComponent;

protected:
    ~TTestForm() override = default;
};

inline void RegisterTestClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TTestKind>({"bkRect", "bkRoundRect", "bkEllipse"}, "TTestKind");
    fw::RegisterEnum<TTestStyle>({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, "TTestStyle");
    fw::RegisterEnum<TTestPitch>({"fpDefault", "fpVariable", "fpFixed"}, "TTestPitch");
    fw::Class<TTestFont, fw::TPersistent>("TTestFont")
        .Prop("Charset", &TTestFont::Charset, &TTestFont::SetCharset)
        .Prop("Color", &TTestFont::Color, &TTestFont::SetColor)
        .Prop("Height", &TTestFont::Height, &TTestFont::SetHeight)
        .Prop("Name", &TTestFont::Name, &TTestFont::SetName)
        .Prop("Pitch", &TTestFont::Pitch, &TTestFont::SetPitch)
        .Prop("Size", &TTestFont::Size, &TTestFont::SetSize)
        .Prop("Style", &TTestFont::Style, &TTestFont::SetStyle);
    fw::Class<TTestColumn, fw::TCollectionItem>("TTestColumn")
        .Prop("Width", &TTestColumn::Width, &TTestColumn::SetWidth)
        .Prop("Caption", &TTestColumn::Caption, &TTestColumn::SetCaption);
    fw::Class<TTestControl, fw::TComponent>("TTestControl")
        .Prop("Number", &TTestControl::Number, &TTestControl::SetNumber)
        .Prop("Big", &TTestControl::Big, &TTestControl::SetBig)
        .Prop("Letter", &TTestControl::Letter, &TTestControl::SetLetter)
        .Prop("Single", &TTestControl::Single, &TTestControl::SetSingle)
        .Prop("Double", &TTestControl::Double, &TTestControl::SetDouble)
        .Prop("Extended", &TTestControl::Extended, &TTestControl::SetExtended)
        .Prop("Text", &TTestControl::Text, &TTestControl::SetText)
        .Prop("Checked", &TTestControl::Checked, &TTestControl::SetChecked)
        .Prop("Kind", &TTestControl::Kind, &TTestControl::SetKind)
        .Prop("Style", &TTestControl::Style, &TTestControl::SetStyle)
        .Prop("Strict", &TTestControl::Strict, &TTestControl::SetStrict)
        .Prop("Font", &TTestControl::Font, &TTestControl::SetFont)
        .Prop("Items", &TTestControl::Items, &TTestControl::SetItems)
        .Prop("Columns", &TTestControl::Columns, &TTestControl::SetColumns)
        .Prop("Link", &TTestControl::Link, &TTestControl::SetLink)
        .Prop("Buddy", &TTestControl::Buddy, &TTestControl::SetBuddy)
        .Event("OnClick", &TTestControl::OnClick);
    fw::Class<TTestForm, fw::TComponent>("TTestForm");
}

// Sections and values by name, ignoring case, as the registry keeps them.
class MemStore {
public:
    struct Less {
        bool operator()(const std::string& a, const std::string& b) const { return fw::CompareText(a, b) < 0; }
    };
    using Section = std::map<std::string, std::string, Less>;
    std::map<std::string, Section, Less> sections;
    int reads = 0;

    void Attach(TPropsStorage& storage) {
        storage.OnReadString = [this](const std::string& s, const std::string& i, const std::string& d) {
            ++reads;
            const auto sec = sections.find(s);
            if (sec == sections.end()) return d;
            const auto val = sec->second.find(i);
            return val == sec->second.end() ? d : val->second;
        };
        storage.OnWriteString = [this](const std::string& s, const std::string& i, const std::string& v) {
            sections[s][i] = v;
        };
        storage.OnEraseSection = [this](const std::string& s) { sections.erase(s); };
    }
    // The value, or "<none>".
    std::string Get(const std::string& section, const std::string& ident) const {
        const auto sec = sections.find(section);
        if (sec == sections.end()) return "<none>";
        const auto val = sec->second.find(ident);
        return val == sec->second.end() ? "<none>" : val->second;
    }
};

}  // namespace uis::test
