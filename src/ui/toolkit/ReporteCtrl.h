// The report-rate list: entries of text, rate code and colour; one selected.
// Choosing an entry notifies 2 with its index.
#pragma once

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/detail/ItemList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace DUI {

class ReporteCtrl : public MControl {
public:
    struct Item {
        std::string text;
        int code = 0;
        std::uint32_t color = 0;
    };

    const char* GetClassName() const override { return "ReporteCtrl"; }

    void DeleteAllItems();
    int AddItem(const std::string& text, int code, std::uint32_t color);
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    // Selects the first entry with that code; with none, nothing is selected.
    // Returns the index or -1.
    int SetSelectItemValue(int code);
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // The entry's code; -1 when the index is out of range.
    int GetItemKeyValue(int index) const;

    bool userSelect(int index);

private:
    detail::ItemList<Item> m_items{m_mutex, [this] { requestRedraw(); }};
};

}  // namespace DUI
