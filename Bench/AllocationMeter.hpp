#pragma once

#include <cstddef>

// Live and peak bytes handed out by the global operator new of this program (every allocation of the
// standard containers goes through it). Single-threaded benchmarks only.
namespace AllocationMeter {

void ResetPeak();
std::size_t PeakBytes();
std::size_t LiveBytes();
std::size_t Allocations();

} // namespace AllocationMeter
