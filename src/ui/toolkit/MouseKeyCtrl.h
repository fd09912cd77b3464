// The list of the mouse's buttons: name, description of the bound function and
// button code per row. Descriptions are set by button code. Choosing a row
// selects it and notifies 2 with its index.
#pragma once

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/detail/ItemList.h"

#include <string>
#include <vector>

namespace DUI {

class MouseKeyCtrl : public MControl {
public:
    struct Item {
        std::string name;
        std::string desc;
        int keyValue = 0;
    };

    const char* GetClassName() const override { return "MouseKeyCtrl"; }

    int AddItem(const std::string& name, const std::string& desc, int keyValue);
    void DeleteAllItems();
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // The row's button code; -1 when the index is out of range.
    int GetItemKeyValue(int index) const;
    std::string GetItemKeyName(int index) const;
    std::string GetItemKeyDesc(int index) const;
    // Sets the description of every row with that button code; false when none.
    bool SetItemKeyDesc(int keyValue, const std::string& desc);
    bool SetItemText(int index, const std::string& name);

    bool userSelect(int index);

private:
    detail::ItemList<Item> m_items{m_mutex, [this] { requestRedraw(); }};
};

}  // namespace DUI
