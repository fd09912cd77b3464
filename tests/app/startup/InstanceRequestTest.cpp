// Requests from outside reach the main window: the line each request is sent
// as, and what each one does to a window of the headless toolkit.
#include "app/startup/InstanceRequest.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace quorvik {
namespace {

TEST(InstanceRequest, Lines) {
    struct Case {
        const char* line;
        std::optional<InstanceRequest> expected;
    };
    const Case cases[] = {
        {"show", InstanceRequest::Show},
        {"exit", InstanceRequest::Exit},
        {"language", InstanceRequest::Language},
        {"show\r", InstanceRequest::Show},
        {"Show", std::nullopt},
        {"show ", std::nullopt},
        {"", std::nullopt},
        {"exit now", std::nullopt},
        {"languages", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parseInstanceRequest(c.line), c.expected) << '"' << c.line << '"';
    for (InstanceRequest r : {InstanceRequest::Show, InstanceRequest::Exit, InstanceRequest::Language})
        EXPECT_EQ(parseInstanceRequest(instanceRequestLine(r)), r);
}

// Stands in for the main window: records the messages it is sent.
class MainWindow : public DUI::MDialog {
public:
    struct Message {
        DUI::UINT message;
        DUI::WPARAM wParam;
        DUI::LPARAM lParam;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;
    DUI::LRESULT OnWindowMessage(DUI::UINT message, DUI::WPARAM wParam, DUI::LPARAM lParam) override {
        if (message >= DUI::WM_USER) messages.push_back({message, wParam, lParam});
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }
};

TEST(InstanceRequest, DeliveredToTheMainWindowFromTheListeningThread) {
    DUI::HeadlessBackend backend;
    MainWindow window;
    ASSERT_NE(window.Create(0, "Quorvik", DUI::WS_POPUP, 0, {0, 0, 1300, 788}), 0u);
    const DUI::HWND hwnd = window.GetSafeHwnd();
    window.ShowWindow(DUI::SW_MINIMIZE);
    window.ShowWindow(DUI::SW_HIDE);  // hidden in the tray, minimised before

    std::thread listener([hwnd] {
        EXPECT_TRUE(deliverInstanceRequest(hwnd, InstanceRequest::Show));
        EXPECT_TRUE(deliverInstanceRequest(hwnd, InstanceRequest::Language));
        EXPECT_TRUE(deliverInstanceRequest(hwnd, InstanceRequest::Exit));
    });
    listener.join();
    EXPECT_FALSE(window.IsWindowVisible()) << "nothing happens off the UI thread";
    backend.processEvents();

    EXPECT_TRUE(window.IsWindowVisible());
    EXPECT_FALSE(window.IsIconic()) << "shown in the normal state";
    ASSERT_FALSE(backend.raisedWindows().empty());
    EXPECT_EQ(backend.raisedWindows().back(), hwnd);
    const std::vector<MainWindow::Message> expected{{2022, 0, 0}, {1691, 0, 610}};
    EXPECT_EQ(window.messages, expected);

    EXPECT_FALSE(deliverInstanceRequest(0, InstanceRequest::Show));
    window.DestroyWindow();
    EXPECT_FALSE(deliverInstanceRequest(hwnd, InstanceRequest::Exit));
    EXPECT_TRUE(deliverInstanceRequest(hwnd, InstanceRequest::Show));  // queued, then dropped
    backend.processEvents();
}

}  // namespace
}  // namespace quorvik
