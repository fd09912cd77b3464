// A drop-down list of entries (text and an integer datum). Its title is the
// shown entry's text. Choosing an entry notifies 2 with the entry's index.
#pragma once

#include "ui/toolkit/MControlFont.h"
#include "ui/toolkit/detail/TextDataItems.h"

#include <cstdint>
#include <string>

namespace DUI {

class MComboBox : public MControlFont {
public:
    const char* GetClassName() const override { return "MComboBox"; }

    int AddItem(const std::string& text, std::intptr_t data);
    void DelAllItems();
    bool DeleteItem(int index);
    bool SetItemText(int index, const std::string& text);
    std::string GetItemText(int index) const;
    std::intptr_t GetItemData(int index) const;
    int GetItemCount() const;
    // An index out of range selects nothing.
    void SetCurSel(int index);
    int GetCurSel() const;
    // Selects the first entry with that datum and returns its index; with no
    // such entry nothing is selected and -1 is returned.
    int SelectData(std::intptr_t data);
    // The selected entry's datum; 0 when nothing is selected.
    std::intptr_t GetCurData() const;
    // The shown entry's text; the control's own title when nothing is selected.
    std::string GetTitle() const override;

    // The user chose entry `index` from the drop-down.
    bool userChoose(int index);

private:
    detail::TextDataItems m_items{m_mutex, [this] { requestRedraw(); }};
};

}  // namespace DUI
