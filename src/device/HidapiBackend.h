// The HID seam over hidapi's hidraw backend: the real devices. Usage page and
// usage come from hidapi's enumeration, which reads them from each hidraw
// node's report descriptor (one record per top-level collection).
#pragma once

#include "device/HidBackend.h"

namespace quorvik {

class HidapiBackend : public HidBackend {
public:
    bool init() override;
    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidDevice> openPath(const std::string& path) override;

private:
    bool m_ready = false;
};

}  // namespace quorvik
