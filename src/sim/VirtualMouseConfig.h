// One simulated USB device described as data: identity, what identify reports, collections
// and factory settings. The simulator's device set is a list of these;
// defaultVirtualMouseConfigs() gives the models of data/config.xml.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/MouseSettings.h"

namespace quorvik {

enum class ConnectionMode { Wired = 0, Receiver = 1 };

// What a collection of the simulated device does with the reports written to it.
enum class CollectionRole {
    Commands,  // the vendor command collection: commands, replies, notices
    Loader,    // the firmware loader
    Inert,     // any other collection: refuses writes, never sends a report
};

struct VirtualCollection {
    int interfaceNumber = 0;
    int collectionNumber = 1;  // counted from 1 within the interface, as in the path
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    CollectionRole role = CollectionRole::Inert;
};

struct VirtualMouseConfig {
    std::uint16_t vid = 0x1209;
    std::uint16_t pid = 0x0001;
    ConnectionMode mode = ConnectionMode::Wired;
    std::string product;
    std::uint16_t release = 0x0100;        // bcdDevice of the device itself
    std::uint16_t mouseFirmware = 0x0100;  // the wireless mouse's version (0x20 read, receiver only)
    std::string devId = "QV01";            // 4 ASCII characters, identify bytes 4..7
    std::uint16_t infoValue = 0;           // identify bytes 8, 9
    std::uint8_t sensorId = 0;
    std::uint8_t reportRateCapability = 0;  // 0x10, 0x20, 0x40, anything else: up to 1000 Hz
    std::uint8_t battery = 100;
    std::uint8_t charging = 0;
    bool mouseOnline = true;  // receivers: whether the wireless mouse starts switched on
    bool plugged = true;      // whether the device is present when the simulator starts
    std::vector<VirtualCollection> collections;
    MouseSettings factory;
};

// The collections every simulated device exposes: a mouse and a consumer
// collection, the vendor command collection (usage page 1, usage 0, interface
// 2), a second vendor collection that must not be used, and the loader.
std::vector<VirtualCollection> standardCollections();

// The factory key table: buttons 0..5 as left, right, middle, back, forward
// and DPI; everything else 0.
std::array<std::uint8_t, MouseSettings::kKeyTableSize> factoryKeyTable();

// Model 1 (dev_id "QV01": wired 1209:0001, receiver 1209:0002) and model 2
// (dev_id "QV02": wired 1209:0003, receiver 1209:0004).
std::vector<VirtualMouseConfig> defaultVirtualMouseConfigs();

}  // namespace quorvik
