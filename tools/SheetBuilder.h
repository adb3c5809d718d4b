// Stand-in SheetBuilder: builds nothing yet.
#pragma once
#include <string>

class SheetBuilder {
public:
    SheetBuilder(const std::string& assetsDir, const std::string& outDir)
        : assetsDir(assetsDir), outDir(outDir) {}
    // Writes every file of its kind; false (after a message naming the file) on any failure.
    bool buildAll() { return true; }

    std::string assetsDir;
    std::string outDir;
};
