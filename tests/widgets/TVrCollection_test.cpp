#include "TVrBitmapList.h"
#include "TVrChangeLink.h"
#include "TVrCollection.h"
#include "TVrCollectionItem.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class RecordingCollection : public TVrCollection {
public:
    std::vector<TVrCollectionItem*> updates;

protected:
    void Update(TVrCollectionItem* Item) override { updates.push_back(Item); }
};

class Item : public TVrCollectionItem {
public:
    using TVrCollectionItem::TVrCollectionItem;
    void Touch(bool all) { Changed(all); }
};

TEST(TVrCollection, ItemsAppendThemselvesAndLeaveWhenDeleted) {
    RecordingCollection c;
    auto* a = new Item(&c);
    auto* b = new Item(&c);
    auto* d = new Item(&c);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Items(1), b);
    EXPECT_EQ(d->Index(), 2);
    delete b;
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(d->Index(), 1);
    EXPECT_EQ(a->Collection(), &c);
}

TEST(TVrCollection, ChangedReportsUnlessBracketed) {
    RecordingCollection c;
    auto* a = new Item(&c);
    a->Touch(false);
    a->Touch(true);
    ASSERT_EQ(c.updates.size(), 2u);
    EXPECT_EQ(c.updates[0], a);
    EXPECT_EQ(c.updates[1], nullptr);

    c.BeginUpdate();
    a->Touch(false);
    EXPECT_EQ(c.updates.size(), 2u);
    c.EndUpdate();
    ASSERT_EQ(c.updates.size(), 3u);
    EXPECT_EQ(c.updates[2], nullptr);

    Item orphan(nullptr);
    orphan.Touch(false);
    EXPECT_EQ(orphan.Index(), -1);
}

TEST(TVrCollection, ClearDeletesAllWithOneUpdate) {
    RecordingCollection c;
    for (int i = 0; i < 40; ++i)
        new Item(&c);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    ASSERT_EQ(c.updates.size(), 1u);
    EXPECT_EQ(c.updates[0], nullptr);
}

TEST(TVrSharedComponent, LinksAreCalledInOrderAndUnlinkBothWays) {
    std::vector<int> calls;
    TVrChangeLink first;
    TVrChangeLink second;
    first.OnChange = [&](TVrSharedComponent*) { calls.push_back(1); };
    second.OnChange = [&](TVrSharedComponent*) { calls.push_back(2); };
    {
        TVrBitmapList list;
        list.InsertLink(&first);
        list.InsertLink(&second);
        EXPECT_EQ(first.Sender(), &list);
        list.Add(QImage(2, 2, QImage::Format_RGB32));
        EXPECT_EQ(calls, (std::vector<int>{1, 2}));
        {
            TVrChangeLink temporary;
            list.InsertLink(&temporary);
            EXPECT_EQ(list.LinkCount(), 3);
        }
        EXPECT_EQ(list.LinkCount(), 2);
        list.RemoveLink(&first);
        EXPECT_EQ(first.Sender(), nullptr);
        list.Clear();
        EXPECT_EQ(calls, (std::vector<int>{1, 2, 2}));
    }
    EXPECT_EQ(second.Sender(), nullptr);
}

TEST(TVrBitmapList, GetBitmapByIndex) {
    TVrBitmapList list;
    QImage image(3, 4, QImage::Format_RGB32);
    EXPECT_EQ(list.Add(image), 0);
    ASSERT_NE(list.GetBitmap(0), nullptr);
    EXPECT_EQ(list.GetBitmap(0)->size(), QSize(3, 4));
    EXPECT_EQ(list.GetBitmap(1), nullptr);
    EXPECT_EQ(list.GetBitmap(-1), nullptr);
}

} // namespace
