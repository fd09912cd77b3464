// The macro list: entries (displayed name and macro id) with in-place
// renaming. Choosing notifies 2, a finished rename 29 and a right click 5.
#pragma once

#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/TextDataItems.h"

#include <cstdint>
#include <string>

namespace DUI {

class MacroList : public MControlFont {
public:
    const char* GetClassName() const override { return "MacroList"; }
    bool AcceptsFocus() const override { return true; }

    int AddString(const std::string& text, std::intptr_t data, int position = -1);
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetCurSel() const;
    void SetCurSel(int index);
    std::intptr_t GetItemData(int index) const;
    std::string GetItemText(int index) const;
    int GetItemCount() const;
    bool ModifyItemString(int index, const std::string& text);
    // Image of the entry's edit ("more") button.
    void SetEditImage(const std::string& name);
    std::string GetEditImage() const;

    bool userChoose(int index);
    // In-place rename of entry `index` ended with `text` (which may be empty).
    bool userRename(int index, const std::string& text);
    // Right click on entry `index` (selects it) or, with -1, on empty space.
    bool userContextMenu(int index);

private:
    detail::TextDataItems m_items{m_mutex, [this] { requestRedraw(); }};
    std::string m_editImage;
};

}  // namespace DUI
