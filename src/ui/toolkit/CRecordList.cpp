// Macro step list (see CRecordList.h).
#include "ui/toolkit/CRecordList.h"

#include "ui/toolkit/Messages.h"

#include <utility>

namespace DUI {

int CRecordList::AddString(const std::string& text, int type, int value, int timestamp) {
    return InsertString(-1, text, type, value, timestamp);
}

using Rows = detail::ItemRows<RecordItem>;

int CRecordList::InsertString(int position, const std::string& text, int type, int value, int timestamp) {
    // The selection keeps its index: new steps go in at the selected row.
    m_items.update([&](Rows& rows) {
        if (position < 0 || position > rows.count()) position = rows.count();
        rows.items.insert(rows.items.begin() + position, {text, type, value, timestamp});
        return true;
    });
    return position;
}

bool CRecordList::DeleteItem(int index) {
    return m_items.remove(index);
}

void CRecordList::DeleteAllItems() {
    m_items.clear();
}

int CRecordList::GetCurSel() const {
    return m_items.selected();
}

void CRecordList::SetCurSel(int index) {
    m_items.select(index);
}

int CRecordList::GetSelectEvent() const {
    return m_items.read([](const Rows& rows) { return rows.valid(rows.selected) ? rows.selected : -1; });
}

int CRecordList::GetItemCount() const {
    return m_items.count();
}

int CRecordList::GetEventCount() const {
    return m_items.read([](const Rows& rows) {
        int count = 0;
        for (const RecordItem& item : rows.items)
            if (item.type >= 2 && item.type <= 5) ++count;
        return count;
    });
}

std::vector<RecordItem> CRecordList::GetRecordItems() const {
    return m_items.items();
}

bool CRecordList::GetRecordInfo(int index, std::string& text, int& type, int& value, int& timestamp) const {
    return m_items.read([&](const Rows& rows) {
        const RecordItem* item = rows.at(index);
        if (item == nullptr) return false;
        text = item->text;
        type = item->type;
        value = item->value;
        timestamp = item->timestamp;
        return true;
    });
}

int CRecordList::GetRecrodTimeStamp(int index) const {
    return m_items.get(index, &RecordItem::timestamp, 0);
}

bool CRecordList::SetRecordInfo(int index, const std::string& text, int type, int value, int timestamp) {
    return m_items.update([&](Rows& rows) {
        if (!rows.valid(index)) return false;
        rows.items[index] = {text, type, value, timestamp};
        return true;
    });
}

int CRecordList::SetRecordInfo(int timestamp, int type, const std::string& text, int value) {
    int changed = 0;
    m_items.update([&](Rows& rows) {
        for (RecordItem& item : rows.items) {
            if (item.timestamp != timestamp || item.type != type) continue;
            item.text = text;
            item.value = value;
            ++changed;
        }
        return changed > 0;
    });
    return changed;
}

bool CRecordList::SwapItem(int first, int second) {
    return m_items.update([&](Rows& rows) {
        if (!rows.valid(first) || !rows.valid(second)) return false;
        std::swap(rows.items[first], rows.items[second]);
        return true;
    });
}

bool CRecordList::MoveTop(int index) {
    return m_items.update([&](Rows& rows) {
        if (!rows.valid(index)) return false;
        RecordItem item = rows.items[index];
        rows.items.erase(rows.items.begin() + index);
        rows.items.insert(rows.items.begin(), item);
        return true;
    });
}

bool CRecordList::MoveBottom(int index) {
    return m_items.update([&](Rows& rows) {
        if (!rows.valid(index)) return false;
        RecordItem item = rows.items[index];
        rows.items.erase(rows.items.begin() + index);
        rows.items.push_back(item);
        return true;
    });
}

void CRecordList::SetEditText(const std::string& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_editText == text) return;
        m_editText = text;
    }
    requestRedraw();
}

std::string CRecordList::GetEditText() const {
    std::lock_guard lock(m_mutex);
    return m_editText;
}

void CRecordList::SetListImages(const std::string& icon, const std::string& background,
                                const std::string& more) {
    {
        std::lock_guard lock(m_mutex);
        m_icon = icon;
        m_background = background;
        m_more = more;
    }
    requestRedraw();
}

bool CRecordList::userSelect(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

bool CRecordList::userContextMenu(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyItemMenu, index);
    return true;
}

}  // namespace DUI
