// Counts heap allocations made through operator new in the benchmark program.
#pragma once

// Allocations since the program started.
long allocationCount();
