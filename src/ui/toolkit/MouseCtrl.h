// The mouse picture with one hot spot per button: name, button code on the
// device, the side its label is drawn on and the two ends of its callout line.
// Clicking a hot spot selects it and notifies 2 with its index.
#pragma once

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/detail/ItemList.h"

#include <string>
#include <vector>

namespace DUI {

class MouseCtrl : public MControl {
public:
    struct Item {
        std::string name;
        int keyValue = 0;
        int direction = 0;
        Point from;
        Point to;
    };

    const char* GetClassName() const override { return "MouseCtrl"; }

    int AddItem(const std::string& name, int keyValue, int direction, Point from, Point to);
    void DeleteAllItems();
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    // An index out of range selects nothing.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // The item's button code; -1 when the index is out of range.
    int GetItemKeyValue(int index) const;
    bool SetItemText(int index, const std::string& name);
    std::string GetItemText(int index) const;

    bool userSelect(int index);

private:
    detail::ItemList<Item> m_items{m_mutex, [this] { requestRedraw(); }};
};

}  // namespace DUI
