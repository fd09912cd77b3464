// The simulated device set behind the HID seam: what enumeration shows, which
// collections take commands, per-handle input, unplugging and hot-plug
// events, and the notices the mice send by themselves.
#include <gtest/gtest.h>

#include <set>

#include "SimHost.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;
using simtest::readRequest;
using simtest::slice;
using simtest::transact;

TEST(SimulatedHidBackend, DefaultSetMatchesTheTwoModels) {
    SimulatedHidBackend backend;
    struct Expected {
        std::uint16_t pid;
        ConnectionMode mode;
        const char* devId;
    } expected[] = {
        {0x0001, ConnectionMode::Wired, "QV01"},
        {0x0002, ConnectionMode::Receiver, "QV01"},
        {0x0003, ConnectionMode::Wired, "QV02"},
        {0x0004, ConnectionMode::Receiver, "QV02"},
    };
    ASSERT_EQ(backend.deviceCount(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const VirtualMouseConfig& config = backend.device(i)->config();
        EXPECT_EQ(config.vid, 0x1209);
        EXPECT_EQ(config.pid, expected[i].pid);
        EXPECT_EQ(config.mode, expected[i].mode);
        EXPECT_EQ(config.devId, expected[i].devId);
    }
    EXPECT_EQ(backend.device(4), nullptr);
}

TEST(SimulatedHidBackend, EnumerationListsEveryCollectionOnce) {
    SimulatedHidBackend backend;
    const auto list = backend.enumerate();
    ASSERT_EQ(list.size(), 4 * standardCollections().size());
    std::set<std::string> paths;
    int commandCollections = 0;
    for (const HidInterfaceInfo& info : list) {
        EXPECT_TRUE(paths.insert(info.path).second) << "duplicate path " << info.path;
        EXPECT_EQ(info.vid, 0x1209);
        EXPECT_FALSE(info.product.empty());
        if (info.usagePage == 1 && info.usage == 0) {
            ++commandCollections;
            EXPECT_EQ(info.interfaceNumber, 2);
            EXPECT_NE(info.path.find("&MI_02"), std::string::npos);
        }
    }
    EXPECT_EQ(commandCollections, 4);
    EXPECT_EQ(simtest::pathOf(backend, 0x0001), "sim/VID_1209&PID_0001&MI_02/col01");
    EXPECT_EQ(list.front().release, 0x0105);
}

TEST(SimulatedHidBackend, DevicesOfTheSameIdentityGetDistinctPaths) {
    const auto defaults = defaultVirtualMouseConfigs();
    SimulatedHidBackend backend({defaults[1], defaults[1]});
    const auto list = backend.enumerate();
    std::set<std::string> paths;
    for (const auto& info : list) paths.insert(info.path);
    EXPECT_EQ(paths.size(), list.size());
    EXPECT_NE(backend.device(0)->collectionPath(2), backend.device(1)->collectionPath(2));
}

TEST(SimulatedHidBackend, OnlyTheCommandCollectionAnswersCommands) {
    SimulatedHidBackend backend;
    struct Case {
        const char* name;
        std::uint16_t usagePage, usage;
        bool answers;
    } cases[] = {
        {"vendor command collection", 0x0001, 0x0000, true},
        {"mouse collection", 0x0001, 0x0002, false},
        {"consumer collection", 0x000C, 0x0001, false},
        {"other vendor collection", 0xFF00, 0x0001, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto hid = backend.openPath(simtest::pathOf(backend, 0x0001, c.usagePage, c.usage));
        ASSERT_NE(hid, nullptr);
        const Bytes identify = readRequest(0x10);
        if (c.answers) {
            EXPECT_TRUE(transact(*hid, identify));
        } else {
            EXPECT_EQ(hid->write(identify.data(), identify.size()), -1);
            Bytes buffer(65);
            EXPECT_EQ(hid->readTimeout(buffer.data(), buffer.size(), 10), 0);
        }
    }
}

TEST(SimulatedHidBackend, OpenPathIgnoresCaseAndRefusesUnknownPaths) {
    SimulatedHidBackend backend;
    EXPECT_NE(backend.openPath("SIM/VID_1209&PID_0003&MI_02/COL01"), nullptr);
    EXPECT_EQ(backend.openPath("sim/VID_1209&PID_0009&MI_02/col01"), nullptr);
    EXPECT_EQ(backend.openPath(""), nullptr);
    auto hid = simtest::openCommands(backend, 0x0003);
    EXPECT_EQ(hid->productString(), "QV02 Wired Mouse");
}

TEST(SimulatedHidBackend, WritesNeedReportIdZeroAndFitOneReport) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0001);
    Bytes wrongId = readRequest(0x10);
    wrongId[0] = 0x05;
    EXPECT_EQ(hid->write(wrongId.data(), wrongId.size()), -1);
    Bytes tooLong(66, 0);
    EXPECT_EQ(hid->write(tooLong.data(), tooLong.size()), -1);
    EXPECT_EQ(hid->write(nullptr, 33), -1);
    // Bytes beyond the checksum are zero padding: a 33-byte and a 65-byte
    // identify give the same reply.
    const Bytes shortForm = *transact(*hid, readRequest(0x10));
    const Bytes longForm = *transact(*hid, simtest::request(0x10, 0, 0, {}, 65));
    EXPECT_EQ(shortForm, longForm);
    EXPECT_EQ(shortForm.size(), VirtualMouse::kInputReportSize);
}

TEST(SimulatedHidBackend, EveryOpenHandleGetsItsOwnCopyOfEachReport) {
    SimulatedHidBackend backend;
    auto first = simtest::openCommands(backend, 0x0001);
    auto device = backend.findDevice(0x1209, 0x0001);
    device->pressDpiButton();  // before the second handle exists
    auto second = simtest::openCommands(backend, 0x0001);
    device->pressDpiButton();
    Bytes buffer(65);
    ASSERT_EQ(first->readTimeout(buffer.data(), buffer.size(), 0), 32);
    ASSERT_EQ(first->readTimeout(buffer.data(), buffer.size(), 0), 32);
    EXPECT_EQ(first->readTimeout(buffer.data(), buffer.size(), 0), 0);
    ASSERT_EQ(second->readTimeout(buffer.data(), buffer.size(), 0), 32);
    EXPECT_EQ(second->readTimeout(buffer.data(), buffer.size(), 0), 0);
}

TEST(SimulatedHidBackend, QueueKeepsTheNewestReportsWhenNobodyReads) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0002);
    auto device = backend.findDevice(0x1209, 0x0002);
    for (int level = 1; level <= 100; ++level) device->setBattery(static_cast<std::uint8_t>(level), 0);
    Bytes buffer(65);
    int count = 0;
    int lastLevel = 0;
    while (hid->readTimeout(buffer.data(), buffer.size(), 0) > 0) {
        if (count == 0) {
            EXPECT_EQ(buffer[2], 100 - VirtualDevice::kQueueLimit + 1);
        }
        lastLevel = buffer[2];
        ++count;
    }
    EXPECT_EQ(count, static_cast<int>(VirtualDevice::kQueueLimit));
    EXPECT_EQ(lastLevel, 100);
}

TEST(SimulatedHidBackend, UnplugKillsHandlesAndRaisesRemovalEvents) {
    SimulatedHidBackend backend;
    std::vector<HidHotPlugEvent> events;
    backend.setHotPlugCallback([&](const HidHotPlugEvent& e) { events.push_back(e); });
    auto hid = simtest::openCommands(backend, 0x0002);
    auto device = backend.findDevice(0x1209, 0x0002);

    device->unplug();
    ASSERT_EQ(events.size(), standardCollections().size());
    for (const auto& e : events) {
        EXPECT_EQ(e.kind, HidHotPlugEvent::Kind::Removal);
        EXPECT_NE(e.path.find("VID_1209&PID_0002&MI_"), std::string::npos);
    }
    EXPECT_EQ(events[2].path, "sim/VID_1209&PID_0002&MI_02/col01");
    const Bytes identify = readRequest(0x10);
    EXPECT_EQ(hid->write(identify.data(), identify.size()), -1);
    Bytes buffer(65);
    EXPECT_EQ(hid->readTimeout(buffer.data(), buffer.size(), 10), -1);
    EXPECT_EQ(hid->productString(), "");
    EXPECT_EQ(simtest::pathOf(backend, 0x0002), "");
    EXPECT_EQ(backend.openPath("sim/VID_1209&PID_0002&MI_02/col01"), nullptr);

    device->unplug();  // already gone: no second event
    EXPECT_EQ(events.size(), standardCollections().size());

    events.clear();
    device->plug();
    ASSERT_EQ(events.size(), standardCollections().size());
    EXPECT_EQ(events[0].kind, HidHotPlugEvent::Kind::Arrival);
    EXPECT_EQ(hid->write(identify.data(), identify.size()), -1) << "an old handle stays dead";
    auto reopened = simtest::openCommands(backend, 0x0002);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(transact(*reopened, identify));
}

TEST(SimulatedHidBackend, DeviceConfiguredUnpluggedIsAbsentUntilPlugged) {
    auto configs = defaultVirtualMouseConfigs();
    configs[0].plugged = false;
    SimulatedHidBackend backend(configs);
    EXPECT_EQ(simtest::pathOf(backend, 0x0001), "");
    backend.device(0)->plug();
    EXPECT_NE(simtest::openCommands(backend, 0x0001), nullptr);
}

TEST(SimulatedHidBackend, ClosedHandleFailsAndCanBeClosedTwice) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0001);
    hid->close();
    hid->close();
    const Bytes identify = readRequest(0x10);
    EXPECT_EQ(hid->write(identify.data(), identify.size()), -1);
}

// Notices the mice raise by themselves, in the layout the host reads:
// C0 online battery charging, C2 (stage << 4) | count.
TEST(SimulatedNotices, ConnectionBatteryAndDpiReports) {
    SimulatedHidBackend backend;
    auto receiver = backend.findDevice(0x1209, 0x0002);
    auto wired = backend.findDevice(0x1209, 0x0001);
    auto receiverHid = simtest::openCommands(backend, 0x0002);
    auto wiredHid = simtest::openCommands(backend, 0x0001);

    struct Case {
        const char* name;
        std::function<void()> action;
        HidDevice* hid;
        Bytes expected;  // empty: no report
    } cases[] = {
        {"battery change", [&] { receiver->setBattery(0x5A, 0); }, receiverHid.get(), {0xC0, 0x01, 0x5A, 0x00}},
        {"charging starts", [&] { receiver->setBattery(0x5B, 1); }, receiverHid.get(), {0xC0, 0x01, 0x5B, 0x01}},
        {"dpi button", [&] { receiver->pressDpiButton(); }, receiverHid.get(), {0xC2, 0x24}},
        {"dpi button again", [&] { receiver->pressDpiButton(); }, receiverHid.get(), {0xC2, 0x34}},
        {"dpi button wraps", [&] { receiver->pressDpiButton(); }, receiverHid.get(), {0xC2, 0x04}},
        {"mouse off", [&] { receiver->switchMouse(false); }, receiverHid.get(), {0xC0, 0x00, 0x00, 0x00}},
        {"mouse off again", [&] { receiver->switchMouse(false); }, receiverHid.get(), {}},
        {"battery while off", [&] { receiver->setBattery(0x10, 0); }, receiverHid.get(), {}},
        {"dpi button while off", [&] { receiver->pressDpiButton(); }, receiverHid.get(), {}},
        {"mouse on", [&] { receiver->switchMouse(true); }, receiverHid.get(), {0xC0, 0x01, 0x10, 0x00}},
        {"wired battery", [&] { wired->setBattery(0x5A, 0); }, wiredHid.get(), {0xC0, 0x01, 0x5A, 0x00}},
        {"wired cannot be switched off", [&] { wired->switchMouse(false); }, wiredHid.get(), {}},
        {"wired dpi button", [&] { wired->pressDpiButton(); }, wiredHid.get(), {0xC2, 0x24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.action();
        Bytes buffer(65, 0);
        const int n = c.hid->readTimeout(buffer.data(), buffer.size(), 20);
        if (c.expected.empty()) {
            EXPECT_EQ(n, 0);
            continue;
        }
        ASSERT_EQ(n, 32);
        EXPECT_EQ(slice(buffer, 0, c.expected.size()), c.expected);
    }
    EXPECT_EQ(receiver->settings().currentStage, 0);
    EXPECT_EQ(wired->settings().currentStage, 2);
}

TEST(SimulatedNotices, DpiButtonStageReadsBackThroughTheStageCommand) {
    SimulatedHidBackend backend;
    auto hid = simtest::openCommands(backend, 0x0003);
    backend.findDevice(0x1209, 0x0003)->pressDpiButton();
    Bytes notice(65);
    ASSERT_GT(hid->readTimeout(notice.data(), notice.size(), 20), 0);
    const auto stages = transact(*hid, readRequest(0x13));
    ASSERT_TRUE(stages);
    EXPECT_EQ((*stages)[4], notice[1]);
}

}  // namespace
}  // namespace quorvik
