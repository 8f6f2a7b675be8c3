#include "win/image_strip.h"

namespace torvane::win {

ImageStrip::ImageStrip(int bitmapId, int size) : size_(size) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    count_ = size > 0 ? info.bmWidth / size : 0;
    list_ = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count_, 0);
    ImageList_AddMasked(list_, bitmap, RGB(255, 0, 255));
    DeleteObject(bitmap);
}

ImageStrip::~ImageStrip() {
    if (list_) ImageList_Destroy(list_);
}

}  // namespace torvane::win
