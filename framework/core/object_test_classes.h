// Component classes shared by the object-model tests and the form-text fuzz target: one widget that
// publishes every kind of value, a form that owns widgets and handlers, and a recording widget that logs
// each step of a load.
#pragma once

#include <string>
#include <vector>

#include "framework/core/filer.h"
#include "framework/core/formtext.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/core/streams.h"

namespace fwtest {

using namespace fw;

enum class TMode { mdNone, mdFast, mdSafe };
enum class TOption { opHidden, opSystem, opArchive, opDirectory };
using TOptions = Set<TOption>;

inline const IdentTable& ColorIdents() {
    static const IdentTable table{{{"clBlack", 0}, {"clRed", 0xFF}, {"clWindow", int32_t(0x80000005)}}, true};
    return table;
}

// A sub-object reached by dotted paths ("Font.Name").
class TTestFont : public TPersistent {
public:
    explicit TTestFont(TPersistent* owner) : owner_(owner) {}
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    TPersistent* GetOwner() override { return owner_; }
    void Assign(TPersistent* source) override {
        if (auto* f = dynamic_cast<TTestFont*>(source)) {
            name_ = f->name_;
            height_ = f->height_;
            return;
        }
        TPersistent::Assign(source);
    }

private:
    TPersistent* owner_;
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
};

class TTestColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }

private:
    std::string caption_;
    int width_ = 50;
};

class TWidget : public TComponent {
public:
    explicit TWidget(TComponent* owner)
        : TComponent(owner), font_(this), columns_(&TCollection::MakeItem<TTestColumn>, this) {}

    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    int Color() const { return color_; }
    void SetColor(int v) { color_ = v; }
    int64_t Big() const { return big_; }
    void SetBig(int64_t v) { big_ = v; }
    char Letter() const { return letter_; }
    void SetLetter(char v) { letter_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    TMode Mode() const { return mode_; }
    void SetMode(TMode v) { mode_ = v; }
    bool Active() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    TOptions Options() const { return options_; }
    void SetOptions(TOptions v) { options_ = v; }
    bool Attr(int index) const { return (attrs_ >> index) & 1; }
    void SetAttr(int index, bool v) { attrs_ = v ? (attrs_ | (1u << index)) : (attrs_ & ~(1u << index)); }
    TTestFont* Font() const { return const_cast<TTestFont*>(&font_); }
    TStringList* Lines() const { return const_cast<TStringList*>(&lines_); }
    TCollection* Columns() const { return const_cast<TCollection*>(&columns_); }
    TWidget* Buddy() const { return buddy_; }
    void SetBuddy(TWidget* v) {
        if (buddy_ == v) return;
        if (buddy_) buddy_->RemoveFreeNotification(this);
        buddy_ = v;
        if (buddy_) buddy_->FreeNotification(this);
    }
    const std::string& Data() const { return data_; }
    void SetData(const std::string& v) { data_ = v; }
    int Internal() const { return internal_; }
    void SetInternal(int v) { internal_ = v; }
    // Read-only and different in every instance: never written.
    int Serial() const { return serial_; }

    Event<void(TObject* Sender)> OnChange;
    Event<void(TObject* Sender, const std::string& FileName, int& Action)> OnProgress;

    void DefineProperties(TFiler& filer) override {
        TComponent::DefineProperties(filer);
        filer.DefineBinaryProperty(
            "Data",
            [this](TStream& s) { data_ = s.ReadString(s.Size() - s.Position()); },
            [this](TStream& s) { s.WriteString(data_); }, !data_.empty());
        filer.DefineProperty(
            "Internal", [this](TReader& r) { internal_ = r.ReadInteger(); },
            [this](TWriter& w) { w.WriteInteger(internal_); }, internal_ != 0);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == buddy_) buddy_ = nullptr;
    }

private:
    int count_ = 5;
    int color_ = 0;
    int64_t big_ = 0;
    char letter_ = 'A';
    double ratio_ = 0;
    std::string caption_;
    TMode mode_ = TMode::mdNone;
    bool active_ = false;
    TOptions options_;
    unsigned attrs_ = 0;
    TTestFont font_;
    TStringList lines_;
    TCollection columns_;
    TWidget* buddy_ = nullptr;
    std::string data_;
    int internal_ = 0;
    int serial_ = NextSerial();
    static int NextSerial() {
        static int serial = 0;
        return ++serial;
    }
};

// A root like a form: owns its widgets, publishes handlers and fields, lists its children for writing.
class TTestForm : public TComponent {
public:
    explicit TTestForm(TComponent* owner) : TComponent(owner) { ++Live(); }

    static int& Live() {
        static int live = 0;
        return live;
    }

    TWidget* Widget1 = nullptr;
    TWidget* Widget2 = nullptr;
    std::vector<std::string> calls;
    bool created = false;

    void WidgetChange(TObject* Sender) { calls.push_back("change " + static_cast<TComponent*>(Sender)->Name()); }
    void WidgetProgress(TObject* Sender, const std::string& FileName, int& Action) {
        calls.push_back("progress " + FileName);
        Action = 7;
    }
    void WrongShape(TObject* Sender, int Value) {}

    void GetChildren(ChildProc proc, void* context, TComponent* root) override {
        for (int i = 0; i < ComponentCount(); ++i) proc(context, Components(i));
    }
    void DoCreate() override { created = true; }

protected:
    ~TTestForm() override { --Live(); }
};

// Re-declares Caption as a string list (a name with another kind in a subclass).
class TListWidget : public TWidget {
public:
    using TWidget::TWidget;
    TStringList* CaptionList() const { return const_cast<TStringList*>(&captionList_); }

private:
    TStringList captionList_;
};

// Settles a name clash itself: the component already holding the name is renamed first.
class TClashWidget : public TWidget {
public:
    using TWidget::TWidget;
    void SetName(const std::string& newName) override {
        if (Owner() && InState(csLoading)) {
            TComponent* other = Owner()->FindComponent(newName);
            if (other && other != this) {
                int n = 1;
                while (Owner()->FindComponent("nameClash" + std::to_string(n))) ++n;
                other->SetName("nameClash" + std::to_string(n));
            }
        }
        TComponent::SetName(newName);
    }
};

// Logs every step of a load into a shared log.
inline std::vector<std::string>& LoadLog() {
    static std::vector<std::string> log;
    return log;
}

class TLogWidget : public TComponent {
public:
    using TComponent::TComponent;
    int Value() const { return value_; }
    void SetValue(int v) {
        value_ = v;
        LoadLog().push_back("set " + Name() + ".Value=" + std::to_string(v) + (InState(csLoading) ? " loading" : ""));
    }
    TLogWidget* Link() const { return link_; }
    void SetLink(TLogWidget* v) {
        link_ = v;
        LoadLog().push_back("fixup " + Name() + ".Link=" + (v ? v->Name() : "nil"));
    }
    void ReadState(TReader& reader) override {
        LoadLog().push_back("ReadState begin " + reader.Owner()->Name() + "/" + ClassName());
        TComponent::ReadState(reader);
        LoadLog().push_back("ReadState end " + Name());
    }
    void Loaded() override {
        std::string states;
        for (int i = 0; i < Owner()->ComponentCount(); ++i)
            states += Owner()->Components(i)->InState(csLoading) ? "L" : "-";
        TComponent::Loaded();
        LoadLog().push_back("Loaded " + Name() + " " + states + (InState(csLoading) ? " still" : ""));
        if (value_ < 0) throw EInvalidOperation("negative value");
    }

private:
    int value_ = 0;
    TLogWidget* link_ = nullptr;
};

class TLogForm : public TTestForm {
public:
    using TTestForm::TTestForm;
    int Value() const { return value_; }
    void SetValue(int v) {
        value_ = v;
        LoadLog().push_back("set root.Value=" + std::to_string(v) + (InState(csReading) ? " reading" : ""));
    }
    void ReadState(TReader& reader) override {
        LoadLog().push_back("ReadState begin root");
        TComponent::ReadState(reader);
        LoadLog().push_back("ReadState end root");
    }
    void Loaded() override {
        TComponent::Loaded();
        LoadLog().push_back("Loaded root");
    }
    void DoCreate() override { LoadLog().push_back("OnCreate"); }

private:
    int value_ = 0;
};

inline void RegisterTestClasses() {
    fw::RegisterClasses();
    RegisterEnum<TMode>({"mdNone", "mdFast", "mdSafe"}, "TMode");
    RegisterEnum<TOption>({"opHidden", "opSystem", "opArchive", "opDirectory"}, "TOption");
    Class<TTestFont, TPersistent>("TTestFont")
        .Prop("Name", &TTestFont::Name, &TTestFont::SetName)
        .Prop("Height", &TTestFont::Height, &TTestFont::SetHeight);
    Class<TTestColumn, TCollectionItem>("TTestColumn")
        .Prop("Caption", &TTestColumn::Caption, &TTestColumn::SetCaption)
        .Prop("Width", &TTestColumn::Width, &TTestColumn::SetWidth);
    Class<TWidget, TComponent>("TWidget")
        .Prop("Count", &TWidget::Count, &TWidget::SetCount)
        .Prop("Color", &TWidget::Color, &TWidget::SetColor)
        .Idents(ColorIdents())
        .Prop("Big", &TWidget::Big, &TWidget::SetBig)
        .Prop("Letter", &TWidget::Letter, &TWidget::SetLetter)
        .Prop("Ratio", &TWidget::Ratio, &TWidget::SetRatio)
        .Prop("Caption", &TWidget::Caption, &TWidget::SetCaption)
        .Prop("Mode", &TWidget::Mode, &TWidget::SetMode)
        .Prop("Active", &TWidget::Active, &TWidget::SetActive)
        .Prop("Options", &TWidget::Options, &TWidget::SetOptions)
        .Prop("ftHidden", 0, &TWidget::Attr, &TWidget::SetAttr)
        .Prop("ftArchive", 2, &TWidget::Attr, &TWidget::SetAttr)
        .Prop("Serial", &TWidget::Serial)
        .Prop("Font", &TWidget::Font)
        .Prop("Lines", &TWidget::Lines)
        .Prop("Columns", &TWidget::Columns)
        .Prop("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
        .Event("OnChange", &TWidget::OnChange)
        .Event("OnProgress", &TWidget::OnProgress);
    Class<TListWidget, TWidget>("TListWidget").Prop("Caption", &TListWidget::CaptionList);
    Class<TClashWidget, TWidget>("TClashWidget");
    Class<TTestForm, TComponent>("TTestForm")
        .Field("Widget1", &TTestForm::Widget1)
        .Field("Widget2", &TTestForm::Widget2)
        .Method("WidgetChange", &TTestForm::WidgetChange)
        .Method("WidgetProgress", &TTestForm::WidgetProgress)
        .Method("WrongShape", &TTestForm::WrongShape);
    Class<TLogWidget, TComponent>("TLogWidget")
        .Prop("Value", &TLogWidget::Value, &TLogWidget::SetValue)
        .Prop("Link", &TLogWidget::Link, &TLogWidget::SetLink);
    Class<TLogForm, TTestForm>("TLogForm").Prop("Value", &TLogForm::Value, &TLogForm::SetValue);
}

// A new root of class T, owned by nobody.
template <class T>
T* NewRoot() {
    return Make<T>(nullptr);
}

}  // namespace fwtest
