// The moist-air lookups of one rating, remembered: the solvers ask Hygrel32
// for the same saturation humidity, humidity, dew point and density again and again
// (every surface-temperature search starts from the same fluid temperature,
// every saturation-temperature search from the same entering air). The
// library is a pure function of its arguments, so an answer found again for
// arguments equal bit for bit is the answer the library would give.
//
// One memo per thread, beside the engine's state, cleared at the start of
// every rating, so no rating sees another's lookups. A small direct-mapped
// table: a slot taken by other arguments is simply overwritten.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/hygrel_binding.h"

class LookupMemo {
public:
    float SatGrains(float t, int16_t Z) { return Lookup(kSatGrains, t, 0.0f, Z); }
    float WbToGr(float t, float tw, int16_t Z) { return Lookup(kWbToGr, t, tw, Z); }
    float DewPoint(float W, int16_t Z) { return Lookup(kDewPoint, W, 0.0f, Z); }
    float Density(float t, float W, int16_t Z) { return Lookup(kDensity, t, W, Z); }

    // Forgets every lookup. Bumping the generation invalidates all slots at
    // once; only when it wraps are the slots wiped.
    void Clear() {
        if (++generation_ == 0) {
            std::memset(slots_, 0, sizeof slots_);
            generation_ = 1;
        }
    }

private:
    enum Function : uint16_t { kSatGrains = 1, kWbToGr, kDewPoint, kDensity };
    static constexpr int kBits = 9;

    struct Slot {
        uint32_t a, b;        // the float arguments' bits
        uint32_t generation;  // 0: never filled
        int16_t Z;
        uint16_t function;
        float value;
    };

    static uint32_t Bits(float x) {
        uint32_t u;
        std::memcpy(&u, &x, sizeof u);
        return u;
    }

    float Lookup(Function f, float x, float y, int16_t Z) {
        const uint32_t a = Bits(x), b = Bits(y);
        const uint64_t key = (uint64_t{a} << 32 | b) ^ (uint64_t(uint16_t(Z)) << 16 | f);
        Slot& s = slots_[(key * 0x9E3779B97F4A7C15ull) >> (64 - kBits)];
        if (s.generation == generation_ && s.a == a && s.b == b && s.Z == Z && s.function == f)
            return s.value;
        float v;
        switch (f) {
            case kSatGrains:
                v = hg::HGSATGRAINS(x, Z);
                break;
            case kWbToGr:
                v = hg::HGWBTOGR(x, y, Z);
                break;
            case kDewPoint:
                v = hg::HGDEWPOINT(x, Z);
                break;
            default:
                v = hg::HGDENSITY(x, y, Z);
                break;
        }
        s = Slot{a, b, generation_, Z, f, v};
        return v;
    }

    Slot slots_[1 << kBits] = {};
    uint32_t generation_ = 1;
};
