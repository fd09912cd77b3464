// hidapi read, write and product string for one open collection.
#include "device/detail/HidapiDevice.h"

#include <hidapi/hidapi.h>

#include "base/Text.h"

namespace quorvik::detail {

std::string hidWideToUtf8(const wchar_t* text) {
    std::string out;
    if (text == nullptr) return out;
    for (; *text != L'\0'; ++text) appendUtf8(out, static_cast<char32_t>(*text));
    return out;
}

HidapiDevice::HidapiDevice(hid_device* handle) : m_handle(handle) {}

HidapiDevice::~HidapiDevice() { close(); }

int HidapiDevice::write(const std::uint8_t* data, std::size_t length) {
    if (m_handle == nullptr || data == nullptr || length == 0) return -1;
    return hid_write(m_handle, data, length);
}

int HidapiDevice::readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) {
    if (m_handle == nullptr || data == nullptr || length == 0) return -1;
    return hid_read_timeout(m_handle, data, length, timeoutMs);
}

std::string HidapiDevice::productString() {
    if (m_handle == nullptr) return {};
    wchar_t text[512] = {};
    if (hid_get_product_string(m_handle, text, 512) != 0) return {};
    text[511] = L'\0';
    return hidWideToUtf8(text);
}

void HidapiDevice::close() {
    if (m_handle == nullptr) return;
    hid_close(m_handle);
    m_handle = nullptr;
}

}  // namespace quorvik::detail
