// A minimal host for the simulator tests: builds raw 33/65-byte requests by
// hand (report ID, command, status, write flag, length, payload, checksum over
// bytes 5..31) and runs one write-then-read transact on an open collection.
// Deliberately independent of src/protocol.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "device/HidDevice.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik::simtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes request(std::uint8_t command, std::uint8_t writeFlag, std::uint8_t length,
                     const Bytes& payload = {}, std::size_t size = 33) {
    Bytes r(size, 0);
    r[1] = command;
    r[3] = writeFlag;
    r[4] = length;
    for (std::size_t i = 0; i < payload.size() && 5 + i < 32; ++i) r[5 + i] = payload[i];
    unsigned sum = 0;
    for (std::size_t i = 5; i <= 31; ++i) sum += r[i];
    r[32] = static_cast<std::uint8_t>(sum & 0xFF);
    return r;
}

inline Bytes readRequest(std::uint8_t command) { return request(command, 0x00, 0x00); }

// Writes the request and returns the first report read within timeoutMs
// (any status); nothing when the write fails or no report came.
inline std::optional<Bytes> transact(HidDevice& device, const Bytes& req, int timeoutMs = 200) {
    if (device.write(req.data(), req.size()) <= 0) return std::nullopt;
    Bytes reply(65, 0);
    const int n = device.readTimeout(reply.data(), reply.size(), timeoutMs);
    if (n <= 0) return std::nullopt;
    reply.resize(static_cast<std::size_t>(n));
    return reply;
}

// The path of the collection with this usage page and usage on vid:pid.
inline std::string pathOf(SimulatedHidBackend& backend, std::uint16_t pid,
                          std::uint16_t usagePage = 1, std::uint16_t usage = 0) {
    for (const HidInterfaceInfo& info : backend.enumerate())
        if (info.pid == pid && info.usagePage == usagePage && info.usage == usage) return info.path;
    return {};
}

inline std::unique_ptr<HidDevice> openCommands(SimulatedHidBackend& backend, std::uint16_t pid) {
    return backend.openPath(pathOf(backend, pid));
}

inline Bytes slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + from, bytes.begin() + from + count);
}

}  // namespace quorvik::simtest
