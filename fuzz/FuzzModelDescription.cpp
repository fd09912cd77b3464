// Fuzzes model description files: any bytes as device/<stem>.xml are loaded
// into a description and its controls, and their factory values are written
// into a profile. Checks the invariants the main window relies on: the button
// picture, the button list and the key defaults always agree, and the button
// list's rectangle stays ordered.
#include "base/FileIo.h"
#include "model/FactoryValues.h"
#include "model/ModelDescriptionLoader.h"
#include "store/SettingsStore.h"
#include "ui/toolkit/MPicture.h"
#include "ui/toolkit/MTabCtrl.h"
#include "ui/toolkit/MouseCtrl.h"
#include "ui/toolkit/MouseKeyCtrl.h"

#include <unistd.h>
#include <cstdlib>
#include <string>

namespace {

struct Setup {
    std::string root;
    quorvik::ModelSources sources;
    int profile = 0;

    Setup() {
        char pattern[] = "/tmp/quorvik-fuzz-model-XXXXXX";
        root = ::mkdtemp(pattern) ? pattern : "/tmp/quorvik-fuzz-model";
        quorvik::createFolderPath(root + "/program/device");
        quorvik::createFolderPath(root + "/user/db");
        sources.programFolder = root + "/program/";
        sources.userDataFolder = root + "/user/";
        quorvik::DeviceModelEntry model;
        model.name = "Fuzz";
        model.device_type = 1;
        model.device_attr = "fuzz";
        sources.models = {model};
        sources.deviceType = 1;
        sources.text = [](int id) { return std::to_string(id); };
        sources.store = &quorvik::SettingsStore::instance();
        sources.store->openForModel(sources.userDataFolder, "fuzz");
        profile = sources.store->addProfile(quorvik::ProfileRecord{0, "P", "", 0, 0});
        // The loader reopens this same database for every input (stem "fuzz").
    }
    ~Setup() { std::system(("rm -rf '" + root + "'").c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    quorvik::writeFileAtomically(setup.sources.programFolder + "device/fuzz.xml", bytes);

    DUI::MPicture picture;
    DUI::MTabCtrl tabs;
    for (int i = 0; i < 6; ++i) tabs.AddItem(i + 1, "", "");
    DUI::MouseCtrl buttons;
    DUI::MouseKeyCtrl list;
    quorvik::ModelControls controls{
        &picture, &tabs, &buttons, &list, [] { return DUI::Rect{0, 0, 1300, 788}; }, {}, {}};
    quorvik::DeviceDescription description;
    quorvik::loadModelDescription(description, controls, setup.sources);

    const int count = static_cast<int>(description.keyDefaults.size());
    if (buttons.GetItemCount() != count || list.GetItemCount() != count) std::abort();
    const DUI::Rect rect = list.GetRect();
    if (count > 0 && (rect.right < rect.left || rect.bottom < rect.top)) std::abort();

    quorvik::writeFactoryValues(setup.profile, true, setup.sources);
    quorvik::writeFactoryReportRate(setup.profile, setup.sources);
    return 0;
}
