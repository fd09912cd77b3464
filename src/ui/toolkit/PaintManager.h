// Per-window drawing settings a backend reads: the two background colours
// (top and bottom of a vertical gradient), COLORREF order.
#pragma once

#include <cstdint>
#include <mutex>
#include <utility>

namespace DUI {

class PaintManager {
public:
    void SetBackColor(std::uint32_t top, std::uint32_t bottom);
    // (top, bottom); both 0 until set.
    std::pair<std::uint32_t, std::uint32_t> GetBackColor() const;
    bool HasBackColor() const;

private:
    mutable std::mutex m_mutex;
    std::uint32_t m_top = 0;
    std::uint32_t m_bottom = 0;
    bool m_set = false;
};

}  // namespace DUI
