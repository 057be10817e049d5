#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <limits>

#include "ui/Errors.h"

namespace ui {

[[noreturn]] void throwRangeError(long long index, long long low, long long high);
[[noreturn]] void throwOverflowError();

// A fixed array indexed Low..High; an index outside that range throws instead of reading memory.
template <typename T, int Low, int High>
class CheckedArray {
    static_assert(High >= Low);

public:
    static constexpr int low = Low;
    static constexpr int high = High;
    static constexpr std::size_t size = static_cast<std::size_t>(High - Low + 1);

    T& operator[](long long i) { return items_[offset(i)]; }
    const T& operator[](long long i) const { return items_[offset(i)]; }

    void fill(const T& value) { items_.fill(value); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    bool operator==(const CheckedArray&) const = default;

private:
    static std::size_t offset(long long i) {
        if (i < Low || i > High) {
            throwRangeError(i, Low, High);
        }
        return static_cast<std::size_t>(i - Low);
    }

    std::array<T, size> items_{};
};

// Integer arithmetic that throws on overflow instead of wrapping.
template <std::integral T>
T checkedAdd(T a, T b) {
    T result;
    if (__builtin_add_overflow(a, b, &result)) {
        throwOverflowError();
    }
    return result;
}

template <std::integral T>
T checkedSub(T a, T b) {
    T result;
    if (__builtin_sub_overflow(a, b, &result)) {
        throwOverflowError();
    }
    return result;
}

template <std::integral T>
T checkedMul(T a, T b) {
    T result;
    if (__builtin_mul_overflow(a, b, &result)) {
        throwOverflowError();
    }
    return result;
}

// Narrows a value into a smaller integer type, throwing when it does not fit.
template <std::integral To, std::integral From>
To checkedCast(From value) {
    if (!std::in_range<To>(value)) {
        throwOverflowError();
    }
    return static_cast<To>(value);
}

// The nearest integer, a half going to the even neighbour.
long long roundHalfEven(double value);

}  // namespace ui
