#pragma once
// The seedable pseudo-random generator of the requests' filler and the download
// header's random bytes.
//
// The classic C-library linear congruential generator: state = state * 214013 +
// 2531011 (mod 2^32), value = (state >> 16) & 0x7FFF. Same seed, same sequence, on
// every platform: two requests seeded in the same millisecond draw the same filler.

#include <cstdint>

class SeededRandom {
public:
    explicit SeededRandom(std::uint32_t seed);
    // Next value, 0 to 32767.
    int Next();

private:
    std::uint32_t m_state;
};
