#include "ui/Random.h"

#include "ui/Checked.h"

namespace ui {

SystemRandom::SystemRandom() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    engine_.seed(seed);
}

int SystemRandom::next(int n) {
    if (n < 1) {
        throwRangeError(n, 1, std::numeric_limits<int>::max());
    }
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

int ScriptedRandom::next(int n) {
    if (n < 1) {
        throwRangeError(n, 1, std::numeric_limits<int>::max());
    }
    ++made_;
    if (draws_.empty()) {
        return 0;
    }
    const int value = draws_[position_ % draws_.size()];
    ++position_;
    return ((value % n) + n) % n;
}

}  // namespace ui
