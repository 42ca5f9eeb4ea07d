#include "KList.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
struct Item : KObjectListable, KObjectBase {
    int id;
    explicit Item(int id) : id(id) {}
};

std::vector<int> walk(KList<Item>& list) {
    std::vector<int> ids;
    list.forEach([&](Item* item) { ids.push_back(item->id); });
    return ids;
}
} // namespace

TEST(KList, LinksAtTheTailAndWalksOldestFirst) {
    KList<Item> list;
    Item a(1), b(2), c(3);
    list.link(&a);
    list.link(&b);
    list.link(&c);
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.head, &a);
    EXPECT_EQ(list.tail, &c);
    EXPECT_EQ(walk(list), (std::vector<int>{1, 2, 3}));

    list.unlink(&b);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(KList<Item>::next(&a), &c);
    EXPECT_EQ(c.listPrev, static_cast<KObjectListable*>(&a));
    EXPECT_EQ(walk(list), (std::vector<int>{1, 3}));

    list.unlink(&a);
    list.unlink(&c);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
}

TEST(KList, AnObjectMovesBetweenTwoListsOnTheSameLinks) {
    KList<Item> all, playing;
    Item a(1), b(2);
    all.link(&a);
    all.link(&b);
    all.unlink(&a);
    playing.link(&a);
    EXPECT_EQ(walk(all), (std::vector<int>{2}));
    EXPECT_EQ(walk(playing), (std::vector<int>{1}));
    EXPECT_EQ(a.listNext, nullptr);
    EXPECT_EQ(a.listPrev, nullptr);
}

TEST(KList, UnlinkingAnObjectThatIsNotInTheListChangesNothing) {
    KList<Item> all, playing;
    Item a(1), b(2), loose(3);
    all.link(&a);
    all.link(&b);
    all.unlink(&loose);
    playing.unlink(&a); // a lives in the other list
    all.unlink(&a);
    all.unlink(&a); // twice
    EXPECT_EQ(all.count, 1);
    EXPECT_EQ(all.head, &b);
    EXPECT_EQ(all.tail, &b);
    EXPECT_EQ(playing.count, 0);
    EXPECT_EQ(walk(all), (std::vector<int>{2}));
}

TEST(KList, ForEachMayUnlinkTheObjectItIsGiven) {
    KList<Item> list;
    Item a(1), b(2), c(3);
    list.link(&a);
    list.link(&b);
    list.link(&c);
    list.forEach([&](Item* item) { list.unlink(item); });
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
}
