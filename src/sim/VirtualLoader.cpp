// Loader report parsing: 05 02 <length> 00, then the body. Start has length 2
// and body 01 FF; end has length 6 and body 02; data has 20 bytes per record
// (one to three records at bytes 4, 24 and 44).
#include "sim/VirtualLoader.h"

namespace quorvik {

namespace {

constexpr std::size_t kMaxRecords = 0x10000;  // record numbers are 16-bit

}  // namespace

std::uint16_t VirtualLoader::crc16Modbus(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

void VirtualLoader::fail(FlashError error) {
    m_state = FlashState::Failed;
    m_error = error;
}

void VirtualLoader::interrupt() {
    if (m_state == FlashState::Receiving) fail(FlashError::Interrupted);
}

FlashError VirtualLoader::takeRecords(std::span<const std::uint8_t> report, int records) {
    for (int r = 0; r < records; ++r) {
        const std::span<const std::uint8_t> record = report.subspan(4 + kRecordSize * r, kRecordSize);
        const std::uint16_t crc = static_cast<std::uint16_t>(record[18] | (record[19] << 8));
        if (crc16Modbus(record.first(18)) != crc) return FlashError::BadCrc;
        const int number = record[0] | (record[1] << 8);
        if (number != m_nextRecord || static_cast<std::size_t>(number) >= kMaxRecords)
            return FlashError::BadRecordNumber;
        m_image.insert(m_image.end(), record.begin() + 2, record.begin() + 2 + kRecordDataSize);
        ++m_nextRecord;
    }
    return FlashError::None;
}

std::vector<std::uint8_t> VirtualLoader::handleReport(std::span<const std::uint8_t> report) {
    FlashError result = FlashError::None;
    if (report.size() < kReportSize || report[0] != kReportId || report[1] != 0x02 ||
        report[3] != 0x00) {
        result = FlashError::BadReport;
    } else if (report[2] == 0x02 && report[4] == 0x01) {
        m_state = FlashState::Receiving;
        m_error = FlashError::None;
        m_image.clear();
        m_nextRecord = 0;
    } else if (report[2] == 0x06 && report[4] == 0x02) {
        if (m_state == FlashState::Receiving) {
            m_state = FlashState::Complete;
            ++m_completed;
        } else if (m_state != FlashState::Failed) {
            result = FlashError::NotStarted;
        } else {
            result = m_error;
        }
    } else if (report[2] == 0x14 || report[2] == 0x28 || report[2] == 0x3C) {
        if (m_state == FlashState::Receiving) {
            result = takeRecords(report, report[2] / 20);
            if (result != FlashError::None) fail(result);
        } else if (m_state == FlashState::Failed) {
            result = m_error;  // everything after a rejected record is refused too
        } else {
            result = FlashError::NotStarted;
        }
    } else {
        result = FlashError::BadReport;
    }

    std::vector<std::uint8_t> ack(kReportSize, 0);
    ack[0] = kReportId;
    ack[1] = 0x02;
    ack[2] = static_cast<std::uint8_t>(result);
    ack[3] = static_cast<std::uint8_t>(m_nextRecord & 0xFF);
    ack[4] = static_cast<std::uint8_t>((m_nextRecord >> 8) & 0xFF);
    return ack;
}

}  // namespace quorvik
