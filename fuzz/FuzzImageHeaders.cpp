// Image header reading of the toolkit (skin pictures and icons): any bytes
// give a size or a clean false, never a crash or a negative size.
#include "ui/toolkit/MRender.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int width = -1;
    int height = -1;
    const bool ok = DUI::MRender::GetImageSizeFromBytes(
        std::string_view(reinterpret_cast<const char*>(data), size), width, height);
    if (ok ? (width <= 0 || height <= 0) : (width != 0 || height != 0)) std::abort();
    return 0;
}
