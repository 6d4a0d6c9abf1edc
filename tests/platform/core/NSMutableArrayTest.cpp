#include "platform/core/NSMutableArray.h"
#include "platform/core/NSMutableDictionary.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::vector<NSObject*> raw(const NSMutableArray& list) {
    std::vector<NSObject*> out;
    for (const auto& o : list) out.push_back(o.get());
    return out;
}

TEST(NSMutableArray, RemovalIsByIdentityEverywhere) {
    auto a = alloc<NSObject>(), b = alloc<NSObject>(), c = alloc<NSObject>();
    auto list = NSMutableArray::arrayWithObjects({a, b, a, c, a});
    list->removeObject(a);
    EXPECT_EQ(raw(*list), (std::vector<NSObject*>{b.get(), c.get()}));
    list->removeObject(alloc<NSObject>());  // an equal-looking stranger removes nothing
    EXPECT_EQ(list->count(), 2u);

    auto other = NSMutableArray::arrayWithObjects({c, a});
    auto big = NSMutableArray::arrayWithObjects({a, b, c, b, c});
    big->removeObjectsInArray(*other);
    EXPECT_EQ(raw(*big), (std::vector<NSObject*>{b.get(), b.get()}));
}

TEST(NSMutableArray, CopiesAreNewListsOfTheSameEntries) {
    auto a = alloc<NSObject>(), b = alloc<NSObject>();
    auto list = NSMutableArray::arrayWithObjects({a, b});
    auto copy = list->mutableCopy();
    copy->removeObjectAtIndex(0);
    EXPECT_EQ(list->count(), 2u) << "editing the copy leaves the original";
    EXPECT_EQ(copy->objectAtIndex(0), b);

    list->addObjectsFromArray(*list);  // appending a list to itself doubles it once, never loops
    EXPECT_EQ(raw(*list), (std::vector<NSObject*>{a.get(), b.get(), a.get(), b.get()}));
    list->setArray(*copy);
    EXPECT_EQ(raw(*list), (std::vector<NSObject*>{b.get()}));
}

TEST(NSMutableArray, InsertionAndLookupAtTheEdges) {
    auto a = alloc<NSObject>(), b = alloc<NSObject>(), c = alloc<NSObject>();
    auto list = NSMutableArray::array();
    EXPECT_EQ(list->firstObject(), nullptr);
    EXPECT_EQ(list->lastObject(), nullptr);
    list->removeLastObject();  // harmless on an empty list
    list->insertObjectAtIndex(b, 0);
    list->insertObjectAtIndex(c, 1);  // index == count appends
    list->insertObjectAtIndex(a, 0);
    EXPECT_EQ(raw(*list), (std::vector<NSObject*>{a.get(), b.get(), c.get()}));
    EXPECT_EQ(list->indexOfObject(c), 2u);
    EXPECT_FALSE(list->indexOfObject(alloc<NSObject>()).has_value());
    list->removeLastObject();
    EXPECT_EQ(list->lastObject(), b);
}

TEST(NSMutableArray, MisuseThrows) {
    auto list = NSMutableArray::arrayWithObjects({alloc<NSObject>()});
    EXPECT_THROW(list->objectAtIndex(1), std::out_of_range);
    EXPECT_THROW(list->insertObjectAtIndex(alloc<NSObject>(), 2), std::out_of_range);
    EXPECT_THROW(list->removeObjectAtIndex(1), std::out_of_range);
    EXPECT_THROW(list->addObject(nullptr), std::invalid_argument);
    EXPECT_EQ(list->count(), 1u) << "a refused change leaves the list as it was";
}

TEST(NSMutableDictionary, ValuesInKeyOrderAndAbsentKeys) {
    auto x = alloc<NSObject>(), y = alloc<NSObject>();
    auto d = NSMutableDictionary::dictionary();
    d->setObjectForKey(y, "b");
    d->setObjectForKey(x, "a");
    EXPECT_EQ(d->objectForKey("missing"), nullptr);
    auto values = d->allValues();
    EXPECT_EQ(raw(*values), (std::vector<NSObject*>{x.get(), y.get()}));
    d->setObjectForKey(y, "a");  // replacing keeps one entry per key
    EXPECT_EQ(d->count(), 2u);
    d->removeObjectForKey("a");
    d->removeObjectForKey("a");
    EXPECT_EQ(d->count(), 1u);
    EXPECT_THROW(d->setObjectForKey(nullptr, "c"), std::invalid_argument);
}

}  // namespace
