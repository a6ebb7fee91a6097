// The program's growable array: growth keeps the items and their order,
// erase_if removes exactly the unwanted ones, a move leaves the source empty.
#include "app/growable_array.h"

#include <gtest/gtest.h>

#include <memory>

namespace tolvane {
namespace {

TEST(GrowableArray, KeepsMoveOnlyItemsInOrderAcrossGrowthAndRemoval) {
    GrowableArray<std::unique_ptr<int>> items;
    EXPECT_TRUE(items.empty());
    for (int i = 0; i < 100; ++i)  // several growths past the first block
        items.push_back(std::make_unique<int>(i));
    ASSERT_EQ(items.size(), 100u);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(*items[static_cast<std::size_t>(i)], i);

    items.erase_if([](const std::unique_ptr<int>& p) { return *p % 3 != 0; });
    ASSERT_EQ(items.size(), 34u);
    int expected = 0;
    for (const auto& p : items) {
        ASSERT_TRUE(p);
        EXPECT_EQ(*p, expected);
        expected += 3;
    }
    EXPECT_EQ(*items.front(), 0);
    EXPECT_EQ(*items.back(), 99);

    GrowableArray<std::unique_ptr<int>> moved(std::move(items));
    EXPECT_EQ(moved.size(), 34u);
    EXPECT_TRUE(items.empty());
    items = std::move(moved);
    EXPECT_EQ(items.size(), 34u);
    items.push_back(std::make_unique<int>(7));
    EXPECT_EQ(*items.back(), 7);

    items.erase_if([](const std::unique_ptr<int>&) { return true; });
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(items.begin(), items.end());
}

TEST(GrowableArray, ReserveKeepsTheItems) {
    GrowableArray<char> bytes;
    bytes.push_back('a');
    bytes.push_back('b');
    bytes.reserve(1000);
    bytes.reserve(1);  // never shrinks
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'a');
    EXPECT_EQ(bytes[1], 'b');
}

}  // namespace
}  // namespace tolvane
