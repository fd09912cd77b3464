// The firmware side of the vendor commands: what a mouse or receiver does with each request,
// its replies and the notices it sends by itself. It reads and builds the bytes on its own, so a
// fault in the host's encoders cannot be mirrored here. Not thread-safe: VirtualDevice guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/MouseSettings.h"
#include "sim/VirtualMouseConfig.h"

namespace quorvik {

class VirtualMouse {
public:
    // Input reports of the command collection: replies and notices.
    static constexpr std::size_t kInputReportSize = 32;
    // Output reports as the firmware sees them: report ID 0 plus 64 bytes.
    static constexpr std::size_t kOutputReportSize = 65;

    // Reply status values. 0 is success; the host treats anything else as
    // "not the reply yet".
    static constexpr std::uint8_t kStatusOk = 0x00;
    static constexpr std::uint8_t kStatusBusy = 0x01;
    static constexpr std::uint8_t kStatusBadChecksum = 0x02;
    static constexpr std::uint8_t kStatusUnknownCommand = 0x03;
    static constexpr std::uint8_t kStatusBadValue = 0x04;

    // Notice codes (byte 0 of an unsolicited report).
    static constexpr std::uint8_t kConnectionNotice = 0xC0;
    static constexpr std::uint8_t kDpiNotice = 0xC2;

    using Report = std::vector<std::uint8_t>;

    explicit VirtualMouse(const VirtualMouseConfig& config);

    // One request as written to the command collection: byte 0 is the report
    // ID, bytes 1..32 the command packet (at least 33 bytes). Returns the
    // reply report (kInputReportSize bytes, no report ID), or nothing when the
    // firmware does not answer: a receiver whose mouse is off answers only
    // identify.
    std::optional<Report> handleCommand(std::span<const std::uint8_t> request);

    const MouseSettings& settings() const { return m_settings; }
    const VirtualMouseConfig& config() const { return m_config; }
    bool mouseOnline() const { return m_online; }
    std::uint8_t battery() const { return m_battery; }
    std::uint8_t charging() const { return m_charging; }

    // Switches the wireless mouse behind a receiver on or off; returns the
    // connection notice the receiver sends (nothing for a wired mouse, which
    // is always online, or when nothing changed).
    std::optional<Report> setMouseOnline(bool online);

    // New battery level and charging state; returns the connection notice
    // carrying them, or nothing while the wireless mouse is off.
    std::optional<Report> setBattery(std::uint8_t level, std::uint8_t charging);

    // The mouse's DPI button: the next stage becomes current (wrapping after
    // the last); returns the DPI notice, or nothing while the mouse is off.
    std::optional<Report> pressDpiButton();

private:
    using Reply = std::array<std::uint8_t, kInputReportSize>;
    using Handler = std::uint8_t (VirtualMouse::*)(std::span<const std::uint8_t>, Reply&);

    struct CommandRule {
        std::uint8_t code;
        std::uint8_t writeFlag;   // request byte 3 the command must carry
        int length;               // request byte 4 it must carry; -1 checked by the handler
        bool echoesRequest;       // write: the reply echoes the request
        Handler handler;
    };
    static const CommandRule kCommands[];

    std::uint8_t identify(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setReportRate(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setDpiStages(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setDpiColors(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setLighting(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setLiftOff(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setPowerOptions(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t uploadMacro(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t setKeyTable(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t resetLighting(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t factoryReset(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readStart(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readReportRate(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readDpiStages(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readDpiColors(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readLighting(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readLiftOff(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readPowerOptions(std::span<const std::uint8_t> request, Reply& reply);
    std::uint8_t readMouseFirmware(std::span<const std::uint8_t> request, Reply& reply);

    bool acceptsReportRate(std::uint8_t code) const;
    Report connectionNotice() const;

    VirtualMouseConfig m_config;
    MouseSettings m_settings;
    bool m_online = true;
    std::uint8_t m_battery = 0;
    std::uint8_t m_charging = 0;

    // A macro arriving in several chunks is assembled here until its last chunk.
    std::vector<std::uint8_t> m_macroData;
    int m_macroChunkCount = 0;  // 0: no upload in progress
    int m_macroNextChunk = 0;
};

}  // namespace quorvik
