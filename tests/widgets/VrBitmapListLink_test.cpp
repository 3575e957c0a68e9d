#include "VrBitmapListLink.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(VrBitmapListLink, CallsBackOnChangesAndDeletionOfTheFollowedListOnly) {
    int calls = 0;
    VrBitmapListLink link([&] { ++calls; });
    auto* first = new TVrBitmapList;
    TVrBitmapList second;

    EXPECT_TRUE(link.SetList(first));
    EXPECT_FALSE(link.SetList(first));
    EXPECT_EQ(calls, 0) << "setting the list is the owner's business";
    first->Add(QImage(2, 2, QImage::Format_ARGB32));
    EXPECT_EQ(calls, 1);
    ASSERT_NE(link.Bitmap(0), nullptr);
    EXPECT_EQ(link.Bitmap(1), nullptr);

    EXPECT_TRUE(link.SetList(&second));
    first->Add(QImage(2, 2, QImage::Format_ARGB32));
    delete first;
    EXPECT_EQ(calls, 1) << "a list left behind is not followed any more";
    EXPECT_EQ(link.Bitmap(0), nullptr);

    link.SetList(first = new TVrBitmapList);
    delete first;
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(link.List(), nullptr);
    EXPECT_EQ(link.Bitmap(0), nullptr);
}

TEST(VrBitmapListLink, ListOutlivingTheLinkNeitherCallsBackNorKeepsIt) {
    auto list = std::make_unique<TVrBitmapList>();
    int calls = 0;
    {
        VrBitmapListLink link([&] { ++calls; });
        link.SetList(list.get());
        EXPECT_EQ(list->LinkCount(), 1);
    }
    EXPECT_EQ(list->LinkCount(), 0);
    list->Add(QImage(2, 2, QImage::Format_ARGB32));
    list.reset();
    EXPECT_EQ(calls, 0);
}

} // namespace
