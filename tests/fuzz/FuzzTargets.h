#pragma once
// The fuzz targets' bodies. Each takes one input, runs it through the code it is
// named after, and aborts when a property that code promises does not hold; a
// crash, a leak or a sanitizer's report is a finding too. pz-fuzz-* hand them to
// libFuzzer; the regression test replays the inputs they once failed on.

#include <cstddef>
#include <cstdint>

// The object tokenizer (and the strict object reader over the same bytes):
// every token as qpdf's tokenizer reads it, every string as it reads back after
// the writer has written it.
int FuzzScanner(const uint8_t* data, size_t size);

// A source file through the writer choice, the one-pass writer and the check of
// its output, all in memory, as the engine host runs them.
int FuzzOnePass(const uint8_t* data, size_t size);

// Bytes on the engine host's socket, as both ends read them: framing,
// descriptors beside a message, and the codec of every message.
int FuzzProtocol(const uint8_t* data, size_t size);
