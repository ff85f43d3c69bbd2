#include "PictureControl.h"

#include "Win32Resources.h"

namespace kelbrin::win32 {

HBITMAP LoadPicture(form::Picture picture, UINT dpi) {
    if (picture == form::Picture::None) {
        return nullptr;
    }
    const int resource = picture == form::Picture::SampleExpanded ? KELBRIN_SAMPLE_EXPANDED_BITMAP
                                                                  : KELBRIN_SAMPLE_ORIGINAL_BITMAP;
    auto* bitmap =
        static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr || dpi == 96) {
        return bitmap;
    }
    BITMAP size{};
    ::GetObjectW(bitmap, sizeof size, &size);
    return static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP,
                                            ::MulDiv(size.bmWidth, static_cast<int>(dpi), 96),
                                            ::MulDiv(size.bmHeight, static_cast<int>(dpi), 96),
                                            LR_CREATEDIBSECTION | LR_COPYDELETEORG));
}

} // namespace kelbrin::win32
