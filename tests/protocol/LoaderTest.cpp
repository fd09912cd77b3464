// Firmware loader reports: CRC, records, the split of an image into reports, progress, and
// reading the reports back.
#include "protocol/Loader.h"

#include <numeric>

#include <gtest/gtest.h>

#include "ProtocolTestHelpers.h"

namespace quorvik {
namespace {

using testing::hexText;

std::vector<std::uint8_t> imageOf(std::size_t size) {
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

TEST(Crc16Modbus, KnownValues) {
    std::vector<std::uint8_t> record0(18, 0);
    std::iota(record0.begin() + 2, record0.end(), 0);
    EXPECT_EQ(crc16Modbus(record0), 0xF37B);
    const std::string check = "123456789";
    EXPECT_EQ(crc16Modbus(std::vector<std::uint8_t>(check.begin(), check.end())), 0x4B37);
    EXPECT_EQ(crc16Modbus({}), 0xFFFF);
}

TEST(LoaderRecord, NumberDataPaddingAndCrc) {
    std::vector<std::uint8_t> bytes(16);
    std::iota(bytes.begin(), bytes.end(), 0);
    EXPECT_EQ(hexText(loaderRecord(0, bytes)), "00 00 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 7B F3");

    const std::vector<std::uint8_t> four = {1, 2, 3, 4};
    const auto padded = loaderRecord(0x0102, four);
    EXPECT_EQ(hexText(std::span(padded).first(18)), "02 01 01 02 03 04 FF FF FF FF FF FF FF FF FF FF FF FF");
    const std::uint16_t crc = crc16Modbus(std::span(padded).first(18));
    EXPECT_EQ(padded[18], crc & 0xFF);
    EXPECT_EQ(padded[19], crc >> 8);
}

TEST(LoaderReports, StartAndEnd) {
    std::string fill;
    for (int i = 0; i < 58; ++i) fill += " FF";
    EXPECT_EQ(hexText(loaderStartReport()), "05 02 02 00 01 FF" + fill);
    EXPECT_EQ(hexText(loaderEndReport()), "05 02 06 00 02 FF" + fill);
}

TEST(LoaderReports, ImageSplit) {
    struct Case {
        const char* name;
        std::size_t size;
        std::vector<int> lengthBytes;  // byte 2 of each data report
        // clang-format off
    } cases[] = {
        {"100 bytes: two full reports and one record", 100, {0x3C, 0x3C, 0x14}},
        {"96 bytes: no short report", 96, {0x3C, 0x3C}},
        {"10 bytes: one record", 10, {0x14}},
        {"16 bytes: one record", 16, {0x14}},
        {"17 bytes: two records", 17, {0x28}},
        {"32 bytes: two records", 32, {0x28}},
        {"33 bytes: three records", 33, {0x3C}},
        {"47 bytes: three records", 47, {0x3C}},
        {"49 bytes", 49, {0x3C, 0x14}},
        {"empty image", 0, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto image = imageOf(c.size);
        const auto reports = loaderDataReports(image);
        ASSERT_EQ(reports.size(), c.lengthBytes.size()) << c.name;
        for (std::size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i][0], 0x05) << c.name;
            EXPECT_EQ(reports[i][1], 0x02) << c.name;
            EXPECT_EQ(reports[i][2], c.lengthBytes[i]) << c.name << " report " << i;
            EXPECT_EQ(reports[i][3], 0x00) << c.name;
            for (std::size_t b = 4 + c.lengthBytes[i]; b < kLoaderReportSize; ++b)
                EXPECT_EQ(reports[i][b], 0xFF) << c.name << " report " << i << " byte " << b;
        }
    }
}

TEST(LoaderReports, HundredByteImageRecords) {
    const auto image = imageOf(100);
    const auto reports = loaderDataReports(image);
    ASSERT_EQ(reports.size(), 3u);
    std::vector<int> numbers;
    for (const auto& r : reports) {
        const auto parsed = parseLoaderReport(r);
        ASSERT_TRUE(parsed);
        for (const auto& rec : parsed->records) {
            numbers.push_back(rec.number);
            EXPECT_TRUE(rec.crcValid);
        }
    }
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    const auto last = parseLoaderReport(reports[2])->records[0];
    EXPECT_EQ(hexText(std::span(last.data).first(4)), hexText(std::span(image).subspan(96, 4)));
    for (std::size_t i = 4; i < 16; ++i) EXPECT_EQ(last.data[i], 0xFF);
}

TEST(LoaderReports, EveryImageSizeReadsBackWhole) {
    for (std::size_t size = 1; size <= 200; ++size) {
        const auto image = imageOf(size);
        std::vector<std::uint8_t> rebuilt;
        std::uint16_t expectedNumber = 0;
        for (const auto& report : loaderDataReports(image)) {
            const auto parsed = parseLoaderReport(report);
            ASSERT_TRUE(parsed);
            ASSERT_EQ(parsed->kind, LoaderReportKind::Data);
            for (const auto& rec : parsed->records) {
                ASSERT_EQ(rec.number, expectedNumber++);
                ASSERT_TRUE(rec.crcValid);
                rebuilt.insert(rebuilt.end(), rec.data.begin(), rec.data.end());
            }
        }
        ASSERT_EQ(rebuilt.size(), (size + 15) / 16 * 16);
        ASSERT_TRUE(std::equal(image.begin(), image.end(), rebuilt.begin())) << size;
        for (std::size_t i = size; i < rebuilt.size(); ++i) ASSERT_EQ(rebuilt[i], 0xFF);
    }
}

TEST(LoaderReports, ImageTooLargeToNumberIsRefused) {
    const std::vector<std::uint8_t> fits(kMaxLoaderImageSize, 0x11);
    const auto reports = loaderDataReports(fits);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(parseLoaderReport(reports.back())->records.back().number, 0xFFFF);
    const std::vector<std::uint8_t> tooLarge(kMaxLoaderImageSize + 1, 0x11);
    EXPECT_TRUE(loaderDataReports(tooLarge).empty());
}

TEST(LoaderReports, ParseRejectsMalformed) {
    auto good = loaderDataReports(imageOf(48))[0];
    struct Case {
        const char* name;
        std::size_t at;
        std::uint8_t value;
        // clang-format off
    } cases[] = {
        {"report id", 0, 0x06}, {"marker", 1, 0x03}, {"byte 3", 3, 0x01},
        {"length not a record multiple", 2, 0x15}, {"length zero", 2, 0x00}, {"four records", 2, 0x50},
    };
    // clang-format on
    for (const auto& c : cases) {
        auto bad = good;
        bad[c.at] = c.value;
        EXPECT_FALSE(parseLoaderReport(bad)) << c.name;
    }
    EXPECT_FALSE(parseLoaderReport(std::span(good).first(63)));
    auto corrupted = good;
    corrupted[10] ^= 0x01;
    const auto parsed = parseLoaderReport(corrupted);
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->records[0].crcValid);
    EXPECT_TRUE(parsed->records[1].crcValid);
    EXPECT_EQ(parseLoaderReport(loaderStartReport())->kind, LoaderReportKind::Start);
    EXPECT_EQ(parseLoaderReport(loaderEndReport())->kind, LoaderReportKind::End);
}

TEST(FlashProgress, PercentAfterEachFullReport) {
    struct Case {
        std::size_t size;
        int sent, percent;
        // clang-format off
    } cases[] = {
        {96, 1, 55}, {96, 2, 100}, {100, 2, 100}, {480, 1, 19}, {480, 10, 100},
        {65536, 1, 10}, {65536, 1365, 100}, {10, 0, 10}, {48, 1, 100},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(flashProgressPercent(c.sent, c.size), c.percent) << c.size << " after " << c.sent;
}

}  // namespace
}  // namespace quorvik
