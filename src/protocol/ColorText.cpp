// Colour text reading.
#include "protocol/ColorText.h"

#include <string>

#include "base/Text.h"

namespace quorvik {
namespace {

int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

// Leading hexadecimal digits of text[from, from+count) as a number (0 when there are none).
int readPart(const std::u32string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count && i < text.size(); ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0) break;
        value = value * 16 + d;
    }
    return value;
}

std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    const std::u16string wide = utf8ToUtf16(utf8);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        out.push_back(c);
    }
    return out;
}

}  // namespace

int parseColorText(std::string_view text) {
    const std::u32string all = codePoints(text);
    if (all.empty()) return 0;
    const std::u32string digits = all.substr(1);
    int red = 0, green = 0, blue = 0;
    switch (digits.size()) {
        case 2:
            red = readPart(digits, 0, 2);
            break;
        case 3:
            red = readPart(digits, 0, 2);
            green = readPart(digits, 2, 1);
            break;
        case 4:
            red = readPart(digits, 0, 2);
            green = readPart(digits, 2, 2);
            break;
        case 5:
            red = readPart(digits, 0, 2);
            green = readPart(digits, 2, 2);
            blue = readPart(digits, 4, 1);
            break;
        case 6:
            red = readPart(digits, 0, 2);
            green = readPart(digits, 2, 2);
            blue = readPart(digits, 4, 2);
            break;
        default:
            return 0;
    }
    return red + green * 256 + blue * 65536;
}

}  // namespace quorvik
