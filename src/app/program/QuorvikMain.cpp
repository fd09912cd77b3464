// The program: start-up, then the main window on the Qt backend. With
// --simulate it talks to the built-in virtual mice (a receiver and a wired
// mouse) instead of the real HID devices, so it can be tried without hardware.
#include "app/DeviceMainDlg.h"
#include "app/config/AppFolders.h"
#include "app/startup/InstanceRequest.h"
#include "app/startup/Startup.h"
#include "app/Simulation.h"
#include "ui/qt/QtBackend.h"
#include "ui/toolkit/Manager.h"

#include <QApplication>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

bool hasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], wanted) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quorvik;
    const bool simulate = hasArgument(argc, argv, "--simulate");

    DUI::Manager::SetTheme("default");
    auto probe = [argc, argv](int& width, int& height, int& dpi) mutable {
        return DUI::QtBackend::probeScreen(argc, argv, width, height, dpi);
    };

    runStartup(
        argc, argv,
        [&](const StartupOptions& options, SingleInstance& instance) {
            DUI::QtBackend::setHighDpiAware(options.dpiAware);
            int qtArgc = argc;
            QApplication app(qtArgc, argv);
            app.setQuitOnLastWindowClosed(false);  // the tray keeps the program alive
            DUI::QtBackend backend;
            DUI::Manager::SetSkinFolder(SkinFolder());

            MainWindowServices services;
            std::shared_ptr<SimulatedHidBackend> simulated;
            if (simulate) {
                simulated = std::make_shared<SimulatedHidBackend>(simulatedMice());
                DeviceManager::Instance().setBackend(simulated);
                services = simulatedServices(simulated, DeviceManager::Instance());
            }

            DeviceMainDlg window(services);
            const DUI::HWND hwnd = window.Create(0, DUI::Manager::GetDeviceName(), DeviceMainDlg::kWindowStyle, 0,
                                                 {0, 0, mainwnd::kDesignWidth, mainwnd::kDesignHeight});
            if (hwnd == 0) return;
            window.CenterWindow();
            instance.listen([hwnd](InstanceRequest request) { deliverInstanceRequest(hwnd, request); });
            window.ShowModal(DeviceMainDlg::startShowCommand(options.startHidden));
            instance.stop();
            window.DestroyWindow();
        },
        {}, probe);
    // Every way the program ends (tray menu, close button, exit request, the
    // window's run returning, or another copy already running) is a normal end.
    return 0;
}
