// Key bindings, macros with their steps, and lighting records: the store's
// statements, parameter orders and the rules around them.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace quorvik {
namespace {


class RecordTables : public test::OpenStoreTest {};

KeyBinding sampleBinding() {
    return KeyBinding{.profile = 2,
                      .fn_layer = 0,
                      .key_code = 4,
                      .layout_value = 11,
                      .layout_desc = "layout",
                      .macro_type = 3,
                      .macro_value = 7,
                      .macro_value2 = 8,
                      .macro_value3 = 9,
                      .macro_desc = "Forward"};
}

TEST_F(RecordTables, KeyBindingIsStoredOnlyWhenOneOfTheFirstTwoValuesIsSet) {
    struct Case {
        const char* name;
        int macroValue;
        int macroValue2;
        int macroValue3;
        bool stored;
    } cases[] = {
        {"both values zero removes the binding", 0, 0, 0, false},
        {"third value alone does not count", 0, 0, 5, false},
        {"second value alone", 0, 5, 0, true},
        {"first value alone", 5, 0, 0, true},
        {"negative value", -1, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(store.storeKeyBinding(sampleBinding()), 0);  // an existing row to replace or remove
        KeyBinding binding = sampleBinding();
        binding.macro_value = c.macroValue;
        binding.macro_value2 = c.macroValue2;
        binding.macro_value3 = c.macroValue3;
        const int keyId = store.storeKeyBinding(binding);
        EXPECT_EQ(keyId > 0, c.stored);
        EXPECT_EQ(raw().number("SELECT count(*) FROM t_key_macro_data"), c.stored ? 1 : 0);
        if (c.stored) {
            EXPECT_EQ(raw().number("SELECT key_id FROM t_key_macro_data"), keyId);
        }
        ASSERT_TRUE(store.deleteProfileBindings(2));
    }
}

TEST_F(RecordTables, StoringTheSameButtonTwiceKeepsOneRowWithANewIdentifier) {
    const int first = store.storeKeyBinding(sampleBinding());
    KeyBinding changed = sampleBinding();
    changed.macro_value = 42;
    const int second = store.storeKeyBinding(changed);
    EXPECT_GT(second, first);
    KeyBinding read;
    ASSERT_TRUE(store.getKeyBinding(2, 4, read));
    EXPECT_EQ(read.key_id, second);
    EXPECT_EQ(read.macro_value, 42);
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_key_macro_data"), 1);
}

TEST_F(RecordTables, KeyBindingRoundTripsEveryField) {
    const KeyBinding stored = sampleBinding();
    const int keyId = store.storeKeyBinding(stored);
    // Parameter order as written to the table.
    EXPECT_EQ(raw().row("SELECT * FROM t_key_macro_data"),
              (std::vector<std::string>{std::to_string(keyId), "2", "0", "4", "11", "layout", "3", "7", "8",
                                        "9", "Forward"}));
    KeyBinding read;
    ASSERT_TRUE(store.getKeyBinding(2, 4, read));
    EXPECT_EQ(read.key_id, keyId);
    EXPECT_EQ(read.profile, 2);
    EXPECT_EQ(read.key_code, 4);
    EXPECT_EQ(read.layout_value, 11);
    EXPECT_EQ(read.layout_desc, "layout");
    EXPECT_EQ(read.macro_type, 3);
    EXPECT_EQ(read.macro_value, 7);
    EXPECT_EQ(read.macro_value2, 8);
    EXPECT_EQ(read.macro_value3, 9);
    EXPECT_EQ(read.macro_desc, "Forward");

    ASSERT_TRUE(store.setKeyBindingDesc(2, 4, "Back"));
    ASSERT_TRUE(store.getKeyBinding(2, 4, read));
    EXPECT_EQ(read.macro_desc, "Back");
}

TEST_F(RecordTables, ReadsSeeOnlyLayerZeroAndLeaveTheRecordAloneWhenMissing) {
    KeyBinding otherLayer = sampleBinding();
    otherLayer.fn_layer = 1;
    otherLayer.key_code = 9;
    ASSERT_GT(store.storeKeyBinding(otherLayer), 0);
    ASSERT_GT(store.storeKeyBinding(sampleBinding()), 0);

    KeyBinding untouched = sampleBinding();
    untouched.macro_desc = "caller's";
    EXPECT_FALSE(store.getKeyBinding(2, 9, untouched));  // only on layer 1
    EXPECT_FALSE(store.getKeyBinding(3, 4, untouched));  // other profile
    EXPECT_EQ(untouched.macro_desc, "caller's");
    EXPECT_EQ(untouched.key_id, 0);

    std::vector<KeyBinding> list(4);
    EXPECT_EQ(store.listKeyBindings(2, list), 1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(store.listKeyBindings(7, list), 0);
    EXPECT_TRUE(list.empty());

    EXPECT_TRUE(store.setKeyBindingDesc(2, 99, "no row"));  // matched nothing: still success
    EXPECT_TRUE(store.deleteProfileBindings(2));
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_key_macro_data"), 0);  // both layers
}

TEST_F(RecordTables, MacrosCarryTheirPlaySettings) {
    const int added = store.addMacro("Macro 1");
    ASSERT_EQ(added, 1);
    MacroRecord macro;
    ASSERT_TRUE(store.getMacro(added, macro));
    EXPECT_EQ(macro.name, "Macro 1");
    EXPECT_EQ(macro.play_type, 0);
    EXPECT_EQ(macro.play_times, 1);
    EXPECT_EQ(macro.delay_type, 1);
    EXPECT_EQ(macro.delay_time, 0);

    const int inserted = store.insertMacro(
        {.name = "Imported", .play_type = 2, .play_times = 5, .delay_type = 0, .delay_time = 30});
    ASSERT_EQ(inserted, 2);
    ASSERT_TRUE(store.updateMacro({.macro_id = inserted,
                                   .name = "Renamed",
                                   .play_type = 1,
                                   .play_times = 3,
                                   .delay_type = 2,
                                   .delay_time = 15}));
    EXPECT_EQ(raw().row("SELECT * FROM t_macro_data WHERE macro_id = 2"),
              (std::vector<std::string>{"2", "Renamed", "1", "3", "2", "15"}));
    ASSERT_TRUE(store.renameMacro(added, "First"));

    std::vector<MacroRecord> macros(2);
    ASSERT_EQ(store.listMacros(macros), 2);
    EXPECT_EQ(macros[0].name, "First");
    EXPECT_EQ(macros[1].name, "Renamed");

    MacroRecord missing{.name = "caller's"};
    EXPECT_FALSE(store.getMacro(99, missing));
    EXPECT_EQ(missing.name, "caller's");
}

TEST_F(RecordTables, MacroStepsComeBackSortedByIndex) {
    const int macroId = store.addMacro("m");
    const int other = store.addMacro("other");
    std::vector<MacroStep> steps;
    for (int index : {3, 0, 2, 1}) {
        steps.push_back({.macro_id = macroId,
                         .type = index % 2,
                         .record_index = index,
                         .value = 0x41 + index,
                         .delay_time = 10 * index,
                         .desc = "step " + std::to_string(index)});
    }
    store.insertMacroSteps(steps);
    EXPECT_GT(store.insertMacroStep({.macro_id = other, .record_index = 0, .desc = "x"}), 0);
    EXPECT_EQ(
        raw().row("SELECT macro_id, type, record_index, desc, value, delay_time FROM t_macrorecord LIMIT 1"),
        (std::vector<std::string>{"1", "1", "3", "step 3", "68", "30"}));

    std::vector<MacroStep> read(9);
    ASSERT_EQ(store.listMacroSteps(macroId, read), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(read[i].record_index, i);
        EXPECT_EQ(read[i].macro_id, macroId);
        EXPECT_EQ(read[i].value, 0x41 + i);
        EXPECT_EQ(read[i].delay_time, 10 * i);
        EXPECT_EQ(read[i].type, i % 2);
        EXPECT_EQ(read[i].desc, "step " + std::to_string(i));
        EXPECT_GT(read[i].record_id, 0);
    }
    EXPECT_EQ(read[0].record_id, 2);  // index 0 was inserted second

    ASSERT_TRUE(store.deleteMacroSteps(macroId));
    EXPECT_EQ(store.listMacroSteps(macroId, read), 0);
    EXPECT_EQ(store.listMacroSteps(other, read), 1);
    store.insertMacroSteps({});  // nothing to insert is fine
}

TEST_F(RecordTables, DeleteMacroRemovesItsStepsAndAcceptsUnknownIds) {
    const int keep = store.addMacro("keep");
    const int drop = store.addMacro("drop");
    store.insertMacroSteps({{.macro_id = keep, .record_index = 0},
                            {.macro_id = drop, .record_index = 0},
                            {.macro_id = drop, .record_index = 1}});
    EXPECT_TRUE(store.deleteMacro(drop));
    EXPECT_TRUE(store.deleteMacro(12345));  // both deletes run and touch nothing
    EXPECT_EQ(raw().text("SELECT group_concat(macro_id) FROM t_macro_data"), std::to_string(keep));
    EXPECT_EQ(raw().text("SELECT group_concat(macro_id) FROM t_macrorecord"), std::to_string(keep));
    // Identifiers are not reused after a delete.
    EXPECT_EQ(store.addMacro("new"), drop + 1);
}

TEST_F(RecordTables, DeleteMacroFailsWhenTheStepTableIsMissing) {
    const int macroId = store.addMacro("m");
    ASSERT_EQ(editFromOutside("DROP TABLE t_macrorecord"), SQLITE_OK);
    EXPECT_FALSE(store.deleteMacro(macroId));
}

LightRecord sampleLight(int profile, int mode) {
    return LightRecord{.profile = profile,
                       .name = "mode " + std::to_string(mode),
                       .mode = mode,
                       .brightness = 3,
                       .speed = 2,
                       .direction = 1,
                       .colorful = 1,
                       .colorindex = 4,
                       .color_value1 = 255,
                       .color_value2 = 65280,
                       .color_value3 = 16711680,
                       .color_value4 = 4,
                       .color_value5 = 5,
                       .color_value6 = 6,
                       .color_value7 = 7,
                       .config_func = 8,
                       .reserved = 9,
                       .status = 0};
}

TEST_F(RecordTables, LightRecordsRoundTripInColumnOrder) {
    const int lightId = store.addLight(sampleLight(1, 2));
    ASSERT_EQ(lightId, 1);
    EXPECT_EQ(raw().row("SELECT * FROM t_light_data"),
              (std::vector<std::string>{"1", "1", "mode 2", "2", "3", "2", "1", "1", "4", "255", "65280",
                                        "16711680", "4", "5", "6", "7", "8", "9", "0"}));
    LightRecord read;
    ASSERT_TRUE(store.getLight(1, 2, read));
    EXPECT_EQ(read.light_id, 1);
    EXPECT_EQ(read.name, "mode 2");
    EXPECT_EQ(read.color_value3, 16711680);
    EXPECT_EQ(read.reserved, 9);
    LightRecord untouched{.name = "caller's"};
    EXPECT_FALSE(store.getLight(1, 5, untouched));
    EXPECT_EQ(untouched.name, "caller's");
}

TEST_F(RecordTables, UpdateLightChangesValuesButNeverNameOrStatus) {
    store.addLight(sampleLight(1, 2));
    store.addLight(sampleLight(2, 2));
    ASSERT_TRUE(store.setActiveLight(2, 2));

    LightRecord update = sampleLight(2, 2);  // the record names profile 2
    update.name = "new name";
    update.status = 0;
    update.brightness = 10;
    update.color_value7 = 777;
    update.reserved = 1;
    ASSERT_TRUE(store.updateLight(2, update));
    LightRecord read;
    ASSERT_TRUE(store.getLight(2, 2, read));
    EXPECT_EQ(read.brightness, 10);
    EXPECT_EQ(read.color_value7, 777);
    EXPECT_EQ(read.reserved, 1);
    EXPECT_EQ(read.name, "mode 2");
    EXPECT_EQ(read.status, 1);
    ASSERT_TRUE(store.getLight(1, 2, read));
    EXPECT_EQ(read.brightness, 3);              // profile 1 untouched
    EXPECT_TRUE(store.updateLight(9, update));  // no such mode: success, nothing changed
}

TEST_F(RecordTables, OneActiveLightingModePerProfile) {
    for (int mode = 1; mode <= 4; ++mode) ASSERT_GT(store.addLight(sampleLight(1, mode)), 0);
    ASSERT_GT(store.addLight(sampleLight(2, 1)), 0);
    ASSERT_TRUE(store.setActiveLight(2, 1));
    EXPECT_EQ(store.countLights(1), 4);
    EXPECT_EQ(store.countLights(3), 0);

    ASSERT_TRUE(store.setActiveLight(1, 1));
    ASSERT_TRUE(store.setActiveLight(1, 3));
    EXPECT_EQ(store.getActiveLightMode(1), 3);
    EXPECT_EQ(store.getActiveLightMode(2), 1);  // another profile keeps its own
    EXPECT_EQ(store.getActiveLightMode(3), 0);  // a profile without rows
    EXPECT_EQ(raw().number("SELECT count(*) FROM t_light_data WHERE profile = 1 AND status = 1"), 1);

    std::vector<LightRecord> lights(1);
    ASSERT_EQ(store.listLights(1, lights), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lights[i].mode, i + 1);
    EXPECT_EQ(lights[2].status, 1);

    EXPECT_TRUE(store.setActiveLight(1, 9));  // unknown mode: no mode active any more
    EXPECT_EQ(store.getActiveLightMode(1), 0);
}

TEST_F(RecordTables, NullColumnsReadAsZeroAndEmptyText) {
    ASSERT_EQ(editFromOutside("INSERT INTO t_key_macro_data(profile, fn_layer, key_code) VALUES (1, 0, 3);"
                              "INSERT INTO t_macro_data(name) VALUES (NULL);"
                              "INSERT INTO t_macrorecord(macro_id) VALUES (1);"
                              "INSERT INTO t_light_data(profile, mode) VALUES (1, 2);"),
              SQLITE_OK);
    KeyBinding binding = sampleBinding();
    ASSERT_TRUE(store.getKeyBinding(1, 3, binding));
    EXPECT_EQ(binding.layout_desc, "");
    EXPECT_EQ(binding.macro_desc, "");
    EXPECT_EQ(binding.macro_value, 0);
    EXPECT_EQ(binding.macro_value3, 0);
    MacroRecord macro{.name = "x", .play_times = 4};
    ASSERT_TRUE(store.getMacro(1, macro));
    EXPECT_EQ(macro.name, "");
    EXPECT_EQ(macro.play_times, 0);
    std::vector<MacroStep> steps;
    ASSERT_EQ(store.listMacroSteps(1, steps), 1);
    EXPECT_EQ(steps[0].desc, "");
    EXPECT_EQ(steps[0].record_index, 0);
    LightRecord light = sampleLight(5, 5);
    ASSERT_TRUE(store.getLight(1, 2, light));
    EXPECT_EQ(light.name, "");
    EXPECT_EQ(light.color_value1, 0);
    EXPECT_EQ(light.status, 0);
}

TEST_F(RecordTables, TextFieldsStopAtAnEmbeddedNul) {
    KeyBinding binding = sampleBinding();
    binding.macro_desc = std::string("Ctrl+C") + '\0' + "tail";
    binding.layout_desc = std::string(1, '\0') + "all hidden";
    store.storeKeyBinding(binding);
    const int macroId = store.addMacro(std::string("M\xC3\xA4") + '\0' + "x");
    store.insertMacroStep({.macro_id = macroId, .desc = std::string("A") + '\0' + "B"});
    EXPECT_EQ(raw().row("SELECT hex(macro_desc), hex(layout_desc) FROM t_key_macro_data"),
              (std::vector<std::string>{"4374726C2B43", ""}));
    EXPECT_EQ(raw().text("SELECT hex(name) FROM t_macro_data"), "4DC3A4");
    EXPECT_EQ(raw().text("SELECT hex(desc) FROM t_macrorecord"), "41");
}

}  // namespace
}  // namespace quorvik
