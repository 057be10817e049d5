#pragma once

#include <deque>
#include <random>

namespace ui {

// Uniform random integers 0..n-1.
class Random {
public:
    virtual ~Random() = default;
    virtual int next(int n) = 0;
};

// One generator, seeded once from the system's entropy source.
class SystemRandom : public Random {
public:
    SystemRandom();
    int next(int n) override;

private:
    std::mt19937_64 engine_;
};

// Replays a list of draws, for tests. Each value is taken modulo n; when the list runs out the
// draws start again from its beginning.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(std::deque<int> draws = {}) : draws_(std::move(draws)) {}
    void push(int value) { draws_.push_back(value); }
    int next(int n) override;
    int drawsMade() const { return made_; }

private:
    std::deque<int> draws_;
    std::size_t position_ = 0;
    int made_ = 0;
};

}  // namespace ui
