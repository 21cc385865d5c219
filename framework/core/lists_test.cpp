// TList, TStringList, TCollection and TBits.
#include "framework/core/lists.h"

#include <gtest/gtest.h>

#include "framework/core/streams.h"
#include "testing/test_env.h"

namespace {

using namespace fw;

std::string Joined(const TStrings& s) {
    std::string out;
    for (int i = 0; i < s.Count(); ++i) out += (i ? "|" : "") + s.Get(i);
    return out;
}

TEST(TListTest, IndexErrorsNameTheIndex) {
    TList list;
    int a = 1, b = 2, c = 3;
    list.Add(&a);
    list.Add(&b);
    list.Insert(0, &c);
    EXPECT_EQ(list.IndexOf(&a), 1);
    list.Move(0, 2);
    EXPECT_EQ(list[2], &c);
    try {
        list.Get(3);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
    list.Put(0, nullptr);
    list.Pack();
    EXPECT_EQ(list.Count(), 2);
}

TEST(TStringListTest, CaseInsensitiveByDefault) {
    TStringList list;
    list.Add("Alpha");
    list.Add("beta");
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("Beta"), 1);
    list.Add("\xE4pfel");  // accented letters of the ANSI code page fold too
    EXPECT_EQ(list.IndexOf("\xC4PFEL"), 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("\xC4PFEL"), -1);
    EXPECT_EQ(list.IndexOf("ALPHA"), -1);
    EXPECT_EQ(list.IndexOf("Alpha"), 0);
}

TEST(TStringListTest, SortedAddAndDuplicates) {
    struct Case {
        TDuplicates dup;
        bool caseSensitive;
        const char* want;
        bool throws;
    } cases[] = {
        {TDuplicates::dupIgnore, false, "a|B|c", false},
        {TDuplicates::dupAccept, false, "a|B|b|c", false},
        {TDuplicates::dupError, false, "", true},
        {TDuplicates::dupIgnore, true, "B|a|b|c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        TStringList list;
        list.SetCaseSensitive(c.caseSensitive);
        list.SetSorted(true);
        list.SetDuplicates(c.dup);
        bool threw = false;
        try {
            for (const char* s : {"c", "B", "a", "b"}) list.Add(s);
        } catch (const EListError& e) {
            threw = true;
            EXPECT_EQ(e.Message(), "String list does not allow duplicates");
        }
        EXPECT_EQ(threw, c.throws);
        if (!c.throws) {
            EXPECT_EQ(Joined(list), c.want);
        }
        int index = -1;
        if (!c.throws) {
            EXPECT_TRUE(list.Find("C", index) || c.caseSensitive);
            EXPECT_EQ(list.IndexOf("a"), c.caseSensitive ? 1 : 0);
        }
        EXPECT_THROW(list.Insert(0, "x"), EListError);  // sorted lists place strings themselves
    }
    TStringList dups;
    dups.SetDuplicates(TDuplicates::dupAccept);
    dups.SetSorted(true);
    for (const char* s : {"x", "a", "x", "x", "b"}) dups.Add(s);
    EXPECT_EQ(dups.IndexOf("X"), 2);  // the first of an equal run
}

TEST(TStringListTest, TextSplitsAtEveryLineEnd) {
    TStringList list;
    struct Case {
        const char* text;
        const char* want;
    } cases[] = {
        {"a\r\nb\r\n", "a|b"}, {"a\nb", "a|b"}, {"a\rb\r", "a|b"}, {"a\r\n\r\nb", "a||b"}, {"\n", ""}, {"", ""},
        {"a\n\rb", "a||b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        list.SetText(c.text);
        EXPECT_EQ(Joined(list), c.want);
    }
    list.SetText("one\ntwo");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\n");
}

TEST(TStringListTest, CommaTextAndValues) {
    TStringList list;
    list.SetCommaText("a, \"b c\",\"q\"\"x\",,d");
    EXPECT_EQ(Joined(list), "a|b c|q\"x||d");
    EXPECT_EQ(list.CommaText(), "a,\"b c\",\"q\"\"x\",,d");
    list.Clear();
    list.Add("Name=Value");
    list.Add("Other=2");
    EXPECT_EQ(list.Values("name"), "Value");
    EXPECT_EQ(list.Names(1), "Other");
    list.SetValue("other", "");
    EXPECT_EQ(list.Count(), 1);
    list.SetValue("New", "x");
    EXPECT_EQ(list.Get(1), "New=x");
}

TEST(TStringListTest, ChangeEventsFollowUpdates) {
    TStringList list;
    int changes = 0, changing = 0;
    list.OnChange.Bind(&changes, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    list.OnChanging.Bind(&changing, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    list.Add("a");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changing, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
    list.Move(0, 2);
    EXPECT_EQ(Joined(list), "b|c|a");
    list.Exchange(0, 1);
    EXPECT_EQ(Joined(list), "c|b|a");
    int obj = 0;
    (void)obj;
    TStringList copy;
    copy.Assign(&list);
    EXPECT_TRUE(copy.Equals(list));
}

TEST(TStringListTest, StreamAndFileRoundTrip) {
    TStringList list;
    list.Add("first");
    list.Add("");
    list.Add("l\xE4st");
    TMemoryStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 15);
    stream.SetPosition(0);
    TStringList fromStream;
    fromStream.LoadFromStream(stream);
    EXPECT_TRUE(fromStream.Equals(list));
#ifndef FW_OBJECT_TEST_NO_FILES
    std::string dir = mx::test::FreshDir();
    std::string file = dir + "/lines.txt";
    list.SaveToFile(file);
    EXPECT_EQ(mx::test::ReadFile(file), "first\r\n\r\nl\xE4st\r\n");
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_TRUE(back.Equals(list));
    EXPECT_THROW(back.LoadFromFile(dir + "/missing.txt"), EStreamError);
#endif
}

class TItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string caption;
    void Assign(TPersistent* source) override {
        if (auto* i = dynamic_cast<TItem*>(source)) {
            caption = i->caption;
            return;
        }
        TCollectionItem::Assign(source);
    }
};

class TCountingCollection : public TCollection {
public:
    using TCollection::TCollection;
    int updates = 0;

protected:
    void Update(TCollectionItem*) override { ++updates; }
};

TEST(TCollectionTest, ItemsBelongToTheirCollection) {
    TCountingCollection c(&TCollection::MakeItem<TItem>);
    auto* a = static_cast<TItem*>(c.Add());
    a->caption = "a";
    auto* b = static_cast<TItem*>(c.Add());
    b->caption = "b";
    EXPECT_EQ(c.updates, 2);
    b->SetIndex(0);
    EXPECT_EQ(c.Items(0), b);
    EXPECT_EQ(a->Index(), 1);
    c.BeginUpdate();
    delete a;  // an item freed on its own leaves the collection
    EXPECT_EQ(c.Count(), 1);
    c.EndUpdate();
    TCountingCollection copy(&TCollection::MakeItem<TItem>);
    copy.Assign(&c);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(static_cast<TItem*>(copy.Items(0))->caption, "b");
    EXPECT_EQ(c.FindItemID(b->ID()), b);
    EXPECT_THROW(c.Items(1), EListError);
}

TEST(TBitsTest, OpenBitFindsTheFirstClear) {
    TBits bits;
    EXPECT_EQ(bits.OpenBit(), 0);
    for (int i = 0; i < 5; ++i) bits.SetBits(i, true);
    bits.SetBits(2, false);
    EXPECT_EQ(bits.OpenBit(), 2);
    EXPECT_EQ(bits.Size(), 5);
    EXPECT_THROW(bits.Bits(5), EListError);
}

}  // namespace
