// The firmware loader's reports: 64 bytes, report ID 0x05, 0x02, the length of what follows
// byte 3, then a body; unnamed bytes are 0xFF. Data reports carry one to three 20-byte records:
// record number (16 bits, low first), 16 image bytes (0xFF past the image), CRC-16/MODBUS.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvik {

inline constexpr std::size_t kLoaderReportSize = 64;
inline constexpr std::size_t kLoaderRecordSize = 20;
inline constexpr std::size_t kLoaderRecordData = 16;
inline constexpr std::size_t kLoaderRecordsPerReport = 3;
inline constexpr std::size_t kLoaderBodyOffset = 4;
inline constexpr std::uint8_t kLoaderReportId = 0x05;
inline constexpr std::uint8_t kLoaderMarker = 0x02;
inline constexpr std::uint8_t kLoaderFill = 0xFF;
// Records are numbered with 16 bits, so an image has at most 65536 records.
inline constexpr std::size_t kMaxLoaderImageSize = 65536 * kLoaderRecordData;
static_assert(kLoaderBodyOffset + kLoaderRecordsPerReport * kLoaderRecordSize == kLoaderReportSize);

using LoaderReport = std::array<std::uint8_t, kLoaderReportSize>;
using LoaderRecordBytes = std::array<std::uint8_t, kLoaderRecordSize>;

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t crc16Modbus(std::span<const std::uint8_t> bytes);

// A record for image bytes `data` (at most 16; the rest 0xFF).
LoaderRecordBytes loaderRecord(std::uint16_t number, std::span<const std::uint8_t> data);

LoaderReport loaderStartReport();
LoaderReport loaderEndReport();
// A data report with the given records (one to three; more are left out).
LoaderReport loaderDataReport(std::span<const LoaderRecordBytes> records);

// The data reports for a whole image: reports of three records for each 48 bytes, then one
// report with as many records as the rest needs. Empty for an empty image or one too large to
// number (records would repeat numbers and overwrite the start of the firmware).
std::vector<LoaderReport> loaderDataReports(std::span<const std::uint8_t> image);

// Progress shown after `reportsSent` full data reports of an image of `imageSize` bytes:
// 90 per report divided by the number of full reports, plus 10.
int flashProgressPercent(int reportsSent, std::size_t imageSize);

// A loader report read back, as the loader would see it (used to check what is sent).
enum class LoaderReportKind : std::uint8_t { Start, End, Data };
struct LoaderRecord {
    std::uint16_t number = 0;
    std::array<std::uint8_t, kLoaderRecordData> data{};
    bool crcValid = false;
};
struct ParsedLoaderReport {
    LoaderReportKind kind = LoaderReportKind::Start;
    std::vector<LoaderRecord> records;
};

// Nothing when the bytes are not a well-formed loader report (size, header, length byte).
std::optional<ParsedLoaderReport> parseLoaderReport(std::span<const std::uint8_t> bytes);

}  // namespace quorvik
