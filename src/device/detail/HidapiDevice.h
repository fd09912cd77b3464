// One open hidapi handle behind the HidDevice interface. Only HidapiBackend
// creates these.
#pragma once

#include <string>

#include "device/HidDevice.h"

struct hid_device_;

namespace quorvik::detail {

// hidapi's wide strings (UTF-32 on Linux) as UTF-8; empty for null.
std::string hidWideToUtf8(const wchar_t* text);

class HidapiDevice : public HidDevice {
public:
    explicit HidapiDevice(hid_device_* handle);
    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    int write(const std::uint8_t* data, std::size_t length) override;
    int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) override;
    std::string productString() override;
    void close() override;

private:
    hid_device_* m_handle = nullptr;
};

}  // namespace quorvik::detail
