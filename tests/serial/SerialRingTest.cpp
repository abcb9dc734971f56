#include "serial/SerialRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Byte i of a test stream; distinct enough that a shifted or stale byte shows.
uint8_t Pattern(size_t i) {
    return static_cast<uint8_t>((i * 7 + 3) % 251);
}

std::vector<uint8_t> PatternBytes(size_t from, size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = Pattern(from + i);
    }
    return bytes;
}

struct Ring {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(RING_SIZE);
    int32_t read = 0;
    int32_t write = 0;

    void Store(const std::vector<uint8_t>& data) {
        RingStore(bytes.data(), write, data.data(), data.size());
    }
    std::vector<uint8_t> TakeAll() {
        std::vector<uint8_t> out(RING_SIZE);
        out.resize(RingTake(bytes.data(), read, write, out.data(), out.size()));
        return out;
    }
};

TEST(SerialRing, IndexWrapsFromLastPositionToZero) {
    Ring ring;
    ring.read = ring.write = RING_SIZE - 1;
    ring.Store({0xA1, 0xB2, 0xC3});
    EXPECT_EQ(ring.write, 2);
    EXPECT_EQ(ring.bytes[RING_SIZE - 1], 0xA1);
    EXPECT_EQ(ring.bytes[0], 0xB2);
    EXPECT_EQ(ring.bytes[1], 0xC3);
    EXPECT_EQ(ring.TakeAll(), (std::vector<uint8_t>{0xA1, 0xB2, 0xC3}));
    EXPECT_EQ(ring.read, 2);
}

// With `unread` bytes waiting and `stored` more stored, the reader gets only the last
// (unread + stored) % RING_SIZE bytes, in order: an overrun is silent, and a multiple of the
// ring size reads as empty.
struct OverrunCase {
    size_t unread;
    size_t stored;
    size_t readable;
};

void PrintTo(const OverrunCase& c, std::ostream* os) {
    *os << c.unread << " unread + " << c.stored << " stored";
}

class SerialRingOverrun : public testing::TestWithParam<OverrunCase> {};

TEST_P(SerialRingOverrun, ReaderGetsOnlyTheLastBytesModuloTheRingSize) {
    const OverrunCase c = GetParam();
    Ring ring;
    ring.Store(PatternBytes(0, c.unread));
    ring.Store(PatternBytes(c.unread, c.stored));
    const size_t total = c.unread + c.stored;
    EXPECT_EQ(ring.TakeAll(), PatternBytes(total - c.readable, c.readable));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialRingOverrun,
    testing::Values(OverrunCase{0, 0, 0}, OverrunCase{0, 5, 5},
                    OverrunCase{0, RING_SIZE - 1, RING_SIZE - 1}, OverrunCase{0, RING_SIZE, 0},
                    OverrunCase{0, RING_SIZE + 5, 5}, OverrunCase{100, RING_SIZE - 100, 0},
                    OverrunCase{100, RING_SIZE - 95, 5}, OverrunCase{0, 2 * RING_SIZE + 1, 1}));

TEST(SerialRing, TakeStopsAtTheLimitOrTheWriteIndexAndTouchesNothingElse) {
    Ring ring;
    ring.Store({1, 2, 3, 4, 5});
    uint8_t out[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(RingTake(ring.bytes.data(), ring.read, ring.write, out, 0), 0u);
    EXPECT_EQ(ring.read, 0);
    EXPECT_EQ(RingTake(ring.bytes.data(), ring.read, ring.write, out, 2), 2u);
    EXPECT_EQ(RingTake(ring.bytes.data(), ring.read, ring.write, out + 2, 8), 3u);
    EXPECT_EQ(RingTake(ring.bytes.data(), ring.read, ring.write, out + 5, 8), 0u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 8), (std::vector<uint8_t>{1, 2, 3, 4, 5, 9, 9, 9}));
    // Taking clears nothing: the bytes are still in the ring's memory.
    EXPECT_EQ(ring.bytes[0], 1);
}

} // namespace
