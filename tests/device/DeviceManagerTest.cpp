// Registrations, enumeration and the choice of the command interface, against
// the simulated device set.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"

namespace quorvik::devicetest {
namespace {

TEST(DeviceManagerRegistrations, TypeForWalksRegistrationsInOrder) {
    struct Case {
        const char* name;
        std::vector<SupportedDevice> registrations;
        int pid;
        const char* devId;
        int expected;
    };
    const std::vector<Case> cases = {
        {"exact dev_id", {{kVid, 1, "", 7, 0, "QV01"}}, 1, "QV01", 7},
        {"dev_id differs in case", {{kVid, 1, "", 7, 0, "QV01"}}, 1, "qv01", 0},
        {"dev_id is a prefix", {{kVid, 1, "", 7, 0, "QV01"}}, 1, "QV0", 0},
        {"second registration matches",
         {{kVid, 1, "", 7, 0, "QV01"}, {kVid, 1, "", 8, 0, "QV02"}},
         1,
         "QV02",
         8},
        {"first without dev_id catches all",
         {{kVid, 1, "", 7, 0, ""}, {kVid, 1, "", 8, 0, "QV02"}},
         1,
         "QV02",
         101},
        {"short dev_id catches all", {{kVid, 1, "", 7, 0, "QV0"}}, 1, "ZZZZ", 101},
        {"other pid", {{kVid, 1, "", 7, 0, "QV01"}}, 2, "QV01", 0},
        {"no registrations", {}, 1, "QV01", 0},
    };
    for (const Case& c : cases) {
        DeviceManager manager(std::make_shared<SimulatedHidBackend>(std::vector<VirtualMouseConfig>{}));
        for (const SupportedDevice& s : c.registrations) manager.AddSupportedDevice(s);
        EXPECT_EQ(manager.TypeFor(kVid, c.pid, c.devId), c.expected) << c.name;
    }
}

TEST(DeviceManagerRegistrations, ModeOfTakesTheFirstRegistration) {
    DeviceManager manager(std::make_shared<SimulatedHidBackend>(std::vector<VirtualMouseConfig>{}));
    manager.AddSupportedDevice({kVid, 5, "", 1, 1, "QV01"});
    manager.AddSupportedDevice({kVid, 5, "", 2, 0, "QV02"});
    EXPECT_TRUE(manager.IsSupported(kVid, 5));
    EXPECT_FALSE(manager.IsSupported(kVid, 6));
    EXPECT_EQ(manager.ModeOf(kVid, 5), 1);
    EXPECT_EQ(manager.ModeOf(kVid, 6), 0);
    manager.ClearSupportedDevices();
    EXPECT_FALSE(manager.IsSupported(kVid, 5));
}

using DeviceManagerTest = DeviceFixture;

TEST_F(DeviceManagerTest, DiscoversBothModelsInBothModesThroughTheVendorCollectionOnly) {
    const std::vector<DeviceEntry> entries = m_manager.entries();
    ASSERT_EQ(entries.size(), 4u);  // five collections per device, one carries commands
    struct Expected {
        std::uint16_t pid;
        int type;
        int mode;
        std::uint32_t release;
    };
    const Expected expected[] = {{kM1Wired, 1, 0, 0x0105},
                                 {kM1Receiver, 1, 1, 0x0110},
                                 {kM2Wired, 2, 0, 0x0105},
                                 {kM2Receiver, 2, 1, 0x0110}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].index, static_cast<int>(i));
        EXPECT_EQ(entries[i].pid, expected[i].pid);
        EXPECT_EQ(entries[i].deviceType, expected[i].type);
        EXPECT_EQ(entries[i].mode, expected[i].mode);
        EXPECT_EQ(entries[i].release, expected[i].release);
        EXPECT_EQ(entries[i].state, kEntryOnline);
        EXPECT_EQ(entries[i].devId, expected[i].type == 1 ? "QV01" : "QV02");
        // Interface 2, first collection: usage page 1, usage 0.
        EXPECT_NE(entries[i].path.find("&MI_02/col01"), std::string::npos) << entries[i].path;
        EXPECT_FALSE(entries[i].product.empty());
    }
    EXPECT_EQ(entries[1].info.sensorId(), 17);
    EXPECT_TRUE(m_manager.IsTypeConnected(1));
    EXPECT_TRUE(m_manager.IsTypeConnected(2));
    EXPECT_FALSE(m_manager.IsTypeConnected(3));
    std::uint32_t release = 0;
    EXPECT_TRUE(m_manager.ReleaseOfMode(release, 1));
    EXPECT_EQ(release, 0x0110u);
}

TEST_F(DeviceManagerTest, RegistrationWithoutDevIdCatchesEveryDeviceOfItsVidPidAs101) {
    m_manager.ClearSupportedDevices();
    m_manager.AddSupportedDevice({kVid, kM1Wired, "", 1, 0, ""});
    m_manager.AddSupportedDevice({kVid, kM1Wired, "", 1, 0, "QV01"});
    refresh(m_manager);
    const std::vector<DeviceEntry> entries = m_manager.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].deviceType, 101);
    EXPECT_EQ(entries[0].devId, "QV01");
}

TEST_F(DeviceManagerTest, CommandsGoOverTheCableThenOverTheReceiverWhenTheCableIsPulled) {
    m_manager.SetCurrentType(1);
    EXPECT_EQ(m_manager.CurrentMode(), 0);
    int vid = 0, pid = 0;
    ASSERT_TRUE(m_manager.CurrentVidPid(vid, pid));
    EXPECT_EQ(pid, kM1Wired);

    const int wiredBefore = device(kM1Wired)->commandsCarriedOut();
    const int receiverBefore = device(kM1Receiver)->commandsCarriedOut();
    CommandExchange ex;
    ASSERT_TRUE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));
    EXPECT_EQ(device(kM1Wired)->commandsCarriedOut(), wiredBefore + 1);
    EXPECT_EQ(device(kM1Receiver)->commandsCarriedOut(), receiverBefore);

    device(kM1Wired)->unplug();
    refresh(m_manager);
    EXPECT_EQ(m_manager.CurrentMode(), 1);
    ASSERT_TRUE(m_manager.CurrentVidPid(vid, pid));
    EXPECT_EQ(pid, kM1Receiver);
    const int receiverAfterIdentify = device(kM1Receiver)->commandsCarriedOut();
    ASSERT_TRUE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));
    EXPECT_EQ(device(kM1Receiver)->commandsCarriedOut(), receiverAfterIdentify + 1);
}

TEST_F(DeviceManagerTest, CurrentTypeZeroListsEveryEntryWhateverItsState) {
    m_manager.SetConnectionState(1, 1, kEntryOfflineByNotice);
    std::vector<DeviceEntry> list;
    ASSERT_TRUE(m_manager.EntriesOfCurrentType(list));
    EXPECT_EQ(list.size(), 4u);
    ASSERT_TRUE(m_manager.OnlineEntriesOfCurrentType(list));
    EXPECT_EQ(list.size(), 4u);

    m_manager.SetCurrentType(1);
    ASSERT_TRUE(m_manager.EntriesOfCurrentType(list));
    EXPECT_EQ(list.size(), 2u);
    ASSERT_TRUE(m_manager.OnlineEntriesOfCurrentType(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].mode, 0);
}

TEST_F(DeviceManagerTest, CloseAllLeavesNoCommandInterfaceUntilTheNextEnumeration) {
    m_manager.SetCurrentType(2);
    ASSERT_NE(m_manager.CurrentDevice(), nullptr);
    m_manager.CloseAll();
    EXPECT_FALSE(m_manager.isReady());
    EXPECT_EQ(m_manager.CurrentDevice(), nullptr);
    EXPECT_EQ(m_manager.CurrentMode(), -1);
    std::vector<DeviceEntry> list;
    EXPECT_FALSE(m_manager.EntriesOfCurrentType(list));
    std::uint32_t release = 0;
    EXPECT_FALSE(m_manager.ReleaseOfMode(release, 0));
    CommandExchange ex;
    EXPECT_FALSE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));

    m_manager.Enumerate();
    EXPECT_FALSE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex)) << "not ready yet";
    m_manager.SetReady();
    EXPECT_TRUE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));
}

TEST_F(DeviceManagerTest, ReceiverWhoseMouseIsOffGivesModeOneButNoCommandInterface) {
    device(kM2Wired)->unplug();
    device(kM2Receiver)->switchMouse(false);
    refresh(m_manager);
    m_manager.SetCurrentType(2);
    EXPECT_EQ(m_manager.CurrentMode(), 1);
    EXPECT_EQ(m_manager.CurrentDevice(), nullptr);
    EXPECT_TRUE(m_manager.IsTypeConnected(2)) << "the receiver is there and identified";
    CommandExchange ex;
    EXPECT_FALSE(m_session.exchange(encodeReadRequest(Command::ReadReportRate), ex));
}

// Enumeration paths far longer than any fixed buffer, handed through to the simulator.
class LongPathBackend : public HidBackend {
public:
    explicit LongPathBackend(std::shared_ptr<SimulatedHidBackend> inner) : m_inner(std::move(inner)) {}
    bool init() override { return m_inner->init(); }
    std::vector<HidInterfaceInfo> enumerate() override {
        std::vector<HidInterfaceInfo> list = m_inner->enumerate();
        for (HidInterfaceInfo& info : list) info.path = m_prefix + info.path;
        return list;
    }
    std::unique_ptr<HidDevice> openPath(const std::string& path) override {
        if (path.compare(0, m_prefix.size(), m_prefix) != 0) return nullptr;
        return m_inner->openPath(path.substr(m_prefix.size()));
    }

private:
    std::shared_ptr<SimulatedHidBackend> m_inner;
    std::string m_prefix = "/" + std::string(3000, 'p') + "/";
};

TEST(DeviceManagerPaths, PathsOfAnyLengthAreKeptWhole) {
    auto sim = std::make_shared<SimulatedHidBackend>(configsWith({kM1Wired}));
    DeviceManager manager(std::make_shared<LongPathBackend>(sim));
    registerDefaultModels(manager);
    refresh(manager);
    const std::vector<DeviceEntry> entries = manager.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_GT(entries[0].path.size(), 3000u);
    EXPECT_EQ(entries[0].deviceType, 1);
}

TEST(DeviceManagerPaths, BackendThatCannotStartYieldsNothingAndIsTriedAgain) {
    class LateBackend : public HidBackend {
    public:
        explicit LateBackend(std::shared_ptr<SimulatedHidBackend> inner) : m_inner(std::move(inner)) {}
        bool init() override { return ++m_calls >= 3; }
        std::vector<HidInterfaceInfo> enumerate() override { return m_inner->enumerate(); }
        std::unique_ptr<HidDevice> openPath(const std::string& path) override {
            return m_inner->openPath(path);
        }

    private:
        std::shared_ptr<SimulatedHidBackend> m_inner;
        int m_calls = 0;
    };
    DeviceManager manager(
        std::make_shared<LateBackend>(std::make_shared<SimulatedHidBackend>(configsWith({kM1Wired}))));
    registerDefaultModels(manager);
    refresh(manager);  // second init call fails
    EXPECT_TRUE(manager.entries().empty());
    refresh(manager);  // third succeeds
    EXPECT_EQ(manager.entries().size(), 1u);
}

}  // namespace
}  // namespace quorvik::devicetest

namespace quorvik::devicetest {
namespace {

TEST(DeviceManagerInstance, ProcessWideManagerRunsOverAnInjectedBackend) {
    DeviceManager& manager = DeviceManager::Instance();
    EXPECT_EQ(&manager, &DeviceManager::Instance());
    manager.setBackend(std::make_shared<SimulatedHidBackend>(configsWith({kM2Receiver})));
    registerDefaultModels(manager);
    refresh(manager);
    manager.SetCurrentType(2);
    EXPECT_EQ(manager.CurrentMode(), 1);
    EXPECT_NE(manager.CurrentDevice(), nullptr);

    // Replacing the backend closes what the previous one opened.
    manager.setBackend(std::make_shared<SimulatedHidBackend>(std::vector<VirtualMouseConfig>{}));
    EXPECT_FALSE(manager.isReady());
    EXPECT_TRUE(manager.entries().empty());
    EXPECT_EQ(manager.CurrentDevice(), nullptr);
    manager.ClearSupportedDevices();
}

}  // namespace
}  // namespace quorvik::devicetest
