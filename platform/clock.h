#pragma once
// The wall clock as the capture window sees it: the local-time second.

namespace kx {

// The seconds field (0..59) of the local time now, or -1 when the conversion fails.
int LocalTimeSecond();

// Tests replace the clock to make capture windows deterministic; nullptr restores the real one.
using SecondSource = int (*)();
void SetSecondSourceForTesting(SecondSource source);

} // namespace kx
