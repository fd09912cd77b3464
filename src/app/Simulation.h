// What --simulate runs against: built-in virtual mice in place of the HID
// devices, with their plug and unplug events as the hot-plug source.
#pragma once

#include "app/DeviceMainDlg.h"
#include "sim/SimulatedHidBackend.h"

#include <memory>
#include <vector>

namespace quorvik {

// The first configured model through its receiver (mouse on) and the second
// one on its cable.
std::vector<VirtualMouseConfig> simulatedMice();

// Main window services over `backend`: the manager given, hot-plug events from
// the backend's plug and unplug, the vendor-collection check through it.
MainWindowServices simulatedServices(const std::shared_ptr<SimulatedHidBackend>& backend, DeviceManager& manager);

}  // namespace quorvik
