// Skin images and icons (see MRender.h). Only headers are read: enough to
// size a picture without decoding it, and the same answer in every backend.
#include "ui/toolkit/MRender.h"

#include "ui/toolkit/Manager.h"

#include <cstdint>
#include <fstream>
#include <mutex>
#include <vector>

namespace DUI {
namespace {

struct IconTable {
    std::mutex mutex;
    std::vector<std::string> paths;  // handle = index + 1
};

IconTable& icons() {
    static IconTable table;
    return table;
}

std::string readHead(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

unsigned byteAt(const std::string& b, std::size_t i) {
    return static_cast<unsigned char>(b[i]);
}
unsigned be16(const std::string& b, std::size_t i) {
    return byteAt(b, i) << 8 | byteAt(b, i + 1);
}
unsigned le16(const std::string& b, std::size_t i) {
    return byteAt(b, i) | byteAt(b, i + 1) << 8;
}
std::uint32_t be32(const std::string& b, std::size_t i) {
    return be16(b, i) << 16 | be16(b, i + 2);
}
std::int32_t le32(const std::string& b, std::size_t i) {
    return static_cast<std::int32_t>(le16(b, i) | le16(b, i + 2) << 16);
}

bool jpegSize(const std::string& b, int& width, int& height) {
    std::size_t i = 2;
    while (i + 9 <= b.size()) {
        if (byteAt(b, i) != 0xFF) return false;
        const unsigned marker = byteAt(b, i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const unsigned length = be16(b, i + 2);
        const bool sof =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            height = static_cast<int>(be16(b, i + 5));
            width = static_cast<int>(be16(b, i + 7));
            return width > 0 && height > 0;
        }
        if (length < 2) return false;
        i += 2 + length;
    }
    return false;
}

}  // namespace

bool MRender::GetImageSize(const std::string& path, int& width, int& height) {
    return GetImageSizeFromBytes(readHead(path, 1 << 16), width, height);
}

bool MRender::GetImageSizeFromBytes(std::string_view bytes, int& width, int& height) {
    width = 0;
    height = 0;
    const std::string b(bytes.substr(0, 1 << 16));
    int w = 0;
    int h = 0;
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 && b.compare(12, 4, "IHDR") == 0) {
        const std::uint32_t pw = be32(b, 16);
        const std::uint32_t ph = be32(b, 20);
        if (pw > 0x7FFFFFFF || ph > 0x7FFFFFFF) return false;
        w = static_cast<int>(pw);
        h = static_cast<int>(ph);
    } else if (b.size() >= 22 && le16(b, 0) == 0 && le16(b, 2) == 1 && le16(b, 4) >= 1) {
        w = byteAt(b, 6) == 0 ? 256 : static_cast<int>(byteAt(b, 6));
        h = byteAt(b, 7) == 0 ? 256 : static_cast<int>(byteAt(b, 7));
    } else if (b.size() >= 26 && b.compare(0, 2, "BM") == 0) {
        const std::int32_t bw = le32(b, 18);
        const std::int32_t bh = le32(b, 22);
        if (bw <= 0 || bh == 0 || bh == INT32_MIN) return false;
        w = bw;
        h = bh < 0 ? -bh : bh;
    } else if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        w = static_cast<int>(le16(b, 6));
        h = static_cast<int>(le16(b, 8));
    } else if (b.size() >= 4 && byteAt(b, 0) == 0xFF && byteAt(b, 1) == 0xD8) {
        if (!jpegSize(b, w, h)) return false;
    } else {
        return false;
    }
    if (w <= 0 || h <= 0) return false;
    width = w;
    height = h;
    return true;
}

HICON MRender::LoadIconFromFile(const std::string& path) {
    int width = 0;
    int height = 0;
    if (!GetImageSize(path, width, height)) return 0;
    IconTable& table = icons();
    std::lock_guard lock(table.mutex);
    table.paths.push_back(path);
    return static_cast<HICON>(table.paths.size());
}

std::string MRender::GetIconPath(HICON icon) {
    IconTable& table = icons();
    std::lock_guard lock(table.mutex);
    if (icon == 0 || icon > table.paths.size()) return {};
    return table.paths[icon - 1];
}

std::string MRender::ResolveSkinPath(const std::string& name) {
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\') c = '/';
    if (!relative.empty() && relative.front() == '/') return relative;
    std::string folder = Manager::GetSkinFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + relative;
}

}  // namespace DUI
