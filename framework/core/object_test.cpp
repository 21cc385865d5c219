// Ownership, naming, notifications and destruction order of components; events; reflection.
#include "framework/core/object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/object_test_classes.h"

namespace {

using namespace fwtest;

std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

// Records its own destruction and the notifications it hears.
class TTraced : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* watched = nullptr;

protected:
    void BeforeDestruction() override {
        Trace().push_back("free " + Name());
        TComponent::BeforeDestruction();
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opInsert) Trace().push_back(Name() + " hears insert of " + c->ClassName());
        if (op == opRemove && c == watched) {
            Trace().push_back(Name() + " drops " + c->Name());
            watched = nullptr;
        }
    }
};

class ObjectModel : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Class<TTraced, TComponent>("TTraced");
        Trace().clear();
    }
};

TEST_F(ObjectModel, OwnerFreesItsComponentsInReverseCreationOrder) {
    auto* owner = Make<TTraced>(nullptr);
    owner->SetName("owner");
    for (const char* name : {"a", "b", "c"}) Make<TTraced>(owner)->SetName(name);
    auto* c = owner->FindComponent("C");  // names ignore case
    ASSERT_NE(c, nullptr);
    Make<TTraced>(c)->SetName("c1");
    Trace().clear();
    owner->Free();
    std::vector<std::string> expected = {"free owner", "free c", "free c1", "free b", "free a"};
    EXPECT_EQ(Trace(), expected);
}

TEST_F(ObjectModel, FreeNotificationClearsReferencesAcrossOwners) {
    auto* form1 = Make<TTestForm>(nullptr);
    auto* form2 = Make<TTestForm>(nullptr);
    auto* source = Make<TWidget>(form1);
    auto* target = Make<TWidget>(form2);
    source->SetBuddy(target);
    target->SetBuddy(source);
    form2->Free();  // target dies: source must forget it (ASan catches a dangling read)
    EXPECT_EQ(source->Buddy(), nullptr);
    EXPECT_EQ(source->Count(), 5);
    auto* other = Make<TWidget>(form1);
    other->SetBuddy(source);
    source->Free();
    EXPECT_EQ(other->Buddy(), nullptr);
    EXPECT_EQ(form1->ComponentCount(), 1);
    form1->Free();
}

TEST_F(ObjectModel, InsertAndRemoveReachTheOwnerAndItsComponents) {
    auto* owner = Make<TTraced>(nullptr);
    owner->SetName("owner");
    auto* sibling = Make<TTraced>(owner);
    sibling->SetName("sibling");
    Trace().clear();
    auto* added = Make<TWidget>(owner);  // opInsert sees the finished class
    std::vector<std::string> expected = {"sibling hears insert of TWidget", "owner hears insert of TWidget"};
    EXPECT_EQ(Trace(), expected);
    sibling->watched = added;
    added->SetName("added");
    Trace().clear();
    added->Free();
    expected = {"sibling drops added"};
    EXPECT_EQ(Trace(), expected);
    owner->Free();
}

TEST_F(ObjectModel, NamesAreUniquePerOwnerIgnoringCase) {
    auto* form = Make<TTestForm>(nullptr);
    auto* a = Make<TWidget>(form);
    a->SetName("Widget1");
    EXPECT_EQ(form->Widget1, a);  // the form's field follows the name
    auto* b = Make<TWidget>(form);
    try {
        b->SetName("WIDGET1");
        FAIL() << "duplicate name accepted";
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named WIDGET1 already exists");
    }
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    a->SetName("widget1");  // a new spelling of its own name is fine
    a->SetName("Other");
    EXPECT_EQ(form->Widget1, nullptr);
    b->SetName("Widget1");
    EXPECT_EQ(form->Widget1, b);
    b->Free();
    EXPECT_EQ(form->Widget1, nullptr);  // a freed component leaves no dangling field
    // Components in different owners may share a name.
    auto* form2 = Make<TTestForm>(nullptr);
    Make<TWidget>(form2)->SetName("Other");
    form2->Free();
    form->Free();
}

TEST_F(ObjectModel, AssignFallbackNamesBothClasses) {
    auto* form = Make<TTestForm>(nullptr);
    auto* w = Make<TWidget>(form);
    TStringList list;
    try {
        list.Assign(w);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TWidget to a TStringList");
    }
    try {
        w->Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TWidget");
    }
    EXPECT_TRUE(w->InheritsFrom("TComponent"));
    EXPECT_TRUE(w->InheritsFrom(ClassInfoOf<TPersistent>()));
    EXPECT_FALSE(w->InheritsFrom("TTestForm"));
    form->Free();
}

TEST_F(ObjectModel, EventsCompareByObjectAndMethod) {
    auto* form1 = Make<TTestForm>(nullptr);
    auto* form2 = Make<TTestForm>(nullptr);
    TNotifyEvent a(form1, &TTestForm::WidgetChange);
    TNotifyEvent b(form1, &TTestForm::WidgetChange);
    TNotifyEvent c(form2, &TTestForm::WidgetChange);
    TNotifyEvent none;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == none);
    EXPECT_TRUE(none == nullptr);

    // Keep the previous handler, install ours, call the kept one, put it back.
    auto* w = Make<TWidget>(form1);
    w->SetName("w");
    w->OnChange = a;
    TNotifyEvent kept = w->OnChange;
    int ours = 0;
    w->OnChange.Bind(&ours, [kept](void* ctx, TObject* sender) {
        ++*static_cast<int*>(ctx);
        kept(sender);
    });
    TNotifyEvent copy = w->OnChange;
    EXPECT_TRUE(copy == w->OnChange);
    EXPECT_FALSE(copy == kept);
    w->OnChange(w);
    EXPECT_EQ(ours, 1);
    ASSERT_EQ(form1->calls.size(), 1u);
    EXPECT_EQ(form1->calls[0], "change w");
    w->OnChange = kept;
    EXPECT_TRUE(w->OnChange == a);

    int action = 0;
    w->OnProgress.Bind(form1, &TTestForm::WidgetProgress);
    w->OnProgress(w, "a.txt", action);
    EXPECT_EQ(action, 7);  // var parameters come back
    form1->Free();
    form2->Free();
}

// ---- reflection ----------------------------------------------------------------------------------------

TEST_F(ObjectModel, RedeclaredNameResolvesPerClass) {
    auto* form = Make<TTestForm>(nullptr);
    auto* plain = Make<TWidget>(form);
    auto* listy = Make<TListWidget>(form);
    const PropInfo* p1 = FindProp(plain, "Caption");
    const PropInfo* p2 = FindProp(listy, "caption");
    ASSERT_TRUE(p1 && p2);
    EXPECT_EQ(p1->kind, TypeKind::String);
    EXPECT_EQ(p2->kind, TypeKind::Object);
    // The re-declared name keeps its ancestor's slot in the list.
    auto names = [](const std::vector<const PropInfo*>& list) {
        std::vector<std::string> out;
        for (auto* p : list) out.push_back(p->name + (p->kind == TypeKind::Object ? "*" : ""));
        return out;
    };
    auto plainList = names(GetPropList(plain));
    auto listyList = names(GetPropList(listy));
    ASSERT_EQ(plainList.size(), listyList.size());
    std::vector<std::string> head(plainList.begin(), plainList.begin() + 9);
    std::vector<std::string> want = {"Name", "Tag", "Count", "Color", "Big", "Letter", "Ratio", "Caption", "Mode"};
    EXPECT_EQ(head, want);
    EXPECT_EQ(listyList[7], "Caption*");
    // Form text sets each class's own kind.
    ReadComponentText(form, "object F: TTestForm\n object A: TWidget\n Caption = 'x'\n end\n"
                            " object B: TListWidget\n caption = ('l1' 'l2')\n end\nend\n", "F");
    EXPECT_EQ(static_cast<TWidget*>(form->FindComponent("A"))->Caption(), "x");
    EXPECT_EQ(static_cast<TListWidget*>(form->FindComponent("b"))->CaptionList()->Text(), "l1\r\nl2\r\n");
    form->Free();
}

TEST_F(ObjectModel, PropertyTextPerKind) {
    auto* form = Make<TTestForm>(nullptr);
    form->SetName("Main");
    auto* w = Make<TWidget>(form);
    w->SetName("w");
    auto* other = Make<TWidget>(form);
    other->SetName("w2");
    struct Case {
        const char* prop;
        const char* text;   // set as text
        const char* want;   // read back as text
    } cases[] = {
        {"Count", "-12", "-12"},
        {"count", "$10", "16"},
        {"Color", "clRed", "clRed"},
        {"Color", "$00123456", "$00123456"},
        {"Color", "$80000005", "clWindow"},
        {"Big", "-9000000000", "-9000000000"},
        {"Letter", "z", "z"},
        {"Ratio", "0.1", "0.1"},
        {"Ratio", "1e300", "1e+300"},
        {"Caption", "it's", "it's"},
        {"Mode", "MDSAFE", "mdSafe"},
        {"Active", "true", "True"},
        {"Options", "[opArchive, opHidden]", "[opHidden,opArchive]"},
        {"Options", "[]", "[]"},
        {"ftArchive", "True", "True"},
        {"ftHidden", "False", "False"},
        {"Buddy", "w2", "w2"},
        {"Buddy", "Main.w2", "w2"},
        {"OnChange", "WidgetChange", "WidgetChange"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prop) + " = " + c.text);
        const PropInfo* p = FindProp(w, c.prop);
        ASSERT_NE(p, nullptr);
        SetPropText(w, *p, c.text);
        EXPECT_EQ(GetPropText(w, *p), c.want);
    }
    EXPECT_TRUE(w->Attr(2));
    EXPECT_FALSE(w->Attr(0));
    const PropInfo* count = FindProp(w, "Count");
    EXPECT_THROW(SetPropText(w, *count, "12x"), EConvertError);
    EXPECT_THROW(SetPropText(w, *count, "99999999999"), EConvertError);
    EXPECT_THROW(SetPropText(w, *FindProp(w, "Mode"), "mdOther"), EConvertError);
    EXPECT_THROW(SetPropText(w, *FindProp(w, "Options"), "[opNone]"), EConvertError);
    EXPECT_THROW(SetPropText(w, *FindProp(w, "OnChange"), "WrongShape"), EPropertyError);
    EXPECT_THROW(SetPropText(w, *FindProp(w, "OnChange"), "Nowhere"), EPropertyError);
    EXPECT_THROW(GetClass("TNoSuchClass"), EClassNotFound);
    form->Free();
}

TEST_F(ObjectModel, CreationByClassName) {
    auto* form = Make<TTestForm>(nullptr);
    TComponent* c = GetClass("twidget").Create(form);
    EXPECT_EQ(c->ClassName(), "TWidget");
    EXPECT_EQ(c->Owner(), form);
    EXPECT_FALSE(GetClass("TStrings").CanCreate());
    form->Free();
}

}  // namespace
