#include "serial/SerialRing.h"

namespace {

void Advance(int32_t& index) {
    if (++index == RING_SIZE) {
        index = 0;
    }
}

} // namespace

void RingStore(uint8_t* ring, int32_t& writeIndex, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        ring[writeIndex] = bytes[i];
        Advance(writeIndex);
    }
}

size_t RingTake(const uint8_t* ring, int32_t& readIndex, int32_t writeIndex, uint8_t* out,
                size_t most) {
    size_t taken = 0;
    while (taken < most && readIndex != writeIndex) {
        out[taken++] = ring[readIndex];
        Advance(readIndex);
    }
    return taken;
}
