// The macro step list: rows of RecordItem with one selection. Choosing a row
// notifies 2 and a right click 9, both with the row index.
#pragma once

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/RecordItem.h"
#include "ui/toolkit/detail/ItemList.h"

#include <string>
#include <vector>

namespace DUI {

class CRecordList : public MControl {
public:
    const char* GetClassName() const override { return "CRecordList"; }

    int AddString(const std::string& text, int type, int value, int timestamp);
    // Inserts before `position`; -1 or past the end appends. Returns the index.
    int InsertString(int position, const std::string& text, int type, int value, int timestamp);
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetCurSel() const;
    void SetCurSel(int index);
    // Where new steps go: the selected row, -1 when none.
    int GetSelectEvent() const;
    int GetItemCount() const;
    // Key and mouse steps (types 2 to 5).
    int GetEventCount() const;
    std::vector<RecordItem> GetRecordItems() const;
    bool GetRecordInfo(int index, std::string& text, int& type, int& value, int& timestamp) const;
    // The row's timestamp; 0 when the index is out of range.
    int GetRecrodTimeStamp(int index) const;
    bool SetRecordInfo(int index, const std::string& text, int type, int value, int timestamp);
    // Every row with that timestamp and type gets the text and value; returns
    // how many changed.
    int SetRecordInfo(int timestamp, int type, const std::string& text, int value);
    // Swaps two rows (the selection stays on its index).
    bool SwapItem(int first, int second);
    bool MoveTop(int index);
    bool MoveBottom(int index);
    // Text of the list's row editor.
    void SetEditText(const std::string& text);
    std::string GetEditText() const;
    void SetListImages(const std::string& icon, const std::string& background, const std::string& more);

    bool userSelect(int index);
    bool userContextMenu(int index);

private:
    detail::ItemList<RecordItem> m_items{m_mutex, [this] { requestRedraw(); }};
    std::string m_editText;
    std::string m_icon;
    std::string m_background;
    std::string m_more;
};

}  // namespace DUI
