// The simulated firmware through the HID seam, byte by byte: identify, every
// setting written and read back, key table, macros, lighting, resets, and the
// commands a firmware refuses.
#include <gtest/gtest.h>

#include "SimHost.h"
#include "sim/SimulatedHidBackend.h"

namespace quorvik {
namespace {

using simtest::Bytes;
using simtest::transact;
using simtest::readRequest;
using simtest::request;
using simtest::slice;

constexpr std::uint16_t kWired1 = 0x0001;
constexpr std::uint16_t kReceiver1 = 0x0002;
constexpr std::uint16_t kWired2 = 0x0003;

class VirtualMouseTest : public ::testing::Test {
protected:
    void SetUp() override { open(kWired1); }

    void open(std::uint16_t pid) {
        m_pid = pid;
        m_hid = simtest::openCommands(m_backend, pid);
        ASSERT_NE(m_hid, nullptr);
    }
    std::shared_ptr<VirtualDevice> device() { return m_backend.findDevice(0x1209, m_pid); }

    Bytes send(const Bytes& req) {
        auto reply = transact(*m_hid, req);
        EXPECT_TRUE(reply.has_value()) << "no reply to command " << int(req[1]);
        return reply.value_or(Bytes(32, 0xEE));
    }
    // Sends and expects status 0.
    Bytes ok(const Bytes& req) {
        Bytes reply = send(req);
        EXPECT_EQ(reply[1], 0) << "command " << int(req[1]) << " refused";
        EXPECT_EQ(reply[0], req[1]);
        return reply;
    }

    SimulatedHidBackend m_backend;
    std::uint16_t m_pid = 0;
    std::unique_ptr<HidDevice> m_hid;
};

TEST_F(VirtualMouseTest, IdentifyReportsTheConfiguredIdentity) {
    struct Case {
        const char* name;
        std::uint16_t pid;
        const char* devId;
        std::uint8_t sensor, capability, charging, battery;
    } cases[] = {
        {"model 1 wired", 0x0001, "QV01", 17, 0x40, 1, 100},
        {"model 1 receiver", 0x0002, "QV01", 17, 0x40, 0, 80},
        {"model 2 wired", 0x0003, "QV02", 53, 0x00, 1, 100},
        {"model 2 receiver", 0x0004, "QV02", 53, 0x00, 0, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(c.pid);
        const Bytes reply = ok(readRequest(0x10));
        EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 8), c.devId);
        EXPECT_EQ(reply[8] | (reply[9] << 8), 0x0001);
        EXPECT_EQ(reply[10], c.sensor);
        EXPECT_EQ(reply[11], c.capability);
        EXPECT_EQ(reply[12], c.charging);
        EXPECT_EQ(reply[13], c.battery);
        EXPECT_EQ(reply[14], 1);
    }
}

TEST(VirtualMouseIdentity, FollowsAnyConfiguration) {
    VirtualMouseConfig config = defaultVirtualMouseConfigs().front();
    config.pid = 0x0ABC;
    config.devId = "AB12";
    config.sensorId = 5;
    config.reportRateCapability = 0x20;
    config.infoValue = 0xBEEF;
    SimulatedHidBackend backend({config});
    auto hid = simtest::openCommands(backend, 0x0ABC);
    ASSERT_NE(hid, nullptr);
    const auto reply = transact(*hid, readRequest(0x10));
    ASSERT_TRUE(reply);
    EXPECT_EQ(slice(*reply, 4, 8), (Bytes{'A', 'B', '1', '2', 0xEF, 0xBE, 5, 0x20}));
}

// Every setting command, written with its own payload, reads back the same
// bytes through its read command.
TEST_F(VirtualMouseTest, SettingsReadBackAsWritten) {
    struct Case {
        const char* name;
        std::uint8_t write, length;
        Bytes payload;
        std::size_t buffer;
        std::uint8_t read;
        std::size_t readBytes;  // reply payload bytes that must equal the payload
    } cases[] = {
        {"report rate 125 Hz", 0x02, 0x01, {0x08}, 65, 0x12, 1},
        {"report rate 500 Hz", 0x02, 0x01, {0x02}, 65, 0x12, 1},
        {"report rate 8000 Hz", 0x02, 0x01, {0x40}, 65, 0x12, 1},
        {"dpi stage 2 of 4",
         0x03, 0x25,
         {0x24, 8, 0, 8, 0, 16, 0, 16, 0, 200, 0, 200, 0, 221, 0, 221, 0, 0x34, 0x12, 0x78, 0x56,
          0xFF, 0xFF, 0x00, 0x00},
         33, 0x13, 25},
        {"dpi one stage", 0x03, 0x25, {0x01, 1, 0, 1, 0}, 33, 0x13, 25},
        {"dpi stage 5 of 6", 0x03, 0x25, {0x56, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0},
         33, 0x13, 25},
        {"dpi colours",
         0x04, 0x12,
         {0x56, 0x34, 0x12, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 1, 2, 3, 0xFE,
          0xFD, 0xFC},
         65, 0x14, 18},
        {"lift-off 2 mm, both options", 0x06, 0x05, {2, 1, 1, 0, 0}, 65, 0x16, 3},
        {"lift-off 1 mm, option 0x04 only", 0x06, 0x05, {1, 0, 1, 0, 0}, 65, 0x16, 3},
        {"power options", 0x07, 0x04, {180, 1, 0, 20}, 65, 0x17, 4},
        {"power options all zero", 0x07, 0x04, {0, 0, 0, 0}, 65, 0x17, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes written = ok(request(c.write, 0x01, c.length, c.payload, c.buffer));
        EXPECT_EQ(slice(written, 4, c.payload.size()), c.payload) << "write reply echoes the request";
        const Bytes back = ok(readRequest(c.read));
        Bytes expected = c.payload;
        expected.resize(c.readBytes, 0);
        EXPECT_EQ(slice(back, 4, c.readBytes), expected);
        unsigned sum = 0;
        for (int i = 4; i <= 30; ++i) sum += back[i];
        EXPECT_EQ(back[31], sum & 0xFF) << "reply checksum";
    }
}

TEST_F(VirtualMouseTest, DpiStagesAreKeptAsDeviceCodes) {
    ok(request(0x03, 0x01, 0x25, {0x13, 0x34, 0x12, 0x78, 0x56, 220, 0, 221, 0, 1, 0, 2, 0}));
    const MouseSettings s = device()->settings();
    EXPECT_EQ(s.stageCount, 3);
    EXPECT_EQ(s.currentStage, 1);
    EXPECT_EQ(s.stages[0], (DpiStageCode{0x1234, 0x5678}));
    EXPECT_EQ(s.stages[1], (DpiStageCode{220, 221}));
    EXPECT_EQ(s.stages[2], (DpiStageCode{1, 2}));
}

// Commands a firmware refuses: the reply has a non-zero status and nothing
// stored changes.
TEST_F(VirtualMouseTest, RefusesMalformedCommandsWithoutChangingAnything) {
    auto badChecksum = request(0x02, 0x01, 0x01, {0x02}, 65);
    badChecksum[32] ^= 0x01;
    auto shortLength = request(0x03, 0x01, 25, {0x24, 8, 0, 8, 0});
    auto readFlag = request(0x02, 0x00, 0x01, {0x02}, 65);
    struct Case {
        const char* name;
        std::uint16_t pid;
        Bytes req;
        std::uint8_t status;
    } cases[] = {
        {"checksum off by one", kWired1, badChecksum, VirtualMouse::kStatusBadChecksum},
        {"stage length 25 instead of 0x25", kWired1, shortLength, VirtualMouse::kStatusBadValue},
        {"write without the write flag", kWired1, readFlag, VirtualMouse::kStatusBadValue},
        {"unknown command", kWired1, request(0x0A, 0x01, 0x01, {1}), VirtualMouse::kStatusUnknownCommand},
        {"report rate code 3", kWired1, request(0x02, 0x01, 0x01, {0x03}, 65), VirtualMouse::kStatusBadValue},
        {"report rate 0", kWired1, request(0x02, 0x01, 0x01, {0x00}, 65), VirtualMouse::kStatusBadValue},
        {"2000 Hz on a 1000 Hz mouse", kWired2, request(0x02, 0x01, 0x01, {0x10}, 65), VirtualMouse::kStatusBadValue},
        {"no dpi stages", kWired1, request(0x03, 0x01, 0x25, {0x00}), VirtualMouse::kStatusBadValue},
        {"seven dpi stages", kWired1, request(0x03, 0x01, 0x25, {0x07}), VirtualMouse::kStatusBadValue},
        {"current stage beyond the count", kWired1, request(0x03, 0x01, 0x25, {0x66}), VirtualMouse::kStatusBadValue},
        {"sensor option byte 2", kWired1, request(0x06, 0x01, 0x05, {1, 2, 0}, 65), VirtualMouse::kStatusBadValue},
        {"lighting mode 2 short", kWired1, request(0x05, 0x01, 0x05, {2, 0x11, 7}, 65), VirtualMouse::kStatusBadValue},
        {"lighting mode 7 with payload", kWired1, request(0x05, 0x01, 0x02, {7, 0x11}, 65), VirtualMouse::kStatusBadValue},
        {"lighting mode 0 with length 3", kWired1, request(0x05, 0x01, 0x03, {0, 0x11, 0}, 65), VirtualMouse::kStatusBadValue},
        {"factory reset without FF", kWired1, request(0x0F, 0x01, 0x01, {0x01}), VirtualMouse::kStatusBadValue},
        {"lighting reset without 01", kWired1, request(0x0E, 0x01, 0x01, {0x00}), VirtualMouse::kStatusBadValue},
        {"mouse firmware read on a wired mouse", kWired1, readRequest(0x20), VirtualMouse::kStatusUnknownCommand},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(c.pid);
        // Move away from the factory state first so a reset would show.
        ok(request(0x07, 0x01, 0x04, {9, 9, 9, 9}, 65));
        const MouseSettings before = device()->settings();
        const Bytes reply = send(c.req);
        EXPECT_EQ(reply[0], c.req[1]);
        EXPECT_EQ(reply[1], c.status);
        EXPECT_EQ(device()->settings(), before);
    }
}

TEST_F(VirtualMouseTest, KeyTableStoresTheFirst27Bytes) {
    Bytes table(27);
    for (int i = 0; i < 27; ++i) table[i] = static_cast<std::uint8_t>(0x40 + i);
    ok(request(0x09, 0x01, 0x0F, table));
    const MouseSettings s = device()->settings();
    EXPECT_EQ(Bytes(s.keyTable.begin(), s.keyTable.begin() + 27), table);
    EXPECT_EQ(Bytes(s.keyTable.begin() + 27, s.keyTable.end()), Bytes(37, 0));
}

TEST_F(VirtualMouseTest, FactoryKeyTableHasTheBuiltInButtons) {
    const MouseSettings s = device()->settings();
    EXPECT_EQ(Bytes(s.keyTable.begin(), s.keyTable.begin() + 21),
              (Bytes{0x10, 1, 0, 0x10, 2, 0, 0x10, 4, 0, 0x10, 8, 0, 0x10, 0x10, 0, 0x40, 1, 0,
                     0, 0, 0}));
}

// Upload data of one macro: key code, then `events` 4-byte events.
Bytes macroData(std::uint8_t key, int events) {
    Bytes data{key};
    for (int e = 0; e < events; ++e) {
        const std::uint8_t code = (e % 2 == 0) ? 0x30 : 0xB0;
        data.insert(data.end(), {code, static_cast<std::uint8_t>(e + 1), 0, static_cast<std::uint8_t>(4 + e)});
    }
    return data;
}

// Splits upload data into the requests a host sends: one when it fits in 25
// bytes, otherwise 27-byte chunks numbered (i << 4) | count.
std::vector<Bytes> macroRequests(const Bytes& data) {
    std::vector<Bytes> requests;
    if (data.size() <= 25) {
        requests.push_back(request(0x08, 0x01, static_cast<std::uint8_t>(data.size()), data));
        return requests;
    }
    const std::size_t chunks = (data.size() + 26) / 27;
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t from = 27 * i;
        const std::size_t len = std::min<std::size_t>(27, data.size() - from);
        requests.push_back(request(0x08, static_cast<std::uint8_t>((i << 4) | chunks),
                                   static_cast<std::uint8_t>(len), slice(data, from, len)));
    }
    return requests;
}

TEST_F(VirtualMouseTest, MacrosAreAssembledAndStoredPerKey) {
    struct Case {
        const char* name;
        std::uint8_t key;
        int events;
        std::size_t requests;
    } cases[] = {
        {"one event", 3, 1, 1},          {"six events in one request", 4, 6, 1},
        {"seven events in two chunks", 5, 7, 2}, {"twenty events in three chunks", 6, 20, 3},
        {"101 events in fifteen chunks", 7, 101, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes data = macroData(c.key, c.events);
        const auto requests = macroRequests(data);
        ASSERT_EQ(requests.size(), c.requests);
        for (const Bytes& r : requests) ok(r);
        const MouseSettings s = device()->settings();
        ASSERT_EQ(s.macros.count(c.key), 1u);
        EXPECT_EQ(s.macros.at(c.key), slice(data, 1, data.size() - 1));
    }
    EXPECT_EQ(device()->settings().macros.size(), 5u);
}

TEST_F(VirtualMouseTest, BrokenMacroUploadsStoreNothing) {
    const auto chunks = macroRequests(macroData(9, 20));  // three chunks
    struct Case {
        const char* name;
        std::vector<Bytes> requests;
    } cases[] = {
        {"second chunk missing", {chunks[0], chunks[2]}},
        {"starts with the second chunk", {chunks[1], chunks[2]}},
        {"chunk count 0", {request(0x08, 0x00, 5, {9, 0x30, 1, 0, 4})}},
        {"no whole events", {request(0x08, 0x01, 4, {9, 0x30, 1, 0})}},
        {"chunk longer than 27", {request(0x08, 0x01, 28, Bytes(27, 9))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes last;
        for (const Bytes& r : c.requests) last = send(r);
        EXPECT_NE(last[1], 0);
        EXPECT_TRUE(device()->settings().macros.empty());
    }
}

TEST_F(VirtualMouseTest, LightingModesStoreTheirBytes) {
    Bytes rainbow{2, 0x5A, 7};
    for (int n = 0; n < 7; ++n) rainbow.insert(rainbow.end(), {std::uint8_t(n), std::uint8_t(0x10 + n), std::uint8_t(0x20 + n)});
    struct Case {
        const char* name;
        std::uint8_t length;
        Bytes payload;
        std::uint8_t mode, brightness, speed, colorCount;
        std::uint32_t firstColor, lastColor;
    } cases[] = {
        {"mode 0", 2, {0, 0x31}, 0, 3, 1, 0, 0, 0},
        {"mode 1", 3, {1, 0xF0, 0}, 1, 15, 0, 0, 0, 0},
        {"mode 2, seven colours", 0x18, rainbow, 2, 5, 10, 7, 0x201000, 0x261606},
        {"mode 3, one colour", 5, {3, 0x42, 0x56, 0x34, 0x12}, 3, 4, 2, 1, 0x123456, 0x261606},
        {"mode 4", 2, {4, 0x0F}, 4, 0, 15, 0, 0x123456, 0x261606},
        {"mode 5", 2, {5, 0x77}, 5, 7, 7, 0, 0x123456, 0x261606},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ok(request(0x05, 0x01, c.length, c.payload, 65));
        const LightingState light = device()->settings().lighting;
        EXPECT_EQ(light.mode, c.mode);
        EXPECT_EQ(light.brightness, c.brightness);
        EXPECT_EQ(light.speed, c.speed);
        EXPECT_EQ(light.colorCount, c.colorCount);
        if (c.colorCount > 0) {
            EXPECT_EQ(light.colors[0], c.firstColor);
        }
        if (c.colorCount == 7) {
            EXPECT_EQ(light.colors[6], c.lastColor);
        }
        const Bytes back = ok(readRequest(0x15));
        EXPECT_EQ(slice(back, 4, 2), slice(c.payload, 0, 2));
    }
    // The modes from 6 up carry no payload: the header alone changes nothing.
    const LightingState before = device()->settings().lighting;
    ok(request(0x05, 0x01, 0x00, {}, 65));
    EXPECT_EQ(device()->settings().lighting, before);
}

TEST_F(VirtualMouseTest, FactoryResetRestoresEverything) {
    const MouseSettings factory = device()->config().factory;
    ok(request(0x02, 0x01, 0x01, {0x08}, 65));
    ok(request(0x03, 0x01, 0x25, {0x01, 1, 0, 1, 0}));
    ok(request(0x04, 0x01, 0x12, Bytes(18, 0x77), 65));
    ok(request(0x05, 0x01, 0x02, {0, 0x11}, 65));
    ok(request(0x06, 0x01, 0x05, {2, 1, 0}, 65));
    ok(request(0x07, 0x01, 0x04, {1, 0, 1, 0}, 65));
    ok(request(0x09, 0x01, 0x0F, Bytes(27, 0x70)));
    for (const Bytes& r : macroRequests(macroData(2, 8))) ok(r);
    ASSERT_NE(device()->settings(), factory);

    ok(request(0x0F, 0x01, 0x01, {0xFF}));
    EXPECT_EQ(device()->settings(), factory);
    const Bytes stages = ok(readRequest(0x13));
    EXPECT_EQ(stages[4], (factory.currentStage << 4) | factory.stageCount);
}

TEST_F(VirtualMouseTest, LightingResetRestoresOnlyTheLighting) {
    ok(request(0x05, 0x01, 0x02, {4, 0x12}, 65));
    ok(request(0x07, 0x01, 0x04, {1, 0, 1, 0}, 65));
    ok(request(0x0E, 0x01, 0x01, {0x01}));
    const MouseSettings s = device()->settings();
    EXPECT_EQ(s.lighting, device()->config().factory.lighting);
    EXPECT_EQ(s.sleepLight, 1);
    const Bytes back = ok(readRequest(0x15));
    EXPECT_EQ(back[4], 2);
    EXPECT_EQ(back[5], 0xA3);
}

TEST_F(VirtualMouseTest, ReceiverAnswersOnlyIdentifyWhileItsMouseIsOff) {
    open(kReceiver1);
    const Bytes version = ok(readRequest(0x20));
    EXPECT_EQ(slice(version, 4, 2), (Bytes{0x01, 0x05}));

    device()->switchMouse(false);
    Bytes notice(32);
    ASSERT_GT(m_hid->readTimeout(notice.data(), notice.size(), 100), 0);  // C0 00: offline
    EXPECT_EQ(slice(notice, 0, 4), (Bytes{0xC0, 0x00, 0x00, 0x00}));

    const Bytes identity = ok(readRequest(0x10));
    EXPECT_EQ(std::string(identity.begin() + 4, identity.begin() + 8), "QV01");
    EXPECT_EQ(slice(identity, 12, 3), (Bytes{0, 0, 0})) << "no battery, mouse offline";

    for (std::uint8_t command : {0x11, 0x12, 0x13, 0x20})
        EXPECT_FALSE(transact(*m_hid, readRequest(command), 50)) << int(command);
    EXPECT_FALSE(transact(*m_hid, request(0x02, 0x01, 0x01, {0x08}, 65), 50));
    EXPECT_EQ(device()->settings().reportRate, device()->config().factory.reportRate);
}

}  // namespace
}  // namespace quorvik
