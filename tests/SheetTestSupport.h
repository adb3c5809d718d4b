// Helpers for the sheet tests: running the asset tool on a scratch copy of assets/, and reading
// a BMP sheet back the way a viewer shows it.
#pragma once
#include <map>
#include <string>

#include "tests/TestSupport.h"

// A fresh empty folder under the system's temporary folder.
std::string makeScratchDir();

// A scratch copy of the repository's assets/ whose icons/ folder holds only `iconFiles` (name
// to content); with `withIcons` false there is no icons/ folder at all. Returns the copy's
// assets folder.
std::string scratchAssets(const std::map<std::string, std::string>& iconFiles,
                          bool withIcons = true);

// Runs the asset tool; returns its exit status and puts what it printed into `output`.
int runAssetTool(const std::string& assetsDir, const std::string& outDir, std::string& output);

// The whole content of a file, or empty when it cannot be read.
std::string fileBytes(const std::string& path);

// A BMP read with SDL's loader, pixel (x, y) counted from the top-left as a viewer shows it.
class SheetPicture {
  public:
    explicit SheetPicture(const std::string& path);
    bool loaded() const { return w > 0; }
    Rgb at(int x, int y) const;
    int width() const { return w; }
    int height() const { return h; }
    int bitsPerPixel() const { return bits; }

  private:
    int w = 0, h = 0, bits = 0;
    std::string rgb; // 3 bytes a pixel, red first, top row first
};
