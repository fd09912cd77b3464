// Key table, macro upload and lighting from the store into the simulated
// mouse, and the lighting read-back into the store.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "protocol/MacroEvents.h"
#include "protocol/MacroUpload.h"

namespace quorvik::devicetest {
namespace {

class BindingTransferTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        m_manager.SetCurrentType(1);
    }
    void bind(int keyCode, int type, int value, int value2 = 0) {
        KeyBinding b;
        b.profile = 1;
        b.key_code = keyCode;
        b.macro_type = type;
        b.macro_value = value;
        b.macro_value2 = value2;
        store().storeKeyBinding(b);
    }
    // A macro of `events` mouse-button events: press and release of the left
    // button in turn, event i followed by a delay of 10 + i ms.
    int addMacro(int events, int playType = 0, int playTimes = 1) {
        MacroRecord macro;
        macro.name = format("m%d", events);
        macro.play_type = playType;
        macro.play_times = playTimes;
        const int id = store().insertMacro(macro);
        std::vector<MacroStep> steps;
        for (int i = 0; i < events; ++i) {
            steps.push_back({0, id, i % 2 == 0 ? kStepMousePress : kStepMouseRelease, 2 * i, 1, 0, ""});
            steps.push_back({0, id, kStepDelay, 2 * i + 1, 10 + i, 0, ""});
        }
        store().insertMacroSteps(steps);
        return id;
    }
    static std::vector<std::uint8_t> macroBytes(int events) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < events; ++i) {
            bytes.push_back(i % 2 == 0 ? 0x10 : 0x90);
            bytes.push_back(static_cast<std::uint8_t>(10 + i));
            bytes.push_back(0);
            bytes.push_back(0x01);
        }
        return bytes;
    }
    std::vector<std::uint8_t> sentKeyTable() {
        const auto table = device(kM1Wired)->settings().keyTable;
        return {table.begin(), table.begin() + 27};
    }
    LightRecord light(int mode, int brightness, int speed, int color1 = 0) {
        LightRecord record;
        record.profile = 1;
        record.mode = mode;
        record.brightness = brightness;
        record.speed = speed;
        record.color_value1 = color1;
        record.color_value2 = 0x00FF00;
        record.color_value3 = 0xFF0000;
        record.color_value4 = 0xFFFF00;
        record.color_value5 = 0x00FFFF;
        record.color_value6 = 0xFF00FF;
        record.color_value7 = 0xFFFFFF;
        return record;
    }
};

TEST_F(BindingTransferTest, KeyTableCarriesTheBindingsOfButtonsZeroToEight) {
    const int macro = addMacro(2, 2);
    bind(0, 1, 4);           // mouse function 4
    bind(1, 2, 0x04, 0x03);  // Ctrl+Shift+A
    bind(2, 2, 0xE1, 0);     // left Shift alone
    bind(3, 4, macro);       // macro played while held
    bind(4, 4, 999);         // deleted macro: the default stays
    bind(5, 7, 0x0120, 5);   // rapid fire
    bind(9, 1, 1);           // past what the mouse receives
    ASSERT_TRUE(m_bindings.SendKeyTable());
    const std::vector<std::uint8_t> expected = {
        0x30, 0x32, 0x03,  // 0
        0x70, 0x03, 0x04,  // 1
        0x70, 0x02, 0x00,  // 2
        0x90, 0x43, 0x00,  // 3: key code 3 | 0x40
        0x10, 0x10, 0x00,  // 4: default
        0x30, 0x20, 0x05,  // 5
        0,    0,    0,    0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(sentKeyTable(), expected);
    EXPECT_TRUE(device(kM1Wired)->settings().macros.empty()) << "no macro was pending";

    // Without bindings the default table goes out again.
    store().deleteProfileBindings(1);
    ASSERT_TRUE(m_bindings.SendKeyTable());
    const auto factory = device(kM1Wired)->config().factory.keyTable;
    EXPECT_EQ(sentKeyTable(), std::vector<std::uint8_t>(factory.begin(), factory.begin() + 27));
}

TEST_F(BindingTransferTest, PendingMacroIsUploadedIntoItsButtonsSlot) {
    struct Case {
        const char* name;
        int events;
        int keyCode;
    };
    const Case cases[] = {
        {"one request (6 events, 25 bytes)", 6, 3},
        {"two chunks (7 events, 29 bytes)", 7, 4},
        {"three chunks (20 events, 81 bytes)", 20, 5},
        {"longest upload", static_cast<int>(kMaxUploadEvents), 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int macro = addMacro(c.events);
        bind(c.keyCode, 4, macro);
        m_session.setPendingMacroKey(c.keyCode);
        ASSERT_TRUE(m_bindings.SendKeyTable());
        EXPECT_EQ(m_session.takePendingMacroKey(), -1) << "the pending key is cleared";
        const auto macros = device(kM1Wired)->settings().macros;
        ASSERT_EQ(macros.count(static_cast<std::uint8_t>(c.keyCode)), 1u);
        EXPECT_EQ(macros.at(static_cast<std::uint8_t>(c.keyCode)), macroBytes(c.events));
    }
}

TEST_F(BindingTransferTest, PendingKeyWithoutAMacroBindingUploadsNothing) {
    bind(3, 1, 2);
    m_session.setPendingMacroKey(3);
    ASSERT_TRUE(m_bindings.SendKeyTable());
    EXPECT_TRUE(device(kM1Wired)->settings().macros.empty());
    EXPECT_FALSE(m_bindings.SendMacro(3, 12345)) << "unknown macro";
}

TEST_F(BindingTransferTest, LightingGoesToTheMouseByMode) {
    struct Case {
        const char* name;
        LightRecord record;
        LightingState expected;
    };
    const Case cases[] = {
        {"mode 2 with seven colours",
         light(2, 5, 3, 0x123456),
         {2, 5, 3, 7, {0x123456, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF}}},
        {"mode 3 with one colour", light(3, 15, 0, 0xABCDEF), {3, 15, 0, 1, {0xABCDEF}}},
        {"mode 0", light(0, 1, 9), {0, 1, 9, 0, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(store().addLight(c.record), 0);
        m_session.setLightMode(c.record.mode);
        ASSERT_TRUE(m_bindings.SendLighting());
        LightingState sent = device(kM1Wired)->settings().lighting;
        if (c.expected.colorCount < 7)
            for (std::size_t i = c.expected.colorCount; i < 7; ++i) sent.colors[i] = 0;
        EXPECT_EQ(sent, c.expected);
        EXPECT_EQ(store().getActiveLightMode(1), c.record.mode);
    }
}

TEST_F(BindingTransferTest, LightingWithoutARecordSendsNothing) {
    const int before = device(kM1Wired)->commandsCarriedOut();
    m_session.setLightMode(4);
    EXPECT_FALSE(m_bindings.SendLighting());
    EXPECT_EQ(device(kM1Wired)->commandsCarriedOut(), before);
    EXPECT_EQ(m_events.count("failure"), 0);
}

TEST_F(BindingTransferTest, ResetAndReadBringTheMousesLightingIntoTheStore) {
    for (int mode : {2, 3}) ASSERT_GT(store().addLight(light(mode, 1, 1, 0x0000FF)), 0);
    m_session.setLightMode(3);
    ASSERT_TRUE(m_bindings.SendLighting());

    // The mouse reports mode 3 with brightness 1 and speed 1; the store was edited since.
    LightRecord edited = light(3, 9, 9, 0x445566);
    store().updateLight(3, edited);
    ASSERT_TRUE(m_bindings.ReadLighting());
    LightRecord read;
    ASSERT_TRUE(store().getLight(1, 3, read));
    EXPECT_EQ(read.brightness, 1);
    EXPECT_EQ(read.speed, 1);
    EXPECT_EQ(read.color_value1, 0x445566) << "only brightness and speed come from the mouse";

    // Reset: the mouse's factory lighting (mode 2, brightness 10, speed 3) is read back.
    m_events.clear();
    ASSERT_TRUE(m_bindings.ResetLighting());
    EXPECT_EQ(store().getActiveLightMode(1), 2);
    EXPECT_EQ(m_session.lightMode(), 2);
    ASSERT_TRUE(store().getLight(1, 2, read));
    EXPECT_EQ(read.brightness, 10);
    EXPECT_EQ(read.speed, 3);
    EXPECT_EQ(m_events.calls(), (std::vector<std::string>{"lightMode 2", "refreshLighting"}));
}

}  // namespace
}  // namespace quorvik::devicetest
