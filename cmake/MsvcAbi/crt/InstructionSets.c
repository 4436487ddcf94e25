// The instruction-set levels this processor offers, detected once at each module's start, for code
// that picks a vectorised path at run time (the STL's vectorised algorithms test __isa_enabled).
#include "StartupTables.h"

#include <intrin.h>
#include <isa_availability.h>

int __isa_available = __ISA_AVAILABLE_SSE2;
long __isa_enabled = 1L << __ISA_AVAILABLE_X86 | 1L << __ISA_AVAILABLE_SSE2;

void __cdecl DetectInstructionSets(void) {
    int leaf1[4];
    __cpuid(leaf1, 1);
    const int sse42 = (leaf1[2] >> 20) & 1;
    const int osxsave = (leaf1[2] >> 27) & 1;
    const int avx = (leaf1[2] >> 28) & 1;
    if (!sse42) {
        return;
    }
    __isa_available = __ISA_AVAILABLE_SSE42;
    __isa_enabled |= 1L << __ISA_AVAILABLE_SSE42;
    // AVX needs the operating system to save the YMM registers (XCR0 bits 1 and 2).
    if (!avx || !osxsave || (_xgetbv(0) & 6) != 6) {
        return;
    }
    __isa_available = __ISA_AVAILABLE_AVX;
    __isa_enabled |= 1L << __ISA_AVAILABLE_AVX;
    int leaf7[4];
    __cpuidex(leaf7, 7, 0);
    const int avx2 = (leaf7[1] >> 5) & 1;
    const int bmi1 = (leaf7[1] >> 3) & 1;
    const int bmi2 = (leaf7[1] >> 8) & 1;
    if (avx2 && bmi1 && bmi2) {
        __isa_available = __ISA_AVAILABLE_AVX2;
        __isa_enabled |= 1L << __ISA_AVAILABLE_AVX2;
    }
}
