// Performance settings between the store and the simulated mouse: every write
// command carries the store's values into the mouse, the configuration read
// brings the mouse's values into the store, once per model and run.
#include <gtest/gtest.h>

#include <functional>

#include "DeviceTestSupport.h"
#include "protocol/DpiScale.h"
#include "sim/SimFault.h"

namespace quorvik::devicetest {
namespace {

class SettingsCommandsTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        m_manager.SetCurrentType(1);  // wired QV01, sensor 17: 50 DPI per code up to 10000, 100 above
    }
};

TEST_F(SettingsCommandsTest, EveryWriteCommandPutsTheStoresValuesIntoTheMouse) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> values;
        std::function<bool(DeviceSettingsCommands&)> send;
        std::function<void(const MouseSettings&)> check;
    };
    const std::vector<Case> cases = {
        {"report rate 8000 Hz",
         {{"report_rate", 0x40}},
         &DeviceSettingsCommands::SendReportRate,
         [](const MouseSettings& s) { EXPECT_EQ(s.reportRate, 0x40); }},
        {"DPI stages",
         {{"dpi_index", 2},
          {"dpi_count", 4},
          {"dpi_group0_value", 400},
          {"dpi_group1_value", 800},
          {"dpi_group2_value", 30000},
          {"dpi_group3_value", 20},
          {"dpi_group4_value", 12000},
          {"dpi_group5_value", 1650}},
         &DeviceSettingsCommands::SendDpiStages,
         [](const MouseSettings& s) {
             EXPECT_EQ(s.stageCount, 4);
             EXPECT_EQ(s.currentStage, 2);
             EXPECT_EQ(s.stages[0], (DpiStageCode{8, 8}));
             EXPECT_EQ(s.stages[1], (DpiStageCode{16, 16}));
             const auto top = static_cast<std::uint16_t>(dpiToDeviceCode(17, 24000));
             EXPECT_EQ(s.stages[2], (DpiStageCode{top, top})) << "clamped to the sensor's 24000";
             EXPECT_EQ(s.stages[3], (DpiStageCode{1, 1})) << "raised to the sensor's 50";
             EXPECT_EQ(s.stages[4], (DpiStageCode{220, 220}));
             EXPECT_EQ(s.stages[5], (DpiStageCode{33, 33}));
         }},
        {"DPI colours",
         {{"dpi_group0_rgb", 0x123456},
          {"dpi_group1_rgb", 0},
          {"dpi_group2_rgb", 0xFFFFFF},
          {"dpi_group3_rgb", 255},
          {"dpi_group4_rgb", 65280},
          {"dpi_group5_rgb", 0xFF0000}},
         &DeviceSettingsCommands::SendDpiColors,
         [](const MouseSettings& s) {
             const std::array<std::uint32_t, 6> expected = {0x123456, 0, 0xFFFFFF, 255, 65280, 0xFF0000};
             EXPECT_EQ(s.stageColors, expected);
         }},
        {"lift-off and both sensor options",
         {{"liftoff_height", 2}, {"sensor_flag", 0x0C | 0x30}},
         &DeviceSettingsCommands::SendLiftOffAndSensor,
         [](const MouseSettings& s) {
             EXPECT_EQ(s.liftOff, 2);
             EXPECT_EQ(s.sensorOption08, 1);
             EXPECT_EQ(s.sensorOption04, 1);
         }},
        {"lift-off without sensor options",
         {{"liftoff_height", 1}, {"sensor_flag", 0x30}},
         &DeviceSettingsCommands::SendLiftOffAndSensor,
         [](const MouseSettings& s) {
             EXPECT_EQ(s.sensorOption08, 0);
             EXPECT_EQ(s.sensorOption04, 0);
         }},
        {"power options",
         {{"sleep_light", 3}, {"move_wakeup", 0}, {"move_closelight", 1}, {"button_respondtime", 12}},
         &DeviceSettingsCommands::SendPowerOptions,
         [](const MouseSettings& s) {
             EXPECT_EQ(s.sleepLight, 3);
             EXPECT_EQ(s.moveWakeup, 0);
             EXPECT_EQ(s.moveCloseLight, 1);
             EXPECT_EQ(s.buttonResponse, 12);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto [key, value] : c.values) setConfig(key, value);
        EXPECT_TRUE(c.send(m_settings));
        c.check(device(kM1Wired)->settings());
    }
    EXPECT_EQ(m_events.count("failure"), 0);
}

TEST_F(SettingsCommandsTest, NonNumericStoredValueSendsZero) {
    store().setConfigValue(1, "sleep_light", "abc");
    ASSERT_TRUE(m_settings.SendPowerOptions());
    EXPECT_EQ(device(kM1Wired)->settings().sleepLight, 0);
}

TEST_F(SettingsCommandsTest, WriteWithoutACommandInterfaceFailsAndTellsTheWindow) {
    m_manager.SetCurrentType(5);  // no such model connected
    EXPECT_FALSE(m_settings.SendReportRate());
    EXPECT_FALSE(m_settings.SendDpiColors());
    EXPECT_EQ(m_events.count("failure"), 2);
    EXPECT_EQ(config("report_rate"), "2") << "the store keeps the user's value";
}

TEST_F(SettingsCommandsTest, FactoryResetRestoresTheMousesFactorySettings) {
    setConfig("report_rate", 0x08);
    ASSERT_TRUE(m_settings.SendReportRate());
    ASSERT_TRUE(m_settings.SendFactoryReset());
    EXPECT_EQ(device(kM1Wired)->settings(), device(kM1Wired)->config().factory);
}

TEST_F(SettingsCommandsTest, ReadDeviceConfigBringsTheMousesValuesIntoTheStore) {
    const MouseSettings mouse = device(kM1Wired)->settings();  // factory: 4 stages, stage 1, 400..12000 DPI
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(config("report_rate"), format("%d", mouse.reportRate));
    EXPECT_EQ(config("report_rate_wireless"), format("%d", mouse.reportRate));
    EXPECT_EQ(config("dpi_count"), "4");
    EXPECT_EQ(config("dpi_flag"), "4");
    EXPECT_EQ(config("dpi_index"), "1");
    const char* dpi[] = {"400", "800", "1600", "3200", "6400", "12000"};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(config(format("dpi_group%d_value", n)), dpi[n]) << n;
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(config(format("dpi_group%d_rgb", n)), format("%u", mouse.stageColors[n])) << n;
    EXPECT_EQ(config("liftoff_height"), "1");
    EXPECT_EQ(config("sensor_flag"), "4");  // option 04 on, 08 off; other stored bits dropped
    EXPECT_EQ(config("sleep_light"), "6");
    EXPECT_EQ(config("move_wakeup"), "1");
    EXPECT_EQ(config("move_closelight"), "0");
    EXPECT_EQ(config("button_respondtime"), "4");

    const std::vector<std::string> calls = m_events.calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "resetBattery 1");
    EXPECT_EQ(calls[1], "identity 17");
    EXPECT_EQ(calls[2], "battery 100 1");
    EXPECT_EQ(calls[3], "listBattery 1 1 100");
    for (const std::string& call : calls)
        EXPECT_EQ(call.rfind("firmware", 0), std::string::npos) << "wired: no 0x20";
}

TEST_F(SettingsCommandsTest, ConfigurationIsReadOncePerModelAndRunUntilAFactoryResetRequest) {
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    const int commands = device(kM1Wired)->commandsCarriedOut();
    setConfig("report_rate", 0x02);  // the user's change, not yet sent
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(device(kM1Wired)->commandsCarriedOut(), commands) << "second read sends nothing";
    EXPECT_EQ(config("report_rate"), "2");

    m_session.forgetReadModels();
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_GT(device(kM1Wired)->commandsCarriedOut(), commands);
    EXPECT_EQ(config("report_rate"), "1");

    // Another model has its own first read.
    m_manager.SetCurrentType(2);
    const int model2 = device(kM2Wired)->commandsCarriedOut();
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(device(kM2Wired)->commandsCarriedOut(), model2 + 7);  // 0x11..0x17
}

TEST_F(SettingsCommandsTest, ThroughTheReceiverTheWirelessMouseFirmwareIsRead) {
    device(kM1Wired)->unplug();
    refresh(m_manager);
    ASSERT_EQ(m_manager.CurrentMode(), 1);
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(m_events.count("firmware 105"), 1);
    EXPECT_EQ(m_events.count("battery 80 0"), 1);
}

TEST_F(SettingsCommandsTest, FailedReadKeepsTheStoredValueAndTheSequenceGoesOn) {
    // 0x11 answered after a busy report, 0x12 answered only with noise (so it
    // fails after its attempts), the reads after it answered.
    setConfig("report_rate", 0x10);
    device(kM1Wired)->injectFault({FaultKind::BusyFirst});
    device(kM1Wired)->injectFault({FaultKind::GarbageReply});
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(config("report_rate"), "16");
    EXPECT_EQ(config("dpi_count"), "4");
}

TEST_F(SettingsCommandsTest, ReceiverWithItsMouseOffFailsTheReadAndTellsTheWindow) {
    device(kM1Wired)->unplug();
    device(kM1Receiver)->switchMouse(false);
    refresh(m_manager);
    EXPECT_FALSE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(m_events.count("failure"), 1);
}

}  // namespace
}  // namespace quorvik::devicetest

namespace quorvik::devicetest {
namespace {

// Model 1 with sensor 4 and a last stage stored as code 0, which reads back below 50 DPI.
std::vector<VirtualMouseConfig> sensorFourConfigs() {
    std::vector<VirtualMouseConfig> configs = configsWith({kM1Wired});
    for (VirtualMouseConfig& c : configs) {
        c.sensorId = 4;
        c.factory.stages[5] = {0, 0};
    }
    return configs;
}

class SensorFourTest : public DeviceFixture {
protected:
    SensorFourTest() : DeviceFixture(sensorFourConfigs()) {}
};

TEST_F(SensorFourTest, StageReadBelowFiftyDpiKeepsTheStoredValue) {
    m_manager.SetCurrentType(1);
    setConfig("dpi_group5_value", 4321);
    ASSERT_TRUE(m_settings.ReadDeviceConfig());
    EXPECT_EQ(config("dpi_group5_value"), "4321");
    EXPECT_EQ(config("dpi_group2_value"), format("%d", deviceCodeToDpi(4, 32)))
        << "the other stages were read";
    EXPECT_NE(config("dpi_group2_value"), "2400");

    // Sending clamps to sensor 4's range (100..8000).
    setConfig("dpi_group0_value", 50);
    setConfig("dpi_group1_value", 9000);
    ASSERT_TRUE(m_settings.SendDpiStages());
    const MouseSettings mouse = device(kM1Wired)->settings();
    EXPECT_EQ(mouse.stages[0].x, dpiToDeviceCode(4, 100));
    EXPECT_EQ(mouse.stages[1].x, dpiToDeviceCode(4, 8000));
}

}  // namespace
}  // namespace quorvik::devicetest
