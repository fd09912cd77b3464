// hidapi calls behind the HID seam. hid_exit is not called: hidapi's state is
// process-wide and other backends may still use it; the system releases it at
// exit.
#include "device/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include "device/detail/HidapiDevice.h"

namespace quorvik {

bool HidapiBackend::init() {
    if (!m_ready) m_ready = hid_init() == 0;
    return m_ready;
}

std::vector<HidInterfaceInfo> HidapiBackend::enumerate() {
    std::vector<HidInterfaceInfo> result;
    if (!init()) return result;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* it = list; it != nullptr; it = it->next) {
        HidInterfaceInfo info;
        info.path = it->path != nullptr ? it->path : "";
        info.vid = it->vendor_id;
        info.pid = it->product_id;
        info.release = it->release_number;
        info.usagePage = it->usage_page;
        info.usage = it->usage;
        info.interfaceNumber = it->interface_number;
        info.product = detail::hidWideToUtf8(it->product_string);
        result.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidDevice> HidapiBackend::openPath(const std::string& path) {
    if (!init() || path.empty()) return nullptr;
    hid_device* handle = hid_open_path(path.c_str());
    if (handle == nullptr) return nullptr;
    return std::make_unique<detail::HidapiDevice>(handle);
}

}  // namespace quorvik
