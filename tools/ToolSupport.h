// What the asset tool and the gesture-picture tool share: a failure said in one line, whole files
// read and written, numbers kept little-endian, and the fixed noise of the sound recipes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace ToolSupport {
// Prints "where: what" as one line and returns false, so that a check reads `return fail(...)`.
bool fail(const std::string& where, const std::string& what);
// Each says why, naming the path, and returns false when the file cannot be read or written.
bool readFile(const std::string& path, std::string& bytes);
bool writeFile(const std::string& path, const std::string& bytes);

// Appends value as `bytes` bytes, lowest first.
void putLe(std::string& out, uint32_t value, int bytes);

// xorshift32, one step: the next number of a fixed sequence, spread evenly over -1 to 1. The
// same state gives the same hiss on every build.
double whiteNoise(uint32_t& state);
} // namespace ToolSupport
