#pragma once

// An ordered, mutable list of objects, as the Settings framework's specifier lists are. Lists are shared by
// reference: a sub-page showing a list holds the same object that the regrouping keeps filling, so identity
// matters and copies are explicit (mutableCopy). Entries are compared by identity, as NSObject's isEqual: does.

#include "platform/core/Object.h"

#include <cstddef>
#include <optional>
#include <vector>

class NSMutableArray : public NSObject {
    VT_OBJECT(NSMutableArray, NSObject)
public:
    static Ref<NSMutableArray> array();
    static Ref<NSMutableArray> arrayWithObjects(std::vector<id> objects);
    // A new list with the same entries (the entries themselves are shared).
    Ref<NSMutableArray> mutableCopy() const;

    std::size_t count() const { return m_objects.size(); }
    bool isEmpty() const { return m_objects.empty(); }
    // The entry at `index`. An index past the end is misuse and throws std::out_of_range, as the device raises.
    const id& objectAtIndex(std::size_t index) const;
    // The entry at `index` as T; null when it is another class. Throws like objectAtIndex past the end.
    template <class T>
    Ref<T> objectAtIndexAs(std::size_t index) const {
        return cast<T>(objectAtIndex(index));
    }
    // Null when the list is empty.
    id firstObject() const { return m_objects.empty() ? nullptr : m_objects.front(); }
    id lastObject() const { return m_objects.empty() ? nullptr : m_objects.back(); }
    bool containsObject(const id& object) const { return indexOfObject(object).has_value(); }
    // The first index of that very object; nothing when absent.
    std::optional<std::size_t> indexOfObject(const id& object) const;

    // Adding a null object is misuse and throws std::invalid_argument: the device's lists cannot hold nil.
    void addObject(id object);
    void addObjectsFromArray(const NSMutableArray& other);
    // `index` may equal count() (append); past that it throws std::out_of_range.
    void insertObjectAtIndex(id object, std::size_t index);
    void removeObjectAtIndex(std::size_t index);
    // Does nothing on an empty list.
    void removeLastObject();
    // Removes every occurrence of that object; nothing happens when it is absent.
    void removeObject(const id& object);
    // Removes every entry that is also in `other`.
    void removeObjectsInArray(const NSMutableArray& other);
    void removeAllObjects() { m_objects.clear(); }
    void setArray(const NSMutableArray& other);

    const std::vector<id>& objects() const { return m_objects; }
    auto begin() const { return m_objects.begin(); }
    auto end() const { return m_objects.end(); }

    std::string description() const override;

private:
    std::vector<id> m_objects;
};
