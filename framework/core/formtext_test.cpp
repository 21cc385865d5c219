// Form text: round trip, the load protocol, load and syntax errors, references, the writer's omissions.
#include "framework/core/formtext.h"

#include <gtest/gtest.h>

#include "framework/core/object_test_classes.h"
#include "framework/core/platform.h"
#include "testing/test_env.h"

namespace {

using namespace fwtest;

class FormText : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        LoadLog().clear();
    }
};

const char* kEveryKind = R"(object Main: TTestForm
  Tag = $7F
  // a comment line
  object Widget1: TWidget
    Count = -42
    Color = $80000005
    Big = 1234567890123
    Letter = 'q'
    Ratio = 0.30000000000000004
    Caption = 'It''s'#13#10'two lines' +
      ' and more'
    Mode = mdSafe
    Active = True
    Options = [opHidden, opDirectory]
    ftArchive = True
    Font.Name = 'Arial'
    Font.Height = -13
    Lines = (
      'one'
      ''
      'three')
    Columns = <
      item
        Caption = 'Name'
        Width = 160
      end
      item
      end>
    Buddy = Widget2
    OnChange = WidgetChange
    OnProgress = WidgetProgress
    Data = {
      00FF10 20}
    Internal = 77
  end
  object Widget2: TWidget
    Color = clRed
    Buddy = Other.Far
  end
end
)";

TEST_F(FormText, EveryValueKindRoundTrips) {
    auto* other = NewRoot<TTestForm>();
    ReadComponentText(other, "object Other: TTestForm\n object Far: TWidget\n end\nend\n", "Other");
    auto* form = NewRoot<TTestForm>();
    ReadComponentText(form, kEveryKind, "Main");
    ASSERT_NE(form->Widget1, nullptr);
    TWidget* w = form->Widget1;
    EXPECT_EQ(form->Tag(), 127);
    EXPECT_EQ(w->Count(), -42);
    EXPECT_EQ(w->Color(), int32_t(0x80000005));
    EXPECT_EQ(w->Big(), 1234567890123);
    EXPECT_EQ(w->Letter(), 'q');
    EXPECT_EQ(w->Ratio(), 0.1 + 0.2);
    EXPECT_EQ(w->Caption(), "It's\r\ntwo lines and more");
    EXPECT_EQ(w->Mode(), TMode::mdSafe);
    EXPECT_TRUE(w->Active());
    EXPECT_EQ(w->Options(), (TOptions{TOption::opHidden, TOption::opDirectory}));
    EXPECT_TRUE(w->Attr(2));
    EXPECT_EQ(w->Font()->Name(), "Arial");
    EXPECT_EQ(w->Font()->Height(), -13);
    EXPECT_EQ(w->Lines()->Text(), "one\r\n\r\nthree\r\n");
    ASSERT_EQ(w->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TTestColumn*>(w->Columns()->Items(0))->Width(), 160);
    EXPECT_EQ(w->Buddy(), form->Widget2);  // a forward reference
    EXPECT_EQ(form->Widget2->Buddy(), other->FindComponent("Far"));
    EXPECT_EQ(w->Data(), std::string("\x00\xFF\x10\x20", 4));
    EXPECT_EQ(w->Internal(), 77);
    int action = 0;
    w->OnProgress(w, "f", action);
    EXPECT_EQ(action, 7);
    EXPECT_TRUE(form->created);

    std::string first = WriteComponentText(form);
    auto* again = NewRoot<TTestForm>();
    ReadComponentText(again, first, "Main");
    std::string second = WriteComponentText(again);
    EXPECT_EQ(first, second);
    // Every value that differs from a fresh widget is in the text.
    for (const char* piece : {"Count = -42", "Color = clWindow", "Letter = 'q'", "Ratio = 0.30000000000000004",
                              "Caption = 'It''s'#13#10'two lines and more'", "Options = [opHidden, opDirectory]",
                              "Font.Name = 'Arial'", "Buddy = Widget2", "Buddy = Other.Far", "OnProgress = WidgetProgress",
                              "Data = {\n      00FF1020}", "Internal = 77", "Color = clRed", "ftArchive = True"})
        EXPECT_NE(first.find(piece), std::string::npos) << piece << "\n" << first;
    again->Free();
    form->Free();
    other->Free();
}

TEST_F(FormText, WriterOmitsExactlyTheFreshValues) {
    auto* form = NewRoot<TTestForm>();
    form->SetName("F");
    auto* w = Make<TWidget>(form);
    w->SetName("W");
    w->SetCount(5);      // the constructor's value: omitted
    w->SetLetter('A');   // idem
    w->SetColor(0);      // idem, although it has an identifier
    w->Font()->SetHeight(-11);
    w->SetRatio(-0.0 + 2.5);
    w->SetCaption("");   // equal to a fresh one
    w->Lines()->Add("x");
    std::string text = WriteComponentText(form);
    EXPECT_EQ(text,
              "object F: TTestForm\n"
              "  object W: TWidget\n"
              "    Ratio = 2.5\n"
              "    Lines = (\n"
              "      'x')\n"
              "  end\n"
              "end\n");
    w->SetCount(0);  // now differs from the fresh 5
    EXPECT_NE(WriteComponentText(form).find("Count = 0"), std::string::npos);
    Make<TWidget>(form);  // nameless: no text could hold it
    EXPECT_THROW(WriteComponentText(form), EWriteError);
    form->Free();
}

TEST_F(FormText, LoadProtocolRunsInItsFixedOrder) {
    auto* form = NewRoot<TLogForm>();
    ReadComponentText(form,
                      "object Root: TLogForm\n"
                      "  Value = 1\n"
                      "  object A: TLogWidget\n"
                      "    Value = 2\n"
                      "    Link = B\n"
                      "  end\n"
                      "  object B: TLogWidget\n"
                      "    Link = A\n"
                      "    Value = 3\n"
                      "  end\n"
                      "end\n",
                      "Root");
    std::vector<std::string> expected = {
        "ReadState begin root",
        "set root.Value=1 reading",
        "ReadState begin Root/TLogWidget",  // created, named and owned by the root before its state is read
        "set A.Value=2 loading",
        "ReadState end A",
        "ReadState begin Root/TLogWidget",
        "set B.Value=3 loading",
        "ReadState end B",
        "ReadState end root",
        "fixup A.Link=B",  // references after the whole root, in text order
        "fixup B.Link=A",
        "Loaded root",
        "Loaded A LL",  // each Loaded clears only its own csLoading
        "Loaded B -L",
        "OnCreate",
    };
    EXPECT_EQ(LoadLog(), expected);
    EXPECT_FALSE(form->InState(csLoading | csReading));
    // Components made by code never get Loaded.
    LoadLog().clear();
    auto* byCode = Make<TLogWidget>(form);
    byCode->SetName("C");
    EXPECT_TRUE(LoadLog().empty());
    form->Free();
}

// Read for its layout only: everything but OnCreate.
TEST_F(FormText, ALoadWithoutCreateLeavesOutOnlyOnCreate) {
    auto* form = NewRoot<TLogForm>();
    ReadComponentText(form, "object Root: TLogForm\n  object A: TLogWidget\n  end\nend\n", "Root", false);
    ASSERT_FALSE(LoadLog().empty());
    EXPECT_EQ(LoadLog().back(), "Loaded A L") << "the last step: OnCreate would follow";
    EXPECT_FALSE(form->InState(csLoading | csReading));
    form->Free();
}

TEST_F(FormText, EachLoadErrorNamesFormLineAndFreesTheRoot) {
    struct Case {
        const char* name;
        const char* body;  // the lines after "object Main: TTestForm"
        const char* want;
    } cases[] = {
        {"unknown class", "  object X: TNoSuch\n  end\nend\n", "line 2: Class TNoSuch not found"},
        {"unknown property", "  object W: TWidget\n    Count = 1\n    Colour = 2\n  end\nend\n",
         "line 4, property Colour: Property Colour does not exist"},
        {"unknown dotted part", "  object W: TWidget\n    Font.Size = 2\n  end\nend\n",
         "line 3, property Font.Size: Property Size does not exist"},
        {"missing handler", "  object W: TWidget\n    OnChange = NoSuchHandler\n  end\nend\n",
         "line 3, property OnChange: Handler NoSuchHandler not found"},
        {"wrong handler signature", "  object W: TWidget\n\n    OnChange = WrongShape\n  end\nend\n",
         "line 4, property OnChange: Handler WrongShape does not match the signature of OnChange"},
        {"duplicate name", "  object W: TWidget\n  end\n  object w: TWidget\n  end\nend\n",
         "line 4: A component named w already exists"},
        {"unresolved local reference", "  object W: TWidget\n    Buddy = Nobody\n  end\nend\n",
         "line 3, property Buddy: Component Nobody not found"},
        {"wrong value kind", "  object W: TWidget\n    Count = 'x'\n  end\nend\n",
         "line 3, property Count: Property Count needs an integer"},
        {"field of another class", "  object Widget1: TTestForm\n  end\nend\n",
         "line 2: Field Widget1 is a TWidget, not a TTestForm"},
        {"out of range", "  object W: TWidget\n    Count = 4294967296\n  end\nend\n", "line 3, property Count"},
        {"bad enum", "  object W: TWidget\n    Mode = mdNone\n    Mode = mdOther\n  end\nend\n",
         "line 4, property Mode: Invalid value mdOther for Mode"},
        {"collection item property", "  object W: TWidget\n    Columns = <\n      item\n        Wide = 1\n      end>\n  end\nend\n",
         "line 5, property Columns[0].Wide: Property Wide does not exist"},
        {"raising Loaded", "  object W: TLogWidget\n    Value = -1\n  end\nend\n", "line 2: negative value"},
        {"raising setter", "  object W: TWidget\n    Lines = ('a')\n    Font = ('x')\n  end\nend\n",
         "line 4, property Font: Property Font needs something other than a string list"},
        {"defined property of wrong kind", "  object W: TWidget\n    Internal = 'x'\n  end\nend\n",
         "line 3, property Internal: Property Internal needs an integer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int live = TTestForm::Live();
        auto* form = NewRoot<TTestForm>();
        try {
            ReadComponentText(form, std::string("object Main: TTestForm\n") + c.body, "frmMain");
            ADD_FAILURE() << "loaded";
            form->Free();
        } catch (const Exception& e) {
            std::string want = std::string("Error loading form frmMain at ") + c.want;
            EXPECT_EQ(e.Message().substr(0, want.size()), want) << e.Message();
        }
        EXPECT_EQ(TTestForm::Live(), live);  // the partial root is gone
    }
}

TEST_F(FormText, ANameClashSettledBySetNameLoads) {
    auto* form = NewRoot<TTestForm>();
    auto* created = Make<TWidget>(form);
    created->SetName("Spec");
    ReadComponentText(form, "object F: TTestForm\n  object Spec: TClashWidget\n    Count = 9\n  end\nend\n", "F");
    auto* streamed = form->FindComponent("Spec");
    ASSERT_NE(streamed, nullptr);
    EXPECT_EQ(streamed->ClassName(), "TClashWidget");
    EXPECT_EQ(created->Name(), "nameClash1");
    form->Free();
}

TEST_F(FormText, CrossRootReferenceWaitsForItsRoot) {
    auto* first = NewRoot<TTestForm>();
    ReadComponentText(first, "object First: TTestForm\n object Widget1: TWidget\n Buddy = Later.Target\n end\nend\n",
                      "First");
    EXPECT_EQ(first->Widget1->Buddy(), nullptr);
    auto* later = NewRoot<TTestForm>();
    ReadComponentText(later, "object Later: TTestForm\n object Target: TWidget\n end\nend\n", "Later");
    EXPECT_EQ(first->Widget1->Buddy(), later->FindComponent("Target"));
    later->Free();  // the reference is cleared by free notification
    EXPECT_EQ(first->Widget1->Buddy(), nullptr);
    // A waiting reference of a freed root is dropped, not set into freed memory.
    auto* gone = NewRoot<TTestForm>();
    ReadComponentText(gone, "object Gone: TTestForm\n object Widget1: TWidget\n Buddy = Late2.T\n end\nend\n", "Gone");
    gone->Free();
    auto* late2 = NewRoot<TTestForm>();
    ReadComponentText(late2, "object Late2: TTestForm\n object T: TWidget\n end\nend\n", "Late2");
    late2->Free();
    first->Free();
}

TEST_F(FormText, DamagedTextNamesLineAndColumn) {
    struct Case {
        const char* text;
        const char* want;
    } cases[] = {
        {"", "line 1, column 1: 'object' expected but end of text found"},
        {"object A: TTestForm\n  Caption = 'open\nend\n", "line 2, column 13: unterminated string"},
        {"object A: TTestForm\n  Tag = \nend\n", "line 3, column 1: value expected but 'end' found"},
        {"object A TTestForm\nend\n", "line 1, column 10: ':' expected but 'TTestForm' found"},
        {"object A: TTestForm\n  Data = {0G}\nend\n", "line 2, column 12: hexadecimal digit expected"},
        {"object A: TTestForm\n  Data = {012}\nend\n", "line 2, column 10: odd number of hexadecimal digits"},
        {"object A: TTestForm\n  S = #300\nend\n", "line 2, column 7: character code 0..255 expected"},
        {"object A: TTestForm\n  N = 99999999999999999999\nend\n", "line 2, column 7: number too large"},
        {"object A: TTestForm\nend\nx", "line 3, column 1: end of text expected"},
        {"object A: TTestForm\n  P = @file('x.bmp')\nend\n", "line 2, column 7: @file must be expanded by formpack first"},
        {"object A: TTestForm\r  L = ('a' 5)\rend\r", "line 2, column 12: string or ')' expected but a value found"},
        {"object A: TTestForm\n  object B: TWidget\n", "line 3, column 1: 'end' expected but end of text found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int live = TTestForm::Live();
        auto* form = NewRoot<TTestForm>();
        try {
            ReadComponentText(form, c.text, "frmBad");
            ADD_FAILURE() << "parsed";
            form->Free();
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), std::string("Error in form frmBad at ") + c.want);
        }
        EXPECT_EQ(TTestForm::Live(), live);
    }
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "object A: TWidget\n";
    EXPECT_THROW(ParseFormText(deep, "deep"), EParserError);
}

TEST_F(FormText, FormResourceIsFoundByClassName) {
    std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/TTESTFORM", "object frmRes: TTestForm\n  object Widget1: TWidget\n  end\nend\n");
    SetResources(&TableResources());
    SetRcDataFolder(dir);
    auto* form = NewRoot<TTestForm>();
    EXPECT_TRUE(ReadComponentResource(form));
    EXPECT_EQ(form->Name(), "frmRes");
    EXPECT_NE(form->Widget1, nullptr);
    auto* log = NewRoot<TLogForm>();
    EXPECT_FALSE(ReadComponentResource(log));  // no TLOGFORM
    SetRcDataFolder("");
    SetResources(nullptr);
    log->Free();
    form->Free();
}

TEST_F(FormText, SourceFileReferencesParseForFormpack) {
    FormObject tree = ParseFormText("object A: TTestForm\n  Glyph.Data = @lenfile('a.bmp')\nend\n", "A", true);
    ASSERT_EQ(tree.properties.size(), 1u);
    EXPECT_EQ(tree.properties[0].value.kind, FormValue::Kind::FileRef);
    EXPECT_TRUE(tree.properties[0].value.lengthPrefixed);
    EXPECT_EQ(FormatFormText(tree), "object A: TTestForm\n  Glyph.Data = @lenfile('a.bmp')\nend\n");
}

// A container whose nested objects are owned by it and attach to it through Reader.Parent().
class TNode : public TComponent {
public:
    using TComponent::TComponent;
    TNode* parentNode = nullptr;
    std::vector<TNode*> kids;
    int Value() const { return value_; }
    void SetValue(int v) { value_ = v; }

    void ReadState(TReader& reader) override {
        parentNode = dynamic_cast<TNode*>(reader.Parent());
        if (parentNode) parentNode->kids.push_back(this);
        TComponent::ReadState(reader);
    }
    TComponent* GetChildOwner() override { return this; }
    void GetChildren(ChildProc proc, void* context, TComponent* root) override {
        for (TNode* kid : kids) proc(context, kid);
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) std::erase(kids, c);
    }

private:
    int value_ = 0;
};

TEST_F(FormText, NestedObjectsFollowChildOwnerAndParent) {
    Class<TNode, TComponent>("TNode").Prop("Value", &TNode::Value, &TNode::SetValue);
    const char* text =
        "object F: TTestForm\n"
        "  object Group: TNode\n"
        "    Value = 1\n"
        "    object Leaf1: TNode\n"
        "      Value = 2\n"
        "      object Deep: TNode\n"
        "        Value = 4\n"
        "      end\n"
        "    end\n"
        "    object Leaf2: TNode\n"
        "      Value = 3\n"
        "    end\n"
        "  end\n"
        "end\n";
    auto* form = NewRoot<TTestForm>();
    ReadComponentText(form, text, "F");
    auto* group = static_cast<TNode*>(form->FindComponent("Group"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);
    ASSERT_EQ(group->kids.size(), 2u);
    EXPECT_EQ(group->kids[1]->Name(), "Leaf2");
    EXPECT_EQ(group->kids[0]->Owner(), group);
    ASSERT_EQ(group->kids[0]->kids.size(), 1u);
    EXPECT_EQ(group->kids[0]->kids[0]->Owner(), group->kids[0]);
    EXPECT_EQ(WriteComponentText(form), text);
    form->Free();
}

}  // namespace
