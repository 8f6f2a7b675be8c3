#include "store/random.h"

#include "store/date.h"

namespace torvane {
namespace {

// One state for the whole process; 0 until someone seeds it.
uint32_t gState = 0;

}  // namespace

uint32_t RandomBelow(uint32_t range) {
    gState = gState * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(range) * gState) >> 32);
}

void SeedRandom() {
    const TimeOfDay t = Clock().UtcTimeOfDay();
    gState = static_cast<uint32_t>(((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond);
}

uint32_t RandomState() {
    return gState;
}

void SetRandomState(uint32_t state) {
    gState = state;
}

}  // namespace torvane
