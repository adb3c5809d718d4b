// Counts heap allocations in the benchmark program: every call of malloc and its kin, whoever
// makes it (operator new, SDL, Mesa, Xlib and the rest included), in all threads.
#pragma once

// All allocations since the program started.
long allocationCount();
// Those of them that the game's own code asked for, directly or through the C and C++ runtime
// (containers, strings); the rest are the libraries' own doing.
long gameAllocationCount();
