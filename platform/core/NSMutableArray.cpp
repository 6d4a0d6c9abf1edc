#include "platform/core/NSMutableArray.h"

#include "platform/core/Runtime.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <unordered_set>

VT_REGISTER_CLASS(NSMutableArray)

Ref<NSMutableArray> NSMutableArray::array() { return alloc<NSMutableArray>(); }

Ref<NSMutableArray> NSMutableArray::arrayWithObjects(std::vector<id> objects) {
    auto list = alloc<NSMutableArray>();
    for (auto& o : objects) list->addObject(std::move(o));
    return list;
}

Ref<NSMutableArray> NSMutableArray::mutableCopy() const {
    auto copy = alloc<NSMutableArray>();
    copy->m_objects = m_objects;
    return copy;
}

const id& NSMutableArray::objectAtIndex(std::size_t index) const {
    if (index >= m_objects.size())
        throw std::out_of_range("NSMutableArray objectAtIndex: index " + std::to_string(index) + " beyond bounds [0 .. " +
                                std::to_string(m_objects.size()) + ")");
    return m_objects[index];
}

std::optional<std::size_t> NSMutableArray::indexOfObject(const id& object) const {
    auto it = std::find(m_objects.begin(), m_objects.end(), object);
    if (it == m_objects.end()) return std::nullopt;
    return static_cast<std::size_t>(it - m_objects.begin());
}

void NSMutableArray::addObject(id object) {
    if (!object) throw std::invalid_argument("NSMutableArray addObject: object cannot be nil");
    m_objects.push_back(std::move(object));
}

void NSMutableArray::addObjectsFromArray(const NSMutableArray& other) {
    // Copy first: `other` may be this very list.
    std::vector<id> added = other.m_objects;
    m_objects.insert(m_objects.end(), added.begin(), added.end());
}

void NSMutableArray::insertObjectAtIndex(id object, std::size_t index) {
    if (!object) throw std::invalid_argument("NSMutableArray insertObject:atIndex: object cannot be nil");
    if (index > m_objects.size())
        throw std::out_of_range("NSMutableArray insertObject:atIndex: index " + std::to_string(index) +
                                " beyond bounds [0 .. " + std::to_string(m_objects.size()) + "]");
    m_objects.insert(m_objects.begin() + static_cast<std::ptrdiff_t>(index), std::move(object));
}

void NSMutableArray::removeObjectAtIndex(std::size_t index) {
    if (index >= m_objects.size())
        throw std::out_of_range("NSMutableArray removeObjectAtIndex: index " + std::to_string(index) +
                                " beyond bounds [0 .. " + std::to_string(m_objects.size()) + ")");
    m_objects.erase(m_objects.begin() + static_cast<std::ptrdiff_t>(index));
}

void NSMutableArray::removeLastObject() {
    if (!m_objects.empty()) m_objects.pop_back();
}

void NSMutableArray::removeObject(const id& object) { std::erase(m_objects, object); }

void NSMutableArray::removeObjectsInArray(const NSMutableArray& other) {
    const std::unordered_set<NSObject*> gone = [&] {
        std::unordered_set<NSObject*> s;
        for (const auto& o : other.m_objects) s.insert(o.get());
        return s;
    }();
    std::erase_if(m_objects, [&](const id& o) { return gone.count(o.get()) != 0; });
}

void NSMutableArray::setArray(const NSMutableArray& other) {
    if (&other == this) return;
    m_objects = other.m_objects;
}

std::string NSMutableArray::description() const {
    std::string text = "(";
    for (std::size_t i = 0; i < m_objects.size(); ++i) {
        if (i) text += ", ";
        text += m_objects[i]->description();
    }
    return text + ")";
}
