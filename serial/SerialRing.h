#pragma once
// The rules of CSerialPort's transmit and receive rings. A ring is RING_SIZE bytes with a read
// index and a write index; it is empty exactly when they are equal. There is no fill count and
// no full state, so a ring hands back at most RING_SIZE - 1 bytes, and storing onto unread
// bytes overruns them without a word.
#include <cstddef>
#include <cstdint>

constexpr int32_t RING_SIZE = 328000;

// Stores count bytes at writeIndex, advancing it past each; after position RING_SIZE - 1
// comes position 0. Nothing tests for room.
void RingStore(uint8_t* ring, int32_t& writeIndex, const uint8_t* bytes, size_t count);

// Copies bytes from readIndex on, advancing it, until it meets writeIndex or `most` bytes are
// copied; returns how many. Nothing in the ring is cleared.
size_t RingTake(const uint8_t* ring, int32_t& readIndex, int32_t writeIndex, uint8_t* out,
                size_t most);
