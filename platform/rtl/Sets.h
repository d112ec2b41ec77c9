// A small set of enumeration values, stored as a bit mask of the given width (a set of up to
// eight elements fits one byte, as on the original platform).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace rtl {

template <class E, class Bits = std::uint32_t>
class TSet {
    static_assert(std::is_enum_v<E>);
    static_assert(std::is_unsigned_v<Bits>);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> elements) {
        for (E e : elements) Include(e);
    }

    static constexpr TSet FromBits(Bits bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr Bits ToBits() const { return bits_; }

    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E e) {
        bits_ = static_cast<Bits>(bits_ | Bit(e));
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        bits_ = static_cast<Bits>(bits_ & ~Bit(e));
        return *this;
    }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(static_cast<Bits>(a.bits_ | b.bits_)); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(static_cast<Bits>(a.bits_ & ~b.bits_)); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(static_cast<Bits>(a.bits_ & b.bits_)); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }

private:
    static constexpr Bits Bit(E e) {
        const auto n = static_cast<unsigned>(static_cast<std::underlying_type_t<E>>(e));
        return n < sizeof(Bits) * 8 ? static_cast<Bits>(Bits{1} << n) : Bits{0};
    }
    Bits bits_ = 0;
};

}  // namespace rtl
