// The libFuzzer entry of one fuzzer binary; CANTORIA_FUZZ_TARGET names its target function.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return CANTORIA_FUZZ_TARGET(data, size);
}
