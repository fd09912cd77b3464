// A list of entries (text and datum) with one selection and optional in-place
// editing of an entry's text. Choosing an entry notifies 2; an in-place edit
// that ends notifies 29 (the entry then holds the edited text).
#pragma once

#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/TextDataItems.h"

#include <cstdint>
#include <string>

namespace DUI {

class DListBox : public MControlFont {
public:
    const char* GetClassName() const override { return "DListBox"; }
    bool AcceptsFocus() const override { return true; }

    // Inserts at `position` (-1 appends); returns the index.
    int AddString(const std::string& text, std::intptr_t data, int position = -1);
    bool DeleteString(int index);
    void DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int index) const;
    bool SetItemText(int index, const std::string& text);
    std::intptr_t GetItemData(int index) const;
    void SetCurSel(int index);
    int GetCurSel() const;
    // Selects the first entry with that datum (nothing when none).
    void SetCurData(std::intptr_t data);
    // The selected entry's datum; 0 when nothing is selected.
    std::intptr_t GetCurData() const;
    void SetEditable(bool editable);
    bool IsEditable() const;

    bool userChoose(int index);
    // In-place edit of entry `index` ending with `text`; false when editing is off.
    bool userEditItem(int index, const std::string& text);

private:
    detail::TextDataItems m_items{m_mutex, [this] { requestRedraw(); }};
    bool m_editable = false;
};

}  // namespace DUI
