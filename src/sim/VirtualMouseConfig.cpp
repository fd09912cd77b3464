// The standard collection layout and the default simulated device set. The
// set is data: tests and --simulate runs may pass their own list instead.
#include "sim/VirtualMouseConfig.h"

namespace quorvik {

std::vector<VirtualCollection> standardCollections() {
    return {
        {0, 1, 0x0001, 0x0002, CollectionRole::Inert},     // mouse
        {1, 1, 0x000C, 0x0001, CollectionRole::Inert},     // consumer control
        {2, 1, 0x0001, 0x0000, CollectionRole::Commands},  // vendor commands
        {2, 2, 0xFF00, 0x0001, CollectionRole::Inert},     // vendor, not for commands
        {2, 3, 0xFFEF, 0x0000, CollectionRole::Loader},    // firmware loader
    };
}

std::array<std::uint8_t, MouseSettings::kKeyTableSize> factoryKeyTable() {
    std::array<std::uint8_t, MouseSettings::kKeyTableSize> table{};
    const std::uint8_t defaults[6][3] = {
        {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00},
        {0x10, 0x08, 0x00}, {0x10, 0x10, 0x00}, {0x40, 0x01, 0x00},
    };
    for (int key = 0; key < 6; ++key)
        for (int i = 0; i < 3; ++i) table[3 * key + i] = defaults[key][i];
    return table;
}

namespace {

struct ModelData {
    const char* devId;
    const char* name;
    std::uint16_t wiredPid;
    std::uint16_t receiverPid;
    std::uint8_t sensorId;
    std::uint8_t reportRateCapability;
    std::uint16_t stageCodes[MouseSettings::kStageCount];
};

// Stage codes are the sensor's own: sensor 17 counts 50 DPI steps up to 10000
// (400 DPI = 8) and 100 DPI steps above (12000 DPI = 220); sensor 53 counts
// 100 DPI steps (400 DPI = 4).
constexpr ModelData kModels[] = {
    {"QV01", "QV01", 0x0001, 0x0002, 17, 0x40, {8, 16, 32, 64, 128, 220}},
    {"QV02", "QV02", 0x0003, 0x0004, 53, 0x00, {4, 8, 16, 32, 64, 160}},
};

constexpr std::uint32_t kFactoryStageColors[MouseSettings::kStageCount] = {
    0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};

MouseSettings factorySettings(const ModelData& model) {
    MouseSettings s;
    s.reportRate = 1;
    s.stageCount = 4;
    s.currentStage = 1;
    for (int n = 0; n < MouseSettings::kStageCount; ++n) {
        s.stages[n] = {model.stageCodes[n], model.stageCodes[n]};
        s.stageColors[n] = kFactoryStageColors[n];
    }
    s.liftOff = 1;
    s.sensorOption08 = 0;
    s.sensorOption04 = 1;
    s.sleepLight = 6;
    s.moveWakeup = 1;
    s.moveCloseLight = 0;
    s.buttonResponse = 4;
    s.keyTable = factoryKeyTable();
    s.lighting.mode = 2;
    s.lighting.brightness = 10;
    s.lighting.speed = 3;
    s.lighting.colorCount = 7;
    s.lighting.colors = {0x0000FF, 0x007FFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF};
    return s;
}

}  // namespace

std::vector<VirtualMouseConfig> defaultVirtualMouseConfigs() {
    std::vector<VirtualMouseConfig> set;
    for (const ModelData& model : kModels) {
        VirtualMouseConfig wired;
        wired.vid = 0x1209;
        wired.pid = model.wiredPid;
        wired.mode = ConnectionMode::Wired;
        wired.product = std::string(model.name) + " Wired Mouse";
        wired.release = 0x0105;
        wired.mouseFirmware = 0x0105;
        wired.devId = model.devId;
        wired.infoValue = 0x0001;
        wired.sensorId = model.sensorId;
        wired.reportRateCapability = model.reportRateCapability;
        wired.battery = 100;
        wired.charging = 1;
        wired.collections = standardCollections();
        wired.factory = factorySettings(model);
        set.push_back(wired);

        VirtualMouseConfig receiver = wired;
        receiver.pid = model.receiverPid;
        receiver.mode = ConnectionMode::Receiver;
        receiver.product = std::string(model.name) + " 2.4G Receiver";
        receiver.release = 0x0110;
        receiver.battery = 80;
        receiver.charging = 0;
        set.push_back(receiver);
    }
    return set;
}

}  // namespace quorvik
