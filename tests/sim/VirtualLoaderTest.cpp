// The simulated loader through its own collection (usage page 0xFFEF): a
// 64 KiB image flashed in numbered, CRC-protected records is assembled
// exactly; a bad CRC, a record out of sequence or data without a start is
// refused.
#include <gtest/gtest.h>

#include <numeric>

#include "SimHost.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;

// Loader reports built by hand from the report layout.
Bytes loaderReport(std::uint8_t length, const Bytes& body) {
    Bytes r(64, 0xFF);
    r[0] = 0x05;
    r[1] = 0x02;
    r[2] = length;
    r[3] = 0x00;
    std::copy(body.begin(), body.end(), r.begin() + 4);
    return r;
}
Bytes startReport() { return loaderReport(0x02, {0x01, 0xFF}); }
Bytes endReport() { return loaderReport(0x06, {0x02}); }

// Records numbered from `first` for image bytes 16 * first onward.
Bytes dataReport(const Bytes& image, int first, int records) {
    Bytes body;
    for (int r = 0; r < records; ++r) {
        const int number = first + r;
        Bytes record{static_cast<std::uint8_t>(number & 0xFF), static_cast<std::uint8_t>(number >> 8)};
        for (int i = 0; i < 16; ++i) {
            const std::size_t at = 16 * static_cast<std::size_t>(number) + i;
            record.push_back(at < image.size() ? image[at] : 0xFF);
        }
        const std::uint16_t crc = VirtualLoader::crc16Modbus(record);
        record.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        record.push_back(static_cast<std::uint8_t>(crc >> 8));
        body.insert(body.end(), record.begin(), record.end());
    }
    return loaderReport(static_cast<std::uint8_t>(20 * records), body);
}

// The reports that carry an image: three records each, one shorter report
// for the rest.
std::vector<Bytes> imageReports(const Bytes& image) {
    std::vector<Bytes> reports;
    const int records = static_cast<int>((image.size() + 15) / 16);
    for (int first = 0; first < records; first += 3)
        reports.push_back(dataReport(image, first, std::min(3, records - first)));
    return reports;
}

TEST(LoaderCrc, IsModbusCrc16) {
    Bytes record{0x00, 0x00};
    for (int i = 0; i < 16; ++i) record.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(VirtualLoader::crc16Modbus(record), 0xF37B);
    const std::string check = "123456789";
    EXPECT_EQ(VirtualLoader::crc16Modbus(Bytes(check.begin(), check.end())), 0x4B37);
    EXPECT_EQ(VirtualLoader::crc16Modbus({}), 0xFFFF);
}

class VirtualLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hid = m_backend.openPath(simtest::pathOf(m_backend, 0x0001, 0xFFEF, 0x0000));
        ASSERT_NE(m_hid, nullptr);
        m_device = m_backend.findDevice(0x1209, 0x0001);
    }
    // Writes one report; returns the acknowledgement's status byte.
    int put(const Bytes& report) {
        if (m_hid->write(report.data(), report.size()) != static_cast<int>(report.size())) return -1;
        Bytes ack(64);
        if (m_hid->readTimeout(ack.data(), ack.size(), 100) != 64) return -2;
        return ack[2];
    }

    SimulatedHidBackend m_backend;
    std::unique_ptr<HidDevice> m_hid;
    std::shared_ptr<VirtualDevice> m_device;
};

TEST_F(VirtualLoaderTest, Assembles64KiBImage) {
    Bytes image(64 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>((i * 7 + (i >> 8)) & 0xFF);
    const auto reports = imageReports(image);
    ASSERT_EQ(reports.size(), 1366u);
    EXPECT_EQ(put(startReport()), 0);
    for (const Bytes& r : reports) ASSERT_EQ(put(r), 0);
    EXPECT_EQ(m_device->flashState(), FlashState::Receiving);
    EXPECT_EQ(put(endReport()), 0);
    EXPECT_EQ(m_device->flashState(), FlashState::Complete);
    EXPECT_EQ(m_device->flashedImage(), image);
    EXPECT_EQ(m_device->completedFlashes(), 1);
}

TEST_F(VirtualLoaderTest, ShortImageKeepsThePaddingOfItsLastRecord) {
    Bytes image(100);
    std::iota(image.begin(), image.end(), 0);
    const auto reports = imageReports(image);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[2][2], 0x14);
    put(startReport());
    for (const Bytes& r : reports) EXPECT_EQ(put(r), 0);
    put(endReport());
    Bytes expected = image;
    expected.resize(112, 0xFF);
    EXPECT_EQ(m_device->flashedImage(), expected);
}

TEST_F(VirtualLoaderTest, RefusesBrokenTransfers) {
    Bytes image(480);
    std::iota(image.begin(), image.end(), 1);
    const auto good = imageReports(image);  // ten reports, records 0..29
    Bytes badCrc = good[1];
    badCrc[24 + 18] ^= 0x01;  // CRC of the second record
    Bytes badData = good[1];
    badData[4 + 5] ^= 0x80;  // an image byte of the first record
    struct Case {
        const char* name;
        std::vector<Bytes> reports;  // after a start report
        bool start;
        FlashError error;
    } cases[] = {
        // First, while the loader has seen nothing yet.
        {"data without start", {good[0]}, false, FlashError::NotStarted},
        {"bad CRC", {good[0], badCrc, good[2]}, true, FlashError::BadCrc},
        {"corrupted data", {good[0], badData}, true, FlashError::BadCrc},
        {"record skipped", {good[0], good[2]}, true, FlashError::BadRecordNumber},
        {"record repeated", {good[0], good[0]}, true, FlashError::BadRecordNumber},
        {"starts at record 3", {good[1]}, true, FlashError::BadRecordNumber},
        {"unknown length", {loaderReport(0x15, {})}, true, FlashError::BadReport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.start) {
            EXPECT_EQ(put(startReport()), 0);
        }
        int status = 0;
        for (const Bytes& r : c.reports) status = put(r);
        EXPECT_EQ(status, static_cast<int>(c.error));
        if (c.start && c.error != FlashError::BadReport) {
            EXPECT_EQ(m_device->flashState(), FlashState::Failed);
            EXPECT_EQ(m_device->flashError(), c.error);
            // The end report does not turn a failed transfer into a flashed image.
            EXPECT_NE(put(endReport()), 0);
            EXPECT_EQ(m_device->flashState(), FlashState::Failed);
        }
    }
    EXPECT_EQ(m_device->completedFlashes(), 0);

    // A new start begins a clean transfer.
    EXPECT_EQ(put(startReport()), 0);
    for (const Bytes& r : good) EXPECT_EQ(put(r), 0);
    EXPECT_EQ(put(endReport()), 0);
    EXPECT_EQ(m_device->flashedImage(), image);
}

TEST_F(VirtualLoaderTest, RefusesWhatIsNotALoaderReport) {
    Bytes wrongId = startReport();
    wrongId[0] = 0x00;
    EXPECT_EQ(put(wrongId), static_cast<int>(FlashError::BadReport));
    EXPECT_EQ(put(Bytes{0x05, 0x02, 0x02}), static_cast<int>(FlashError::BadReport));
    EXPECT_EQ(put(endReport()), static_cast<int>(FlashError::NotStarted));
    EXPECT_EQ(m_device->flashState(), FlashState::Idle);
}

}  // namespace
}  // namespace quorvik
