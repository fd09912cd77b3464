#include "app/Simulation.h"

#include "device/SimulatedHotPlugSource.h"

namespace quorvik {

std::vector<VirtualMouseConfig> simulatedMice() {
    std::vector<VirtualMouseConfig> chosen;
    const std::vector<VirtualMouseConfig> all = defaultVirtualMouseConfigs();
    // The default set lists each model wired first, then through its receiver.
    for (std::size_t i = 0; i + 1 < all.size(); i += 2) {
        const std::size_t pick = chosen.empty() ? i + 1 : i;
        chosen.push_back(all[pick]);
        if (chosen.size() == 2) break;
    }
    return chosen;
}

MainWindowServices simulatedServices(const std::shared_ptr<SimulatedHidBackend>& backend, DeviceManager& manager) {
    MainWindowServices services;
    services.manager = &manager;
    services.backend = backend;
    services.makeHotPlugSource = [backend] {
        return std::make_unique<SimulatedHotPlugSource>(
            [backend](HotPlugSource::Callback callback) { backend->setHotPlugCallback(std::move(callback)); });
    };
    return services;
}

}  // namespace quorvik
