// Hot-plug handling: which device changes queue task 2 or 3, the vendor check
// through the HID seam, the simulated devices' events end to end, and the udev
// source's path texts and removal memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/Text.h"
#include "device/DeviceChange.h"
#include "device/DeviceTask.h"
#include "device/HotPlugPathText.h"
#include "device/SimulatedHotPlugSource.h"
#include "device/TaskQueue.h"
#include "device/UdevHotPlugSource.h"
#include "device/detail/UdevEventTranslator.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

SupportedDevice identity(int vid, int pid) {
    SupportedDevice d;
    d.vid = vid;
    d.pid = pid;
    return d;
}

// --- OnDeviceChange -------------------------------------------------------------

TEST(OnDeviceChange, QueuesTaskTwoForAVendorArrivalAndThreeForAnInterfaceTwoRemoval) {
    const std::vector<SupportedDevice> oneModel = {identity(0x1234, 0x0ABC)};
    const std::vector<SupportedDevice> twoMatching = {identity(0x1234, 0x0ABC), identity(0x1234, 0x0ABC)};
    const std::vector<SupportedDevice> shortPid = {identity(0x1234, 0x0AB)};
    struct Case {
        const char* name;
        const std::vector<SupportedDevice>* modes;
        std::uint32_t event;
        const char* path;  // null: no broadcast
        bool devicePresent;
        bool vendor;  // what the vendor check answers
        std::vector<std::int32_t> queued;
        int vendorChecks;
    };
    const Case cases[] = {
        {"arrival of the vendor collection",
         &oneModel,
         kDeviceArrival,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         false,
         true,
         {kTaskDeviceArrived},
         1},
        {"arrival matches whatever the path's case",
         &oneModel,
         kDeviceArrival,
         "\\\\?\\hid#vid_1234&pid_0abc&mi_02&col01#7&1a2b&0&0000",
         false,
         true,
         {kTaskDeviceArrived},
         1},
        {"arrival of another collection of a supported device",
         &oneModel,
         kDeviceArrival,
         "/dev/hidraw1#VID_1234&PID_0ABC&MI_00",
         false,
         false,
         {},
         1},
        {"arrival of an unrelated device",
         &oneModel,
         kDeviceArrival,
         "/dev/hidraw5#VID_046D&PID_C077&MI_00",
         true,
         true,
         {},
         0},
        {"a shorter pid does not match a longer one",
         &shortPid,
         kDeviceArrival,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         false,
         true,
         {},
         0},
        {"two identities both matching: only the first is considered",
         &twoMatching,
         kDeviceArrival,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         false,
         true,
         {kTaskDeviceArrived},
         1},
        {"first match is not the vendor collection: the walk stops there",
         &twoMatching,
         kDeviceArrival,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         false,
         false,
         {},
         1},
        {"removal of interface 2 while a device is present",
         &oneModel,
         kDeviceRemoveComplete,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         true,
         true,
         {kTaskDeviceChanged},
         0},
        {"removal matches whatever the path's case",
         &oneModel,
         kDeviceRemoveComplete,
         "sim/vid_1234&pid_0abc&mi_02/col03",
         true,
         true,
         {kTaskDeviceChanged},
         0},
        {"removal while no device is present",
         &oneModel,
         kDeviceRemoveComplete,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         false,
         true,
         {},
         0},
        {"removal of another interface",
         &oneModel,
         kDeviceRemoveComplete,
         "/dev/hidraw1#VID_1234&PID_0ABC&MI_00",
         true,
         true,
         {},
         0},
        {"removal of a node never seen with its identity",
         &oneModel,
         kDeviceRemoveComplete,
         "/dev/hidraw3",
         true,
         true,
         {},
         0},
        {"two identities both matching on removal: one task",
         &twoMatching,
         kDeviceRemoveComplete,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         true,
         true,
         {kTaskDeviceChanged},
         0},
        {"no broadcast", &oneModel, kDeviceArrival, nullptr, true, true, {}, 0},
        {"another event code", &oneModel, 0x0007, "/dev/hidraw3#VID_1234&PID_0ABC&MI_02", true, true, {}, 0},
        {"an empty mode list",
         nullptr,
         kDeviceArrival,
         "/dev/hidraw3#VID_1234&PID_0ABC&MI_02",
         true,
         true,
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int32_t> queued;
        std::vector<std::string> checkedPaths;
        DeviceChangeContext context;
        if (c.modes != nullptr) context.modes = *c.modes;
        context.devicePresent = c.devicePresent;
        context.isVendorCollection = [&](const std::string& path) {
            checkedPaths.push_back(path);
            return c.vendor;
        };
        context.enqueueTask = [&](std::int32_t code) { queued.push_back(code); };
        const std::string path = c.path != nullptr ? c.path : "";
        const std::int32_t result = OnDeviceChange(c.event, c.path != nullptr ? &path : nullptr, context);
        EXPECT_EQ(queued, c.queued);
        EXPECT_EQ(result, c.queued.empty() ? 0 : c.queued.front());
        ASSERT_EQ(static_cast<int>(checkedPaths.size()), c.vendorChecks);
        if (!checkedPaths.empty()) {
            EXPECT_EQ(checkedPaths.front(), path) << "the vendor check opens the path as it came";
        }
    }
}

TEST(OnDeviceChange, PatternsAreFourUppercaseHexDigits) {
    EXPECT_EQ(arrivalPattern(0x1234, 0x0ABC), "VID_1234&PID_0ABC");
    EXPECT_EQ(removalPattern(0x1209, 0x2), "VID_1209&PID_0002&MI_02");
    EXPECT_EQ(deviceChangeCode(HidHotPlugEvent::Kind::Arrival), kDeviceArrival);
    EXPECT_EQ(deviceChangeCode(HidHotPlugEvent::Kind::Removal), kDeviceRemoveComplete);
}

// --- IsVendorCollection ------------------------------------------------------------

// A backend shaped like hidraw: one node path per interface, several
// top-level collections listed under the same path.
class HidrawLikeBackend : public HidBackend {
public:
    class Device : public HidDevice {
    public:
        int write(const std::uint8_t*, std::size_t) override { return -1; }
        int readTimeout(std::uint8_t*, std::size_t, int) override { return 0; }
        std::string productString() override { return {}; }
        void close() override {}
    };
    std::vector<HidInterfaceInfo> infos;
    std::vector<std::string> openable;
    bool init() override { return true; }
    std::vector<HidInterfaceInfo> enumerate() override { return infos; }
    std::unique_ptr<HidDevice> openPath(const std::string& path) override {
        for (const auto& p : openable)
            if (p == path) return std::make_unique<Device>();
        return nullptr;
    }
};

HidInterfaceInfo collection(const char* path, std::uint16_t page, std::uint16_t usage) {
    HidInterfaceInfo info;
    info.path = path;
    info.usagePage = page;
    info.usage = usage;
    return info;
}

TEST(IsVendorCollection, ChecksUsagePageOneUsageZeroOfTheOpenedPath) {
    HidrawLikeBackend backend;
    backend.infos = {collection("/dev/hidraw0", 1, 2),      collection("/dev/hidraw2", 1, 0),
                     collection("/dev/hidraw2", 0xFF00, 1), collection("/dev/hidraw2", 0xFFEF, 0),
                     collection("/dev/hidraw4", 1, 0),      collection("/dev/hidraw5", 0xFF00, 0)};
    backend.openable = {"/dev/hidraw0", "/dev/hidraw2", "/dev/hidraw5"};
    struct Case {
        const char* name;
        const char* path;
        bool expected;
    };
    const Case cases[] = {
        {"node carrying the vendor collection among others", "/dev/hidraw2#VID_1234&PID_0ABC&MI_02", true},
        {"the bare node path", "/dev/hidraw2", true},
        {"mouse collection", "/dev/hidraw0#VID_1234&PID_0ABC&MI_00", false},
        {"vendor usage page, not usage page 1", "/dev/hidraw5#VID_1234&PID_0ABC&MI_02", false},
        {"listed as vendor but cannot be opened", "/dev/hidraw4#VID_1234&PID_0ABC&MI_02", false},
        {"unknown node", "/dev/hidraw9#VID_1234&PID_0ABC&MI_02", false},
        {"empty path", "", false},
        {"identity without a node", "#VID_1234&PID_0ABC&MI_02", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsVendorCollection(backend, c.path), c.expected);
    }
}

TEST(IsVendorCollection, OnTheSimulatedDevicesOnlyTheCommandCollectionCounts) {
    SimulatedHidBackend backend;
    int vendor = 0;
    int total = 0;
    for (const HidInterfaceInfo& info : backend.enumerate()) {
        ++total;
        const bool expected = info.usagePage == 1 && info.usage == 0;
        EXPECT_EQ(IsVendorCollection(backend, info.path), expected) << info.path;
        EXPECT_EQ(IsVendorCollection(backend, asciiUpper(info.path)), expected)
            << "upper-cased " << info.path;
        vendor += expected ? 1 : 0;
    }
    EXPECT_EQ(vendor, static_cast<int>(backend.deviceCount()));
    EXPECT_GT(total, vendor);

    // An unplugged device's collection does not open.
    const auto device = backend.device(0);
    const std::string path = device->collectionPath(2);
    device->unplug();
    EXPECT_FALSE(IsVendorCollection(backend, path));
}

// --- The simulated source, end to end ------------------------------------------------

// What the main window does with a source's events, without the hop to the
// window thread: OnDeviceChange over the default models into a task queue.
struct HotPlugHarness {
    std::shared_ptr<SimulatedHidBackend> backend = std::make_shared<SimulatedHidBackend>();
    std::vector<SupportedDevice> modes = {identity(0x1209, 0x0001), identity(0x1209, 0x0002),
                                          identity(0x1209, 0x0003), identity(0x1209, 0x0004)};
    std::atomic<bool> devicePresent{true};
    TaskQueue queue;
    SimulatedHotPlugSource source{[b = backend](HotPlugSource::Callback cb) {
        if (cb) {
            b->setHotPlugCallback([cb](const HidHotPlugEvent& e) { cb(e); });
        } else {
            b->setHotPlugCallback(nullptr);
        }
    }};

    bool start() {
        return source.start([this](const HidHotPlugEvent& event) {
            DeviceChangeContext context;
            context.modes = modes;
            context.devicePresent = devicePresent;
            context.isVendorCollection = [this](const std::string& path) {
                return IsVendorCollection(*backend, path);
            };
            context.enqueueTask = [this](std::int32_t code) { queue.enqueueTask(code); };
            OnDeviceChange(deviceChangeCode(event.kind), &event.path, context);
        });
    }
    std::vector<std::int32_t> drain() {
        std::vector<std::int32_t> codes = queue.snapshot();
        std::int32_t code = 0;
        while (queue.tryPop(code)) {
        }
        return codes;
    }
};

TEST(SimulatedHotPlugSource, PlugAndUnplugEndInTheTasksOfTheirCollections) {
    HotPlugHarness h;
    ASSERT_TRUE(h.start());
    EXPECT_TRUE(h.source.isRunning());
    EXPECT_FALSE(h.start()) << "a running source does not start twice";
    const auto receiver = h.backend->findDevice(0x1209, 0x0002);
    ASSERT_NE(receiver, nullptr);

    // Unplugging raises one removal per collection; the three on interface 2
    // each carry &MI_02, and codes are not merged.
    receiver->unplug();
    EXPECT_EQ(h.drain(),
              (std::vector<std::int32_t>{kTaskDeviceChanged, kTaskDeviceChanged, kTaskDeviceChanged}));
    // Plugging in: only the vendor command collection queues the reload.
    receiver->plug();
    EXPECT_EQ(h.drain(), (std::vector<std::int32_t>{kTaskDeviceArrived}));

    // With no device present a removal is ignored.
    h.devicePresent = false;
    receiver->unplug();
    EXPECT_TRUE(h.drain().empty());

    // A stopped source passes nothing on.
    h.source.stop();
    EXPECT_FALSE(h.source.isRunning());
    receiver->plug();
    EXPECT_TRUE(h.drain().empty());
    h.source.stop();  // stopping twice is harmless
}

TEST(SimulatedHotPlugSource, EventsFromAnotherThreadReachTheQueue) {
    HotPlugHarness h;
    ASSERT_TRUE(h.start());
    const auto wired = h.backend->findDevice(0x1209, 0x0003);
    std::thread user([&] {
        for (int i = 0; i < 20; ++i) {
            wired->unplug();
            wired->plug();
        }
    });
    user.join();
    const auto codes = h.drain();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kTaskDeviceArrived), 20);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kTaskDeviceChanged), 60);
}

TEST(SimulatedHotPlugSource, RefusesAnEmptyCallbackOrSubscription) {
    SimulatedHotPlugSource noSubscription(nullptr);
    EXPECT_FALSE(noSubscription.start([](const HidHotPlugEvent&) {}));
    SimulatedHotPlugSource source([](HotPlugSource::Callback) {});
    EXPECT_FALSE(source.start(nullptr));
    EXPECT_FALSE(source.isRunning());
}

// --- udev: path texts, removal memory, the monitor ------------------------------------

TEST(HotPlugPathText, BuildsTheIdentityFromSysfsAttributes) {
    struct Case {
        const char* name;
        UsbSysfsIdentity usb;
        const char* expected;
    };
    const Case cases[] = {
        {"vendor interface", {"1234", "0abc", "02"}, "/dev/hidraw3#VID_1234&PID_0ABC&MI_02"},
        {"upper-case attributes", {"1209", "0ABC", "00"}, "/dev/hidraw3#VID_1209&PID_0ABC&MI_00"},
        {"short values are zero-padded", {"1", "2", "3"}, "/dev/hidraw3#VID_0001&PID_0002&MI_03"},
        {"surrounding white space", {" 1234\n", "0abc\n", "02\n"}, "/dev/hidraw3#VID_1234&PID_0ABC&MI_02"},
        {"no usb_interface parent", {"1234", "0abc", ""}, "/dev/hidraw3#VID_1234&PID_0ABC"},
        {"malformed interface number", {"1234", "0abc", "2x"}, "/dev/hidraw3#VID_1234&PID_0ABC"},
        {"interface number too long", {"1234", "0abc", "002"}, "/dev/hidraw3#VID_1234&PID_0ABC"},
        {"not a USB device (bluetooth, i2c)", {"", "", ""}, "/dev/hidraw3"},
        {"vendor missing", {"", "0abc", "02"}, "/dev/hidraw3"},
        {"vendor too long", {"12345", "0abc", "02"}, "/dev/hidraw3"},
        {"product not hexadecimal", {"1234", "0xab", "02"}, "/dev/hidraw3"},
        {"signed text", {"-123", "0abc", "02"}, "/dev/hidraw3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hotPlugPathText("/dev/hidraw3", c.usb), c.expected);
    }
    EXPECT_EQ(hidOpenPathOf("/dev/hidraw3#VID_1234&PID_0ABC&MI_02"), "/dev/hidraw3");
    EXPECT_EQ(hidOpenPathOf("sim/VID_1209&PID_0001&MI_02/col01"), "sim/VID_1209&PID_0001&MI_02/col01");
}

TEST(UdevEventTranslator, RemovalReusesThePathSeenOnArrivalOrAtStart) {
    detail::UdevEventTranslator translator;
    int identityReads = 0;
    const auto vendorNode = [&] {
        ++identityReads;
        return UsbSysfsIdentity{"1234", "0abc", "02"};
    };
    const auto noParents = [&] {
        ++identityReads;
        return UsbSysfsIdentity{};
    };

    auto event = translator.translate("add", "/sys/x/hidraw/hidraw3", "/dev/hidraw3", vendorNode);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, HidHotPlugEvent::Kind::Arrival);
    EXPECT_EQ(event->path, "/dev/hidraw3#VID_1234&PID_0ABC&MI_02");

    // On removal sysfs has no parents any more; the path comes from memory.
    event = translator.translate("remove", "/sys/x/hidraw/hidraw3", "/dev/hidraw3", noParents);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, HidHotPlugEvent::Kind::Removal);
    EXPECT_EQ(event->path, "/dev/hidraw3#VID_1234&PID_0ABC&MI_02");
    EXPECT_EQ(identityReads, 1) << "removals never read sysfs";
    EXPECT_EQ(translator.knownNodes(), 0u);

    // A node present at start and removed later.
    translator.remember("/sys/y/hidraw/hidraw7", "/dev/hidraw7", {"1209", "0002", "02"});
    event = translator.translate("remove", "/sys/y/hidraw/hidraw7", "/dev/hidraw7", noParents);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->path, "/dev/hidraw7#VID_1209&PID_0002&MI_02");

    // Never seen: the bare node, which no pattern matches.
    event = translator.translate("remove", "/sys/z/hidraw/hidraw9", "/dev/hidraw9", noParents);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->path, "/dev/hidraw9");

    // Other actions give nothing.
    for (const char* action : {"change", "bind", "unbind", "move", ""})
        EXPECT_FALSE(translator.translate(action, "/sys/x/hidraw/hidraw3", "/dev/hidraw3", vendorNode))
            << action;
}

TEST(UdevHotPlugSource, StartsAndStopsCleanlyOrFailsAsAResult) {
    UdevHotPlugSource source;
    EXPECT_FALSE(source.start(nullptr));
    EXPECT_FALSE(source.isRunning());

    std::atomic<int> events{0};
    const bool started = source.start([&](const HidHotPlugEvent&) { ++events; });
    if (!started) {
        // No udev or netlink here: a result, nothing running, stop harmless.
        EXPECT_FALSE(source.isRunning());
        source.stop();
        GTEST_SKIP() << "udev monitor unavailable in this environment";
    }
    EXPECT_TRUE(source.isRunning());
    EXPECT_FALSE(source.start([](const HidHotPlugEvent&) {})) << "already running";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = std::chrono::steady_clock::now();
    source.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(source.isRunning());
    source.stop();
    // A stopped source starts again.
    EXPECT_TRUE(source.start([&](const HidHotPlugEvent&) { ++events; }));
    source.stop();
}

}  // namespace
}  // namespace quorvik
