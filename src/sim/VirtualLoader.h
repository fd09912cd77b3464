// The firmware loader of a simulated device: takes the start, data and end reports, checks
// every record's CRC-16/MODBUS and number, and assembles the image. Not thread-safe:
// VirtualDevice guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quorvik {

enum class FlashState { Idle, Receiving, Complete, Failed };

enum class FlashError {
    None,
    BadReport,        // not a loader report, or a length the loader does not know
    NotStarted,       // data or end without a start
    BadCrc,           // a record's CRC does not match its 18 bytes
    BadRecordNumber,  // a record out of sequence
    Interrupted,      // the device went away during the transfer
};

class VirtualLoader {
public:
    static constexpr std::size_t kReportSize = 64;
    static constexpr std::uint8_t kReportId = 0x05;
    static constexpr std::size_t kRecordSize = 20;
    static constexpr std::size_t kRecordDataSize = 16;

    // CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF.
    static std::uint16_t crc16Modbus(std::span<const std::uint8_t> bytes);

    // One report as written (byte 0 the report ID). Returns the acknowledgement
    // report the loader queues: 05 02, then 0 when accepted or the FlashError
    // value, then the next expected record number (low byte first).
    std::vector<std::uint8_t> handleReport(std::span<const std::uint8_t> report);

    // The device was unplugged: a transfer in progress fails.
    void interrupt();

    FlashState state() const { return m_state; }
    FlashError error() const { return m_error; }
    // The image assembled so far (complete after the end report); the last
    // record keeps its 0xFF padding.
    const std::vector<std::uint8_t>& image() const { return m_image; }
    int recordsAccepted() const { return m_nextRecord; }
    int completedFlashes() const { return m_completed; }

private:
    FlashError takeRecords(std::span<const std::uint8_t> report, int records);
    void fail(FlashError error);

    FlashState m_state = FlashState::Idle;
    FlashError m_error = FlashError::None;
    std::vector<std::uint8_t> m_image;
    int m_nextRecord = 0;
    int m_completed = 0;
};

}  // namespace quorvik
