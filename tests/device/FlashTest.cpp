// Firmware flashing into the simulated loader: the whole image arrives, the
// progress follows the full reports, and a broken exchange is a failure.
#include <gtest/gtest.h>

#include <numeric>

#include "DeviceTestSupport.h"
#include "device/FirmwareFlasher.h"
#include "protocol/Loader.h"
#include "sim/SimFault.h"

namespace quorvik::devicetest {
namespace {

class FlashTest : public DeviceFixture {
protected:
    static std::vector<std::uint8_t> image(std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
        return bytes;
    }
    // The loader keeps the 0xFF padding of the last record.
    static std::vector<std::uint8_t> padded(std::vector<std::uint8_t> bytes) {
        while (bytes.size() % 16 != 0) bytes.push_back(0xFF);
        return bytes;
    }
    FirmwareFlasher m_flasher{m_manager, m_events};
};

TEST_F(FlashTest, ImageOf64KiBEndsInTheLoaderUnchanged) {
    const std::vector<std::uint8_t> firmware = image(64 * 1024);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_flasher.flashImage(kVid, kM1Wired, firmware), FlashResult::Done);
    EXPECT_LT(secondsSince(start), 5.0);
    EXPECT_EQ(device(kM1Wired)->flashState(), FlashState::Complete);
    EXPECT_EQ(device(kM1Wired)->completedFlashes(), 1);
    EXPECT_EQ(device(kM1Wired)->flashedImage(), firmware);
    EXPECT_FALSE(m_manager.hasFlashInterface()) << "closed after the end report";

    const std::vector<int> progress = m_events.progress();
    ASSERT_EQ(progress.size(), 1365u);  // one per full report; the short last one shows none
    EXPECT_EQ(progress.front(), 90 / 1365 + 10);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST_F(FlashTest, ImageSizesAroundTheReportSize) {
    struct Case {
        const char* name;
        std::size_t size;
        std::size_t progressReports;
    };
    const Case cases[] = {
        {"10 bytes: one short report, no progress", 10, 0},
        {"96 bytes: two full reports", 96, 2},
        {"100 bytes: two full reports and a record of 4 bytes", 100, 2},
        {"47 bytes: three records in one short report", 47, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_events.clear();
        const std::vector<std::uint8_t> firmware = image(c.size);
        ASSERT_EQ(m_flasher.flashImage(kVid, kM2Wired, firmware), FlashResult::Done);
        EXPECT_EQ(device(kM2Wired)->flashedImage(), padded(firmware));
        EXPECT_EQ(m_events.progress().size(), c.progressReports);
    }
    EXPECT_EQ(flashProgressText("Updating", 55), "Updating: 55%");
}

TEST_F(FlashTest, BrokenExchangeInTheMiddleIsReportedAsAFailure) {
    device(kM1Receiver)->injectFault({FaultKind::UnplugDuringFlash, 1, 0, 2, 500});
    const std::vector<std::uint8_t> firmware = image(64 * 1024);
    EXPECT_EQ(m_flasher.flashImage(kVid, kM1Receiver, firmware), FlashResult::WriteFailed);
    EXPECT_NE(device(kM1Receiver)->flashState(), FlashState::Complete);
    EXPECT_EQ(device(kM1Receiver)->completedFlashes(), 0);
    EXPECT_LT(m_events.progress().size(), 500u);
}

TEST_F(FlashTest, NoLoaderOrNothingToWriteIsNeverDone) {
    EXPECT_EQ(m_flasher.flashImage(kVid, 0x7777, image(64)), FlashResult::NoLoader);
    EXPECT_FALSE(m_flasher.FlashStart()) << "no flash interface open";
    EXPECT_EQ(m_flasher.flashImage(kVid, kM1Wired, {}), FlashResult::BadImage);
    EXPECT_EQ(m_flasher.flashImage(kVid, kM1Wired, image(kMaxLoaderImageSize + 1)), FlashResult::BadImage);
    EXPECT_EQ(device(kM1Wired)->flashState(), FlashState::Idle) << "nothing was sent";

    // Called step by step, a write of nothing is not a success either.
    ASSERT_TRUE(m_manager.OpenFlashInterface(kVid, kM1Wired));
    ASSERT_TRUE(m_flasher.FlashStart());
    EXPECT_FALSE(m_flasher.FlashWrite({}));
    m_manager.closeFlashInterface();
}

// The simulator behind a seam whose devices refuse the next `refusals` writes.
class RefusingBackend : public HidBackend {
public:
    explicit RefusingBackend(std::shared_ptr<SimulatedHidBackend> inner) : m_inner(std::move(inner)) {}
    bool init() override { return true; }
    std::vector<HidInterfaceInfo> enumerate() override { return m_inner->enumerate(); }
    std::unique_ptr<HidDevice> openPath(const std::string& path) override {
        class Device : public HidDevice {
        public:
            Device(std::unique_ptr<HidDevice> inner, int& refusals)
                : m_inner(std::move(inner)), m_refusals(refusals) {}
            int write(const std::uint8_t* data, std::size_t length) override {
                if (m_refusals > 0) {
                    --m_refusals;
                    return -1;
                }
                return m_inner->write(data, length);
            }
            int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) override {
                return m_inner->readTimeout(data, length, timeoutMs);
            }
            std::string productString() override { return m_inner->productString(); }
            void close() override { m_inner->close(); }

        private:
            std::unique_ptr<HidDevice> m_inner;
            int& m_refusals;
        };
        std::unique_ptr<HidDevice> inner = m_inner->openPath(path);
        if (!inner) return nullptr;
        return std::make_unique<Device>(std::move(inner), refusals);
    }
    int refusals = 0;

private:
    std::shared_ptr<SimulatedHidBackend> m_inner;
};

TEST(FlashTransfer, RefusedWriteIsRetriedAndAStaleAnswerDoesNotCount) {
    auto sim = std::make_shared<SimulatedHidBackend>(configsWith({kM1Wired}));
    auto backend = std::make_shared<RefusingBackend>(sim);
    DeviceManager manager(backend);
    ASSERT_TRUE(manager.OpenFlashInterface(kVid, kM1Wired));
    ASSERT_TRUE(manager.FlashTransfer(loaderStartReport()));  // its answer stays unread

    backend->refusals = 1;  // refused once, the retry goes through and is answered
    EXPECT_TRUE(manager.FlashTransfer(loaderEndReport()));

    ASSERT_TRUE(manager.FlashTransfer(loaderStartReport()));
    backend->refusals = 2;  // refused twice: an answer is waiting, but not for this report
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(manager.FlashTransfer(loaderEndReport()));
    EXPECT_LT(secondsSince(start), 0.5);
    EXPECT_EQ(sim->findDevice(kVid, kM1Wired)->completedFlashes(), 1);
}

}  // namespace
}  // namespace quorvik::devicetest
