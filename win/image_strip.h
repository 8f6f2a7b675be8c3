#pragma once
// A bitmap resource of square images side by side, magenta (255, 0, 255) transparent, as the
// tool-bar and tree images are kept, as an image list for the controls and menus.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

namespace torvane::win {

class ImageStrip {
public:
    // An empty strip (no images) when the resource is missing.
    explicit ImageStrip(int bitmapId, int size = 16);
    ~ImageStrip();
    ImageStrip(const ImageStrip&) = delete;
    ImageStrip& operator=(const ImageStrip&) = delete;

    HIMAGELIST List() const { return list_; }
    int Count() const { return count_; }
    int Size() const { return size_; }

private:
    int size_;
    int count_ = 0;
    HIMAGELIST list_ = nullptr;
};

}  // namespace torvane::win
