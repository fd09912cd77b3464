// Building and reading firmware loader reports.
#include "protocol/Loader.h"

#include <algorithm>

namespace quorvik {
namespace {

constexpr std::uint8_t kStartLength = 0x02;
constexpr std::uint8_t kStartBody = 0x01;
constexpr std::uint8_t kEndLength = 0x06;
constexpr std::uint8_t kEndBody = 0x02;
constexpr std::size_t kLengthOffset = 2;

LoaderReport header(std::uint8_t length) {
    LoaderReport r;
    r.fill(kLoaderFill);
    r[0] = kLoaderReportId;
    r[1] = kLoaderMarker;
    r[kLengthOffset] = length;
    r[3] = 0x00;
    return r;
}

}  // namespace

std::uint16_t crc16Modbus(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

LoaderRecordBytes loaderRecord(std::uint16_t number, std::span<const std::uint8_t> data) {
    LoaderRecordBytes r;
    r.fill(kLoaderFill);
    r[0] = static_cast<std::uint8_t>(number & 0xFF);
    r[1] = static_cast<std::uint8_t>(number >> 8);
    std::copy_n(data.begin(), std::min(data.size(), kLoaderRecordData), r.begin() + 2);
    const std::uint16_t crc = crc16Modbus(std::span(r).first(2 + kLoaderRecordData));
    r[18] = static_cast<std::uint8_t>(crc & 0xFF);
    r[19] = static_cast<std::uint8_t>(crc >> 8);
    return r;
}

LoaderReport loaderStartReport() {
    LoaderReport r = header(kStartLength);
    r[4] = kStartBody;
    return r;
}

LoaderReport loaderEndReport() {
    LoaderReport r = header(kEndLength);
    r[4] = kEndBody;
    return r;
}

LoaderReport loaderDataReport(std::span<const LoaderRecordBytes> records) {
    const std::size_t count = std::min(records.size(), kLoaderRecordsPerReport);
    LoaderReport r = header(static_cast<std::uint8_t>(kLoaderRecordSize * count));
    for (std::size_t i = 0; i < count; ++i)
        std::copy(records[i].begin(), records[i].end(),
                  r.begin() + kLoaderBodyOffset + i * kLoaderRecordSize);
    return r;
}

std::vector<LoaderReport> loaderDataReports(std::span<const std::uint8_t> image) {
    std::vector<LoaderReport> reports;
    if (image.empty() || image.size() > kMaxLoaderImageSize) return reports;
    const std::size_t perReport = kLoaderRecordData * kLoaderRecordsPerReport;
    reports.reserve((image.size() + perReport - 1) / perReport);
    std::size_t number = 0;
    for (std::size_t offset = 0; offset < image.size(); offset += perReport) {
        std::array<LoaderRecordBytes, kLoaderRecordsPerReport> records{};
        std::size_t count = 0;
        for (std::size_t at = offset; at < image.size() && count < kLoaderRecordsPerReport;
             at += kLoaderRecordData) {
            const std::size_t length = std::min(kLoaderRecordData, image.size() - at);
            records[count++] = loaderRecord(static_cast<std::uint16_t>(number++), image.subspan(at, length));
        }
        reports.push_back(loaderDataReport(std::span(records).first(count)));
    }
    return reports;
}

int flashProgressPercent(int reportsSent, std::size_t imageSize) {
    const std::size_t fullReports = imageSize / (kLoaderRecordData * kLoaderRecordsPerReport);
    if (fullReports == 0) return 10;
    return static_cast<int>(static_cast<std::size_t>(90 * std::max(reportsSent, 0)) / fullReports + 10);
}

std::optional<ParsedLoaderReport> parseLoaderReport(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kLoaderReportSize || bytes[0] != kLoaderReportId || bytes[1] != kLoaderMarker ||
        bytes[3] != 0x00)
        return std::nullopt;
    ParsedLoaderReport parsed;
    const std::uint8_t length = bytes[kLengthOffset];
    if (length == kStartLength && bytes[4] == kStartBody) {
        parsed.kind = LoaderReportKind::Start;
        return parsed;
    }
    if (length == kEndLength && bytes[4] == kEndBody) {
        parsed.kind = LoaderReportKind::End;
        return parsed;
    }
    if (length == 0 || length % kLoaderRecordSize != 0 ||
        length / kLoaderRecordSize > kLoaderRecordsPerReport)
        return std::nullopt;
    parsed.kind = LoaderReportKind::Data;
    for (std::size_t i = 0; i < length / kLoaderRecordSize; ++i) {
        const auto rec = bytes.subspan(kLoaderBodyOffset + i * kLoaderRecordSize, kLoaderRecordSize);
        LoaderRecord r;
        r.number = static_cast<std::uint16_t>(rec[0] | (rec[1] << 8));
        std::copy_n(rec.begin() + 2, kLoaderRecordData, r.data.begin());
        const std::uint16_t crc = static_cast<std::uint16_t>(rec[18] | (rec[19] << 8));
        r.crcValid = crc == crc16Modbus(rec.first(2 + kLoaderRecordData));
        parsed.records.push_back(r);
    }
    return parsed;
}

}  // namespace quorvik
