// Formatting of the firmware version texts.
#include "protocol/FirmwareVersion.h"

#include "base/Text.h"

namespace quorvik {

std::string releaseVersionText(std::uint32_t release) {
    return format("%X", static_cast<unsigned>(release));
}

std::string wirelessFirmwareText(std::uint8_t high, std::uint8_t low) {
    return format("%X%02X", static_cast<unsigned>(high), static_cast<unsigned>(low));
}

std::string versionNumberText(std::string_view versionText, VersionPrefix prefix) {
    const std::string_view first = versionText.substr(0, 1);
    const std::string_view lastTwo =
        versionText.size() > 2 ? versionText.substr(versionText.size() - 2) : versionText;
    std::string out;
    if (prefix == VersionPrefix::V) out += 'V';
    out += first;
    out += '.';
    out += lastTwo;
    return out;
}

std::string versionDisplayText(std::string_view label, std::string_view versionText, VersionPrefix prefix) {
    return std::string(label) + ": " + versionNumberText(versionText, prefix);
}

}  // namespace quorvik
