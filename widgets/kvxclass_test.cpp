#include "widgets/kvxclass.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

// A property object with one value, as every suite sub-object is built.
class TSample : public TKVXObject {
public:
    int Value() const { return value_; }
    void SetValue(int v) {
        if (v == value_) return;
        value_ = v;
        Change();
    }

private:
    int value_ = 0;
};


TEST(KVXBases, UpdateLockIsAFlag) {
    TSample s;
    int n = 0;
    TObject* sender = nullptr;
    struct Ctx {
        int* n;
        TObject** sender;
    } ctx{&n, &sender};
    s.OnChange.Bind(&ctx, [](void* p, TObject* who) {
        auto* c = static_cast<Ctx*>(p);
        ++*c->n;
        *c->sender = who;
    });
    s.SetValue(1);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(sender, &s);

    s.BeginUpdate();
    s.SetValue(2);
    s.SetValue(3);
    s.SetValue(4);
    s.EndUpdate(true);
    EXPECT_EQ(n, 2);  // one notification for the batch

    s.BeginUpdate();
    s.SetValue(5);
    s.EndUpdate(false);
    EXPECT_EQ(n, 2);  // silent

    s.BeginUpdate();
    s.BeginUpdate();
    s.EndUpdate(false);  // pairs do not nest: the lock is off now
    s.SetValue(6);
    EXPECT_EQ(n, 3);

    s.SetValue(6);  // unchanged: no notification
    EXPECT_EQ(n, 3);
}

TEST(KVXBases, ChildChangesBubbleUp) {
    auto* owner = new TKVXComponent(nullptr);
    TSample child;
    int n = 0;
    owner->OnChange.Bind(&n, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    child.OnChange.Bind(owner, &TKVXComponent::ChildChanged);
    child.SetValue(9);
    EXPECT_EQ(n, 1);
    owner->BeginUpdate();
    child.SetValue(10);
    EXPECT_EQ(n, 1);
    owner->EndUpdate(true);
    EXPECT_EQ(n, 2);
    owner->Free();
}

}  // namespace
}  // namespace kvx
