// The run-time classes of the card table. Each row's class exists under its own name, as the grid registers it
// under its reuse identifier and hooks may name it, but its instances are those of the shared class of its shape,
// told apart only by the run-time class they report and the row their kind holds. The airplane and Bluetooth
// classes are classes of their own (AirplaneCell.h, BluetoothCell.h) and are not made here.

#include "tweak/cards/AirplaneCell.h"
#include "tweak/cards/BluetoothCell.h"
#include "tweak/cards/CardTable.h"
#include "tweak/cards/VantileCountingCell.h"
#include "tweak/cards/VantileNetworkCell.h"

#include "platform/core/Runtime.h"

#include <array>
#include <type_traits>
#include <utility>

namespace vantile::cards {
namespace {

// An instance of the shared class `Shape` that reports the run-time class of its row, so that messages reach that
// class's methods (and their replacements) and the card finds its kind.
template <class Shape>
class RowCard final : public Shape {
public:
    explicit RowCard(Class cls) : m_class(cls) {}
    Class isa() const override { return m_class; }

private:
    Class m_class;
};

// The shared class whose instances stand for the cards of a shape.
template <CardShape S>
using SharedClass = std::conditional_t<
    S == CardShape::Counting, VantileCountingCell,
    std::conditional_t<S == CardShape::Network, VantileNetworkCell,
                       std::conditional_t<S == CardShape::Airplane, AirplaneCell,
                                          std::conditional_t<S == CardShape::Bluetooth, BluetoothCell,
                                                             VantileCardCell>>>>;

std::array<Class, kCardCount>& rowClasses() {
    static std::array<Class, kCardCount> classes{};
    return classes;
}

template <std::size_t I>
id makeCard() {
    using Shape = SharedClass<kCardTable[I].shape>;
    return std::make_shared<RowCard<Shape>>(rowClasses()[I]);
}

template <std::size_t I>
void defineRowClass() {
    constexpr CardShape shape = kCardTable[I].shape;
    const CardRow& row = kCardTable[I];
    using Shape = SharedClass<shape>;
    if constexpr (shape == CardShape::Airplane || shape == CardShape::Bluetooth) {
        static_assert(Shape::kClassName == kCardTable[I].cardClass,
                      "a card with a class of its own is named by its row");
        rowClasses()[I] = Shape::classObject();
    } else {
        Class cls = platform::runtime::defineClass(row.cardClass, Shape::classObject(), &makeCard<I>, "");
        if constexpr (shape == CardShape::Network)
            platform::runtime::addMethod<&VantileNetworkCell::refreshNetworkStatus>(cls, row.pollSelector);
        rowClasses()[I] = cls;
    }
}

template <std::size_t... I>
void defineRowClasses(std::index_sequence<I...>) {
    (defineRowClass<I>(), ...);
}

// Defined when the library loads, like every other class of the tweak.
[[maybe_unused]] const bool g_defined = [] {
    defineRowClasses(std::make_index_sequence<kCardCount>{});
    return true;
}();

}  // namespace
}  // namespace vantile::cards
