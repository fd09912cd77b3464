// Version texts: the USB release number of an interface ("%X") and the wireless mouse's own
// version from read 0x20 ("%X%02X"), shown as "<label>: V1.05" or "<label>: 1.05" (the first
// character, a dot, the last two characters).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvik {

enum class VersionPrefix : std::uint8_t { None, V };

// Release number (bcdDevice) in uppercase hexadecimal without leading zeros: 0x0105 -> "105".
std::string releaseVersionText(std::uint32_t release);

// Wireless mouse firmware from reply bytes 4 and 5: "%X%02X", 0x01 0x05 -> "105".
std::string wirelessFirmwareText(std::uint8_t high, std::uint8_t low);

// "<label>: [V]<first character>.<last two characters>"; a text of one or two characters
// supplies its whole self as the last two ("10" -> "1.10").
std::string versionDisplayText(std::string_view label, std::string_view versionText, VersionPrefix prefix);
// The same without the label: "[V]<first character>.<last two characters>".
std::string versionNumberText(std::string_view versionText, VersionPrefix prefix);

}  // namespace quorvik
