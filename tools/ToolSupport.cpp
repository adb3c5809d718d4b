// Reporting, file and byte helpers for the tools, and their noise source.
#include "tools/ToolSupport.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {
// Why the last file operation failed, as the system tells it (": File name too long"), or "".
std::string systemReason() {
    return errno != 0 ? std::string(": ") + std::strerror(errno) : "";
}
} // namespace

namespace ToolSupport {
bool fail(const std::string& where, const std::string& what) {
    std::cout << where << ": " << what << std::endl;
    return false;
}

bool readFile(const std::string& path, std::string& bytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(path, "cannot be read" + systemReason());
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        !out.flush())
        return fail(path, "cannot be written" + systemReason());
    return true;
}

void putLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void setLe(std::string& bytes, Field field, uint32_t value) {
    for (int i = 0; i < field.size; ++i)
        bytes[field.at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t readLe(const std::string& bytes, Field field) {
    uint32_t value = 0;
    for (int i = field.size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[field.at + i]);
    return value;
}
} // namespace ToolSupport
