#include "widgets/kvxcont.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "widgets/kvxlists.h"
#include "widgets/kvxregister.h"
#include "widgets/kvxstreams.h"

namespace kvx {
namespace {

class KVXContainers : public ::testing::Test {
protected:
    void SetUp() override { KVXRegisterClasses(); }
};

struct Log {
    int n = 0;
    std::vector<TObject*> senders;
    void Hook(TNotifyEvent& e) {
        e.Bind(this, [](void* p, TObject* s) {
            auto* l = static_cast<Log*>(p);
            ++l->n;
            l->senders.push_back(s);
        });
    }
};

TKVXStringListItem* AddStrings(TKVXStringList* list, const std::string& description, std::vector<std::string> lines) {
    auto* item = list->Item(list->AddItem());
    item->SetDescription(description);
    for (const auto& l : lines) item->Items()->Add(l);
    return item;
}

TEST_F(KVXContainers, ItemHeader) {
    auto* list = fw::Make<TKVXStringList>(nullptr);
    auto* item = list->Item(list->AddItem());
    item->SetDescription(std::string(300, 'd'));  // one length byte: cut to 255, not 300 mod 256
    item->SetIdent(0x1234);
    item->SetCompressed(true);
    fw::TMemoryStream s;
    item->SaveHeader(s);
    ASSERT_EQ(s.Size(), 1 + 1 + 255 + 4);
    EXPECT_EQ(s.Data()[0], kItemCompressed | kItemDescription | kItemIdent);
    EXPECT_EQ(s.Data()[1], 255);
    s.SetPosition(0);
    auto* other = list->Item(list->AddItem());
    EXPECT_EQ(other->LoadHeader(s), kItemCompressed | kItemDescription | kItemIdent);
    EXPECT_EQ(other->Description(), std::string(255, 'd'));
    EXPECT_EQ(other->Ident(), 0x1234);
    EXPECT_TRUE(other->Compressed());
    // Absent parts clear; a 32-bit ident is read back into 16 bits.
    fw::TMemoryStream t;
    t.WriteString(std::string("\x04\x78\x56\x34\x12", 5));
    t.SetPosition(0);
    other->LoadHeader(t);
    EXPECT_EQ(other->Description(), "");
    EXPECT_EQ(other->Ident(), 0x5678);
    EXPECT_FALSE(other->Compressed());
    list->Free();
}

TEST_F(KVXContainers, OffsetsPointAtItemHeaders) {
    auto* list = fw::Make<TKVXStringList>(nullptr);
    AddStrings(list, "first", {"a"});
    AddStrings(list, "second", {"b", "c"});
    AddStrings(list, "third", {});
    fw::TMemoryStream s;
    list->SaveToStream(s, true);
    s.SetPosition(0);
    EXPECT_EQ(KVXReadInteger(s), 3);
    std::vector<int32_t> offsets;
    for (int i = 0; i < 3; ++i) offsets.push_back(KVXReadInteger(s));
    EXPECT_EQ(offsets[0], 16);  // 4 + 12 bytes before the first header
    auto* probe = fw::Make<TKVXStringList>(nullptr);
    auto* reader = probe->Item(probe->AddItem());
    const char* names[] = {"first", "second", "third"};
    for (int i = 0; i < 3; ++i) {
        s.SetPosition(offsets[static_cast<size_t>(i)]);
        reader->LoadHeader(s);
        EXPECT_EQ(reader->Description(), names[i]);
    }
    s.SetPosition(0);
    probe->LoadFromStream(s, true);
    ASSERT_EQ(probe->Count(), 3);
    EXPECT_EQ(probe->Item(1)->Items()->Text(), "b\r\nc\r\n");
    EXPECT_TRUE(probe->Item(2)->IsEmpty());
    // Without offsets the items follow the count.
    fw::TMemoryStream plain;
    list->SaveToStream(plain, false);
    EXPECT_EQ(plain.Size(), s.Size() - 12);
    list->Free();
    probe->Free();
}

TEST_F(KVXContainers, AssigningFiveItemsNotifiesEachLinkOnce) {
    auto* source = fw::Make<TKVXStringList>(nullptr);
    for (int i = 0; i < 5; ++i) AddStrings(source, "item" + std::to_string(i), {"x" + std::to_string(i)});
    auto* target = fw::Make<TKVXStringList>(nullptr);
    TKVXChangeLink first, second;
    Log l1, l2, own;
    l1.Hook(first.OnChange);
    l2.Hook(second.OnChange);
    own.Hook(target->OnChange);
    target->RegisterChanges(&first);
    target->RegisterChanges(&second);
    EXPECT_EQ(first.Sender(), target);
    target->Assign(source);
    EXPECT_EQ(l1.n, 1);
    EXPECT_EQ(l2.n, 1);
    EXPECT_EQ(own.n, 1);
    EXPECT_EQ(l1.senders[0], target);
    ASSERT_EQ(target->Count(), 5);
    EXPECT_EQ(target->Item(4)->Description(), "item4");
    EXPECT_EQ(target->Item(4)->Items()->Strings(0), "x4");
    // An item's own change reaches the container's OnChange with the item, not the links.
    target->Item(2)->SetIdent(7);
    EXPECT_EQ(l1.n, 1);
    EXPECT_EQ(own.n, 2);
    EXPECT_EQ(own.senders.back(), target->Item(2));
    target->Item(2)->Items()->Add("more");
    EXPECT_EQ(own.n, 3);
    source->Free();
    target->Free();  // unregisters the links
    EXPECT_EQ(first.Sender(), nullptr);
}

TEST_F(KVXContainers, LinksLeaveWhenFreed) {
    auto* list = fw::Make<TKVXWaveList>(nullptr);
    {
        TKVXChangeLink link;
        list->RegisterChanges(&link);
        EXPECT_EQ(list->LinkCount(), 1);
    }
    EXPECT_EQ(list->LinkCount(), 0);
    list->AddItem();
    list->Item(0)->Free();  // an item freed on its own leaves the list
    EXPECT_EQ(list->Count(), 0);
    EXPECT_THROW(list->InsertItem(2), fw::EListError);
    list->Free();
}

TEST_F(KVXContainers, DamagedStreamsKeepWhatWasRead) {
    auto* list = fw::Make<TKVXStringList>(nullptr);
    AddStrings(list, "one", {"1"});
    AddStrings(list, "two", {"2"});
    fw::TMemoryStream s;
    list->SaveToStream(s, false);
    std::vector<uint8_t> bytes = s.Data();
    bytes[0] = 3;  // one item more than stored
    auto* target = fw::Make<TKVXStringList>(nullptr);
    TKVXChangeLink link;
    Log log;
    log.Hook(link.OnChange);
    target->RegisterChanges(&link);
    fw::TMemoryStream in;
    in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    EXPECT_THROW(target->LoadFromStream(in, false), fw::EReadError);
    EXPECT_EQ(log.n, 1);
    ASSERT_GE(target->Count(), 2);
    EXPECT_EQ(target->Item(1)->Items()->Strings(0), "2");
    for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}, std::vector<uint8_t>{0x40, 0x42, 0x0F, 0, 0},
                                            std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0}}) {
        fw::TMemoryStream b;
        b.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
        b.SetPosition(0);
        EXPECT_THROW(target->LoadFromStream(b, bad.size() == 9), fw::EReadError);
    }
    list->Free();
    target->Free();
}

TEST_F(KVXContainers, ItemData) {
    auto* waves = fw::Make<TKVXWaveList>(nullptr);
    auto* w = waves->Item(waves->AddItem());
    fw::TMemoryStream s;
    w->SaveToStream(s);
    EXPECT_EQ(s.Data(), std::vector<uint8_t>{0});  // an empty wave stores only its header
    s.SetPosition(0);
    w->LoadFromStream(s);
    EXPECT_TRUE(w->Wave()->Empty());

    auto* strings = fw::Make<TKVXStringList>(nullptr);
    auto* item = AddStrings(strings, "", {"alpha", "beta"});
    for (bool compressed : {false, true}) {
        item->SetCompressed(compressed);
        fw::TMemoryStream t;
        item->SaveToStream(t);
        EXPECT_EQ(t.Data()[0], kItemHasData | (compressed ? kItemCompressed : 0));
        t.SetPosition(0);
        auto* back = strings->Item(strings->AddItem());
        back->LoadFromStream(t);
        EXPECT_TRUE(back->Items()->Equals(*item->Items()));
        // Without data the list empties.
        fw::TMemoryStream none;
        none.WriteString(std::string(1, '\0'));
        none.SetPosition(0);
        back->LoadFromStream(none);
        EXPECT_TRUE(back->IsEmpty());
    }
    waves->Free();
    strings->Free();
}

// A root for form text holding a string list and a wave list.
class TListsRoot : public TComponent {
public:
    explicit TListsRoot(TComponent* owner) : TComponent(owner) {}
    void GetChildren(ChildProc proc, void* context, TComponent*) override {
        for (int i = 0; i < ComponentCount(); ++i) proc(context, Components(i));
    }
};

TEST_F(KVXContainers, FormTextRoundTrip) {
    fw::Class<TListsRoot, TComponent>("TListsRoot");
    auto* root = new TListsRoot(nullptr);
    root->SetName("Root");
    auto* strings = fw::Make<TKVXStringList>(root);
    strings->SetName("Strings1");
    auto* item = AddStrings(strings, "names", {"Ann", "Bob"});
    item->SetName("Names");
    item->SetIdent(3);
    auto* packed = AddStrings(strings, "", {"zip", "arj"});
    packed->SetName("Packed");
    packed->SetCompressed(true);
    const std::string text = fw::WriteComponentText(root);
    EXPECT_NE(text.find("object Names: TKVXStringListItem"), std::string::npos) << text;
    EXPECT_NE(text.find("Internal = {"), std::string::npos) << text;
    auto* back = new TListsRoot(nullptr);
    fw::ReadComponentText(back, text, "Root");
    auto* list = dynamic_cast<TKVXStringList*>(back->FindComponent("Strings1"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Item(0)->Name(), "Names");
    EXPECT_EQ(list->Item(0)->Ident(), 3);
    EXPECT_EQ(list->Item(1)->Items()->Text(), "zip\r\narj\r\n");
    EXPECT_TRUE(list->Item(1)->Compressed());
    EXPECT_EQ(fw::WriteComponentText(back), text);
    root->Free();
    back->Free();
}

}  // namespace
}  // namespace kvx
