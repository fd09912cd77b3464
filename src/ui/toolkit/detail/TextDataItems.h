// The item list shared by the combo boxes and list boxes: text plus an integer
// datum per entry and one selected index (-1 for none), under the owning
// control's lock (see ItemList.h).
#pragma once

#include "ui/toolkit/detail/ItemList.h"

#include <cstdint>
#include <string>

namespace DUI::detail {

struct TextDataItem {
    std::string text;
    std::intptr_t data = 0;
    bool operator==(const TextDataItem&) const = default;
};

using TextDataItems = ItemList<TextDataItem>;

}  // namespace DUI::detail
