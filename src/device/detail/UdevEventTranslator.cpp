// Add/remove translation with the remembered path texts.
#include "device/detail/UdevEventTranslator.h"

namespace quorvik::detail {

void UdevEventTranslator::remember(const std::string& syspath, std::string_view devnode,
                                   const UsbSysfsIdentity& usb) {
    if (syspath.empty()) return;
    m_paths[syspath] = hotPlugPathText(devnode, usb);
}

std::optional<HidHotPlugEvent> UdevEventTranslator::translate(std::string_view action,
                                                              const std::string& syspath,
                                                              std::string_view devnode,
                                                              const ReadIdentity& readIdentity) {
    if (action == "add") {
        HidHotPlugEvent event{HidHotPlugEvent::Kind::Arrival,
                              hotPlugPathText(devnode, readIdentity ? readIdentity() : UsbSysfsIdentity{})};
        if (!syspath.empty()) m_paths[syspath] = event.path;
        return event;
    }
    if (action == "remove") {
        HidHotPlugEvent event{HidHotPlugEvent::Kind::Removal, std::string(devnode)};
        const auto it = m_paths.find(syspath);
        if (it != m_paths.end()) {
            event.path = it->second;
            m_paths.erase(it);
        }
        return event;
    }
    return std::nullopt;
}

}  // namespace quorvik::detail
