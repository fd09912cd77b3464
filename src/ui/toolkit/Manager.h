// Process-wide toolkit settings: the device name (caption of config.xml's
// software element), skin theme, global font name, accent colour and the
// program instance. All members are static and safe to use from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace DUI {

class Manager {
public:
    static void SetInstance(void* instance);
    static void* GetInstance();

    static void SetDeviceName(const std::string& name);
    static std::string GetDeviceName();

    // Skin theme: the sub-folder of skins/ that holds the pictures.
    static void SetTheme(const std::string& theme);
    static std::string GetTheme();

    static void SetFontName(const std::string& fontName);
    static std::string GetFontName();

    // Folder the skin image names are resolved against (MRender::ResolveSkinPath).
    static void SetSkinFolder(const std::string& folder);
    static std::string GetSkinFolder();

    // Accent colour of selections, COLORREF order (red in the low byte).
    static inline std::atomic<std::uint32_t> m_select_color{
        0x3C8CFF};  // orange-red accent (R=0xFF, G=0x8C, B=0x3C)
};

}  // namespace DUI
