// Skin images and icons: resolves image names against the skin folder, reads
// an image's pixel size from its file header, and loads icons into handles
// that windows and the tray icon carry.
#pragma once

#include "ui/toolkit/Messages.h"

#include <string>
#include <string_view>

namespace DUI {

class MRender {
public:
    // A handle for the icon file; 0 when the file cannot be read or is not an
    // image (PNG, ICO, BMP, GIF or JPEG).
    static HICON LoadIconFromFile(const std::string& path);
    // The file behind a handle; empty for 0 or an unknown handle.
    static std::string GetIconPath(HICON icon);
    // Skin folder + name; backslashes in the name become slashes; an absolute
    // name is returned as it is.
    static std::string ResolveSkinPath(const std::string& name);
    // Width and height from the image file's header; false (and 0 x 0) when
    // the file is missing, truncated or of an unknown format.
    static bool GetImageSize(const std::string& path, int& width, int& height);
    // The same from the first bytes of an image file (64 KiB are enough).
    static bool GetImageSizeFromBytes(std::string_view bytes, int& width, int& height);
};

}  // namespace DUI
