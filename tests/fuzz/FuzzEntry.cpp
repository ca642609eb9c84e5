// libFuzzer's entry point for one target; PZ_FUZZ_ENTRY names its body.

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return PZ_FUZZ_ENTRY(data, size);
}
