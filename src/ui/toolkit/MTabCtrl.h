// The page tabs: items (id, caption, icon, visibility) each bound to a page
// container. Selecting an item shows its page and hides the others; the user's
// choice notifies 2 with the tab index.
#pragma once

#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/ItemList.h"

#include <string>
#include <vector>

namespace DUI {

class MTabCtrl : public MControlFont {
public:
    struct Item {
        int id = 0;
        std::string text;
        std::string icon;
        bool visible = true;
        MControl* page = nullptr;
    };

    const char* GetClassName() const override { return "MTabCtrl"; }

    // Appends an item; returns its index.
    int AddItem(int id, const std::string& text, const std::string& icon, MControl* page = nullptr);
    void DeleteAllItems();
    int GetItemCount() const;
    std::vector<Item> GetItems() const;
    // The item's id; -1 when the index is out of range.
    int GetItemID(int index) const;
    bool SetItemText(int index, const std::string& text);
    bool SetItemVisible(int index, bool visible);
    bool IsItemVisible(int index) const;
    // Selects the item and shows its page (hiding the other items' pages);
    // an index out of range selects nothing and shows no page.
    void SetCurSel(int index);
    int GetCurSel() const;
    void SetItemSize(int width, int height);
    int GetItemWidth() const;
    int GetItemHeight() const;

    // The user clicked tab `index` (a hidden tab cannot be clicked).
    bool userSelect(int index);

private:
    detail::ItemList<Item> m_items{m_mutex, [this] { requestRedraw(); }};
    int m_itemWidth = 190;
    int m_itemHeight = 60;
};

}  // namespace DUI
