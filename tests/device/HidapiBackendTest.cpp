// The hidapi side of the HID seam, as far as it can be tested without a mouse:
// enumeration works and reports what hidapi gives, bad paths open nothing,
// and wide product strings become UTF-8.
#include <gtest/gtest.h>

#include "device/HidapiBackend.h"
#include "device/detail/HidapiDevice.h"

namespace quorvik {
namespace {

TEST(HidapiBackend, UnknownPathsOpenNothing) {
    HidapiBackend backend;
    if (!backend.init()) GTEST_SKIP() << "hidapi cannot start here";
    EXPECT_EQ(backend.openPath(""), nullptr);
    EXPECT_EQ(backend.openPath("/dev/hidraw-does-not-exist"), nullptr);
    EXPECT_EQ(backend.openPath("/tmp"), nullptr);
}

TEST(HidapiBackend, EnumerationRecordsArePlausible) {
    HidapiBackend backend;
    if (!backend.init()) GTEST_SKIP() << "hidapi cannot start here";
    for (const HidInterfaceInfo& info : backend.enumerate()) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_LT(info.path.size(), 1024u);
    }
}

TEST(HidapiText, WideProductStringsBecomeUtf8) {
    struct Case {
        const char* name;
        const wchar_t* wide;
        std::string utf8;
    } cases[] = {
        {"null", nullptr, ""},
        {"empty", L"", ""},
        {"ascii", L"QV01 Mouse", "QV01 Mouse"},
        {"latin and cjk", L"\u00E9\u4E2D", "\xC3\xA9\xE4\xB8\xAD"},
        {"outside the BMP", L"\U0001F600", "\xF0\x9F\x98\x80"},
        {"not a code point", L"\x110000", "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) EXPECT_EQ(detail::hidWideToUtf8(c.wide), c.utf8) << c.name;
}

}  // namespace
}  // namespace quorvik
