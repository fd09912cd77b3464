// The DPI stage list: one row per stage with its DPI and colour, one selected
// stage, and an in-place editor for a stage's DPI. Choosing a stage notifies 2,
// starting to edit one 30, ending the edit 29, clicking its colour 9; each
// notification carries the stage index.
#pragma once

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/detail/ItemList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace DUI {

class DPIControl : public MControl {
public:
    struct Stage {
        int dpi = 0;
        std::uint32_t color = 0;
    };

    const char* GetClassName() const override { return "DPIControl"; }
    bool AcceptsFocus() const override { return true; }

    void ClearList();
    int AddItem(int dpi, std::uint32_t color);
    int GetItemCount() const;
    std::vector<Stage> GetStages() const;
    bool SetDPIValue(int index, int dpi);
    bool SetDPIColorValue(int index, std::uint32_t color);
    // 0 when the index is out of range.
    int GetDPIValue(int index) const;
    std::uint32_t GetDPIColorValue(int index) const;
    // An index out of range selects nothing.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // Text of the in-place DPI editor.
    std::string GetEditText() const;
    void SetEditText(const std::string& text);
    bool IsEditing() const;

    bool userSelect(int index);
    bool userColorClick(int index);
    // Opens the editor on stage `index` (selecting it): notification 30.
    bool userBeginEdit(int index);
    // Types into the open editor and closes it: notification 29.
    bool userEndEdit(const std::string& typed);

    void OnFocusChanged(bool gained) override;

private:
    detail::ItemList<Stage> m_stages{m_mutex, [this] { requestRedraw(); }};
    std::string m_editText;
    bool m_editing = false;
};

}  // namespace DUI
