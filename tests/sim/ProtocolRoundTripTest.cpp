// Host encoders against the simulated firmware: every setting, binding type,
// light mode and macro size is encoded by the protocol layer, carried out by a
// VirtualMouse through the HID seam, and read back through the protocol
// layer's decoders (or compared with what the firmware stored where the wire
// has no read-back). The two sides were written separately from the byte
// layouts, so a fault on either side shows here.
#include <gtest/gtest.h>

#include <numeric>

#include "SimHost.h"
#include "protocol/CommandPacket.h"
#include "protocol/CommandReply.h"
#include "protocol/DeviceInfoBlock.h"
#include "protocol/DpiScale.h"
#include "protocol/KeyTable.h"
#include "protocol/Lighting.h"
#include "protocol/Loader.h"
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"
#include "protocol/Notification.h"
#include "protocol/SensorTable.h"
#include "protocol/SettingsCommands.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;

// One transaction as the transport runs it: write, then up to 50 reads of
// 30 ms until a report with status 0.
std::optional<Bytes> send(HidDevice& hid, const CommandPacket& packet) {
    const auto bytes = packet.bytes();
    if (hid.write(bytes.data(), bytes.size()) <= 0) return std::nullopt;
    for (int attempt = 0; attempt < 50; ++attempt) {
        Bytes reply(packet.size(), 0);
        const int n = hid.readTimeout(reply.data(), reply.size(), 30);
        if (n < 0) return std::nullopt;
        if (n > 1 && reply[1] == 0) {
            reply.resize(static_cast<std::size_t>(n));
            return reply;
        }
    }
    return std::nullopt;
}

class RoundTrip : public ::testing::Test {
protected:
    void use(std::vector<VirtualMouseConfig> configs, std::uint16_t pid) {
        m_hid.reset();
        m_backend = std::make_unique<SimulatedHidBackend>(configs);
        m_hid = simtest::openCommands(*m_backend, pid);
        ASSERT_NE(m_hid, nullptr);
        m_device = m_backend->findDevice(0x1209, pid);
    }
    void SetUp() override { use(defaultVirtualMouseConfigs(), 0x0001); }

    Bytes ok(const CommandPacket& packet) {
        auto reply = send(*m_hid, packet);
        EXPECT_TRUE(reply) << "command " << int(packet.command()) << " not accepted";
        return reply.value_or(Bytes{});
    }
    Bytes read(Command command) { return ok(encodeReadRequest(command)); }

    std::unique_ptr<SimulatedHidBackend> m_backend;
    std::unique_ptr<HidDevice> m_hid;
    std::shared_ptr<VirtualDevice> m_device;
};

TEST_F(RoundTrip, IdentityBlockOfEveryDevice) {
    for (std::uint16_t pid : {0x0001, 0x0002, 0x0003, 0x0004}) {
        SCOPED_TRACE(pid);
        use(defaultVirtualMouseConfigs(), pid);
        const Bytes reply = ok(identifyRequest());
        const DeviceInfoBlock block = DeviceInfoBlock::fromReply(reply);
        const VirtualMouseConfig& config = m_device->config();
        EXPECT_EQ(block.devId(), config.devId);
        EXPECT_EQ(block.keptValue(), config.infoValue);
        EXPECT_EQ(block.sensorId(), config.sensorId);
        EXPECT_EQ(block.reportRateCapability(), config.reportRateCapability);
        EXPECT_EQ(block.batteryLevel(), config.battery);
        EXPECT_EQ(block.chargingState(), config.charging);
        EXPECT_TRUE(block.mouseOnline());
    }
}

TEST_F(RoundTrip, ReportRates) {
    for (const ReportRate& rate : kReportRates) {
        SCOPED_TRACE(rate.hz);
        ok(encodeReportRate(rate.code));
        EXPECT_EQ(decodeReportRate(CommandReply(read(Command::ReadReportRate))), rate.code);
    }
}

// Every value of every sensor's scale within its limits, six stages at a time,
// with every stage count and current stage along the way.
TEST_F(RoundTrip, DpiStagesOfEverySensor) {
    for (const SensorProfile& profile : allSensorProfiles()) {
        const int sensorId = profile.sensorId < 0 ? 99 : profile.sensorId;
        SCOPED_TRACE(sensorId);
        auto configs = defaultVirtualMouseConfigs();
        configs[0].sensorId = static_cast<std::uint8_t>(sensorId);
        use(configs, 0x0001);
        const DpiLimits limits = dpiLimitsForSensor(sensorId);
        std::vector<int> values;
        for (int dpi : dpiScaleValues(sensorId))
            if (dpi >= limits.minimum && dpi <= limits.maximum) values.push_back(dpi);
        ASSERT_FALSE(values.empty());
        for (std::size_t first = 0, round = 0; first < values.size(); first += kDpiStageCount, ++round) {
            DpiStageSettings stages;
            stages.stageCount = static_cast<int>(round % kDpiStageCount) + 1;
            stages.currentStage = static_cast<int>(round % static_cast<std::size_t>(stages.stageCount));
            for (std::size_t n = 0; n < kDpiStageCount; ++n)
                stages.dpi[n] = values[std::min(first + n, values.size() - 1)];
            ok(encodeDpiStages(stages, sensorId));
            const auto back = decodeDpiStages(CommandReply(read(Command::ReadDpiStages)), sensorId);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->stageCount, stages.stageCount);
            EXPECT_EQ(back->currentStage, stages.currentStage);
            for (std::size_t n = 0; n < kDpiStageCount; ++n)
                EXPECT_EQ(back->dpi[n], std::optional<int>(stages.dpi[n])) << "stage " << n;
        }
    }
}

TEST_F(RoundTrip, DpiValuesOutsideTheLimitsComeBackClamped) {
    const int sensorId = m_device->config().sensorId;
    const DpiLimits limits = dpiLimitsForSensor(sensorId);
    DpiStageSettings stages{0, 6, {limits.minimum - 30, limits.maximum + 6000, 20, 0, -5, 1000000}};
    ok(encodeDpiStages(stages, sensorId));
    const auto back = decodeDpiStages(CommandReply(read(Command::ReadDpiStages)), sensorId);
    ASSERT_TRUE(back);
    const std::optional<int> low = limits.minimum, high = limits.maximum;
    EXPECT_EQ(back->dpi, (std::array<std::optional<int>, kDpiStageCount>{low, high, low, low, low, high}));
}

TEST_F(RoundTrip, DpiColors) {
    const std::array<int, kDpiStageCount> sets[] = {
        {0x123456, 0, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000},
        {1, 2, 3, 0x800000, 0x008000, 0x000080},
    };
    for (const auto& colors : sets) {
        ok(encodeDpiColors(colors));
        EXPECT_EQ(decodeDpiColors(CommandReply(read(Command::ReadDpiColors))), colors);
    }
}

TEST_F(RoundTrip, LiftOffAndSensorOptions) {
    for (int liftOff : {1, 2}) {
        for (int flags : {0x00, 0x04, 0x08, 0x0C, 0x10, 0x1C}) {
            SCOPED_TRACE(::testing::Message() << liftOff << " " << flags);
            ok(encodeLiftOffSensor({liftOff, flags}));
            const auto back = decodeLiftOffSensor(CommandReply(read(Command::ReadLiftOffSensor)));
            ASSERT_TRUE(back);
            EXPECT_EQ(back->liftOff, liftOff);
            EXPECT_EQ(back->sensorFlags, flags & (kSensorFlag04 | kSensorFlag08)) << "0x10 has no place on the wire";
        }
    }
}

TEST_F(RoundTrip, PowerOptions) {
    for (int sleep : {1, 3, 6, 12, 36, 60, 120, 180}) {
        for (int flags = 0; flags < 4; ++flags) {
            const PowerOptions options{sleep, flags & 1, (flags >> 1) & 1, (sleep + flags) % 21};
            ok(encodePowerOptions(options));
            const auto back = decodePowerOptions(CommandReply(read(Command::ReadPowerOptions)));
            ASSERT_TRUE(back);
            EXPECT_EQ(back->sleepLight, options.sleepLight);
            EXPECT_EQ(back->moveWakeup, options.moveWakeup);
            EXPECT_EQ(back->moveCloseLight, options.moveCloseLight);
            EXPECT_EQ(back->buttonResponseTime, options.buttonResponseTime);
        }
    }
}

TEST_F(RoundTrip, WirelessFirmwareVersion) {
    use(defaultVirtualMouseConfigs(), 0x0002);
    EXPECT_EQ(decodeWirelessFirmware(CommandReply(read(Command::ReadWirelessFirmware))), "105");
}

// Every binding type with every value its table names (and one it does not),
// on every button the packet carries: the firmware stores exactly the bytes
// the host's table holds.
TEST_F(RoundTrip, EveryBindingTypeReachesTheKeyTable) {
    const MacroPlayback playbacks[] = {{1, 0}, {2, 0}, {3, 0}, {0, 5}, {0, 0}, {4, 300}};
    int checked = 0;
    for (int type = 0; type <= 10; ++type) {
        for (int value = 0; value <= 12; ++value) {
            for (int keyCode = 0; keyCode < 9; ++keyCode) {
                const int value2 = (value * 3 + keyCode) % 16;
                const int usage = type == 2 ? (value < 8 ? 0xE0 + value : 0x04 + value) : value;
                for (const MacroPlayback* macro : {static_cast<const MacroPlayback*>(nullptr), &playbacks[keyCode % 6]}) {
                    if (macro != nullptr && type != 4) continue;
                    KeyTable table;
                    table.apply({keyCode, type, usage, value2}, macro);
                    ok(table.packet());
                    const MouseSettings stored = m_device->settings();
                    ASSERT_TRUE(std::equal(table.bytes().begin(), table.bytes().begin() + KeyTable::kSentBytes,
                                           stored.keyTable.begin()))
                        << "type " << type << " value " << usage << " key " << keyCode;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST_F(RoundTrip, EveryLightMode) {
    for (int mode = 0; mode <= 7; ++mode) {
        for (int level : {0x00, 0x5A, 0xF3}) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " level " << level);
            LightSettings light{mode, level >> 4, level & 0x0F, {}};
            for (int n = 0; n < 7; ++n) light.colors[n] = (0x102030 * (n + 1) + level) & 0xFFFFFF;
            const LightingState before = m_device->settings().lighting;
            ok(encodeLighting(light));
            const auto back = decodeLightingRead(CommandReply(read(Command::ReadLighting)));
            ASSERT_TRUE(back);
            const LightingState stored = m_device->settings().lighting;
            if (mode >= 6) {
                // These modes carry nothing: the mouse keeps what it had.
                EXPECT_EQ(stored, before);
                EXPECT_EQ(back->mode, before.mode);
                continue;
            }
            EXPECT_EQ(back->mode, light.mode);
            EXPECT_EQ(back->brightness, light.brightness);
            EXPECT_EQ(back->speed, light.speed);
            if (mode == 2) {
                for (int n = 0; n < 7; ++n) EXPECT_EQ(stored.colors[n], static_cast<std::uint32_t>(light.colors[n]));
            }
            if (mode == 3) {
                EXPECT_EQ(stored.colors[0], static_cast<std::uint32_t>(light.colors[0]));
            }
        }
    }
}

TEST_F(RoundTrip, LightingAndFactoryResets) {
    ok(encodeLighting({4, 1, 2, {}}));
    ok(encodeLightingReset());
    const auto back = decodeLightingRead(CommandReply(read(Command::ReadLighting)));
    ASSERT_TRUE(back);
    const LightingState factory = m_device->config().factory.lighting;
    EXPECT_EQ(back->mode, factory.mode);
    EXPECT_EQ(back->brightness, factory.brightness);
    EXPECT_EQ(back->speed, factory.speed);

    ok(encodeReportRate(0x08));
    ok(encodeFactoryReset());
    EXPECT_EQ(m_device->settings(), m_device->config().factory);
}

// Macros of 1 to 101 events from the host's step encoder, uploaded in one or
// more chunks: the firmware stores the same events for the key.
TEST_F(RoundTrip, MacrosOfEverySize) {
    for (int count = 1; count <= 101; ++count) {
        SCOPED_TRACE(count);
        std::vector<MacroEncodeStep> steps;
        for (int i = 0; i < count; ++i) {
            switch (i % 4) {
                case 0: steps.push_back({kStepKeyPress, 0x41 + i % 26}); break;
                case 1: steps.push_back({kStepKeyRelease, 0x41 + (i - 1) % 26}); break;
                case 2: steps.push_back({kStepMousePress, 1 << (i % 5)}); break;
                default: steps.push_back({kStepMouseRelease, 1 << ((i - 1) % 5)}); break;
            }
            steps.push_back({kStepDelay, (i * 37) % 3000 + 1});
        }
        const std::vector<MacroEvent> events = encodeMacroEvents(steps);
        ASSERT_EQ(events.size(), static_cast<std::size_t>(count));
        const int keyCode = count % 21;
        const std::vector<std::uint8_t> data = macroUploadData(keyCode, events);
        for (const CommandPacket& packet : macroUploadPackets(data)) ok(packet);
        const MouseSettings stored = m_device->settings();
        ASSERT_EQ(stored.macros.count(static_cast<std::uint8_t>(keyCode)), 1u);
        EXPECT_EQ(stored.macros.at(static_cast<std::uint8_t>(keyCode)), Bytes(data.begin() + 1, data.end()));
    }
}

TEST_F(RoundTrip, NoticesDecodeAsSent) {
    use(defaultVirtualMouseConfigs(), 0x0002);
    Bytes report(65);
    m_device->setBattery(90, 1);
    ASSERT_GT(m_hid->readTimeout(report.data(), report.size(), 50), 0);
    Notification notice = decodeNotification(report);
    EXPECT_EQ(notice.kind, NotificationKind::Connection);
    EXPECT_TRUE(notice.online);
    EXPECT_EQ(notice.batteryLevel, 90);
    EXPECT_EQ(notice.chargingState, 1);

    m_device->switchMouse(false);
    ASSERT_GT(m_hid->readTimeout(report.data(), report.size(), 50), 0);
    notice = decodeNotification(report);
    EXPECT_EQ(notice.kind, NotificationKind::Connection);
    EXPECT_FALSE(notice.online);
    EXPECT_EQ(notice.batteryLevel, 0);

    m_device->switchMouse(true);
    ASSERT_GT(m_hid->readTimeout(report.data(), report.size(), 50), 0);
    for (int press = 0; press < 8; ++press) {
        m_device->pressDpiButton();
        ASSERT_GT(m_hid->readTimeout(report.data(), report.size(), 50), 0);
        notice = decodeNotification(report);
        const MouseSettings s = m_device->settings();
        EXPECT_EQ(notice.kind, NotificationKind::DpiChange);
        EXPECT_EQ(notice.currentStage, s.currentStage);
        EXPECT_EQ(notice.stageCount, s.stageCount);
    }
}

TEST_F(RoundTrip, LoaderReportsFlashTheImage) {
    auto loader = m_backend->openPath(simtest::pathOf(*m_backend, 0x0001, 0xFFEF, 0));
    ASSERT_NE(loader, nullptr);
    for (std::size_t size : {std::size_t{64 * 1024}, std::size_t{100}, std::size_t{96}, std::size_t{10}}) {
        SCOPED_TRACE(size);
        Bytes image(size);
        for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>((i * 13) ^ (i >> 9));
        auto put = [&](const LoaderReport& r) { return loader->write(r.data(), r.size()) == 64; };
        ASSERT_TRUE(put(loaderStartReport()));
        for (const LoaderReport& r : loaderDataReports(image)) ASSERT_TRUE(put(r));
        ASSERT_TRUE(put(loaderEndReport()));
        EXPECT_EQ(m_device->flashState(), FlashState::Complete);
        EXPECT_EQ(m_device->flashError(), FlashError::None);
        Bytes expected = image;
        expected.resize((size + 15) / 16 * 16, 0xFF);
        EXPECT_EQ(m_device->flashedImage(), expected);
    }
}

}  // namespace
}  // namespace quorvik
