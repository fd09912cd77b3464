// Macro step list (see CRecordList.h).
#include "ui/toolkit/CRecordList.h"

#include "ui/toolkit/Messages.h"

#include <utility>

namespace DUI {

int CRecordList::AddString(const std::string& text, int type, int value, int timestamp) {
    return InsertString(-1, text, type, value, timestamp);
}

int CRecordList::InsertString(int position, const std::string& text, int type, int value, int timestamp) {
    {
        std::lock_guard lock(m_mutex);
        if (position < 0 || position > static_cast<int>(m_items.size()))
            position = static_cast<int>(m_items.size());
        m_items.insert(m_items.begin() + position, {text, type, value, timestamp});
    }
    requestRedraw();
    return position;
}

bool CRecordList::DeleteItem(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        m_items.erase(m_items.begin() + index);
        if (m_selected == index)
            m_selected = -1;
        else if (m_selected > index)
            --m_selected;
    }
    requestRedraw();
    return true;
}

void CRecordList::DeleteAllItems() {
    {
        std::lock_guard lock(m_mutex);
        m_items.clear();
        m_selected = -1;
    }
    requestRedraw();
}

int CRecordList::GetCurSel() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

void CRecordList::SetCurSel(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) index = -1;
        if (m_selected == index) return;
        m_selected = index;
    }
    requestRedraw();
}

int CRecordList::GetSelectEvent() const {
    std::lock_guard lock(m_mutex);
    return validIndex(m_selected) ? m_selected : -1;
}

int CRecordList::GetItemCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_items.size());
}

int CRecordList::GetEventCount() const {
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const RecordItem& item : m_items)
        if (item.type >= 2 && item.type <= 5) ++count;
    return count;
}

std::vector<RecordItem> CRecordList::GetRecordItems() const {
    std::lock_guard lock(m_mutex);
    return m_items;
}

bool CRecordList::GetRecordInfo(int index, std::string& text, int& type, int& value, int& timestamp) const {
    std::lock_guard lock(m_mutex);
    if (!validIndex(index)) return false;
    const RecordItem& item = m_items[index];
    text = item.text;
    type = item.type;
    value = item.value;
    timestamp = item.timestamp;
    return true;
}

int CRecordList::GetRecrodTimeStamp(int index) const {
    std::lock_guard lock(m_mutex);
    return validIndex(index) ? m_items[index].timestamp : 0;
}

bool CRecordList::SetRecordInfo(int index, const std::string& text, int type, int value, int timestamp) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        m_items[index] = {text, type, value, timestamp};
    }
    requestRedraw();
    return true;
}

int CRecordList::SetRecordInfo(int timestamp, int type, const std::string& text, int value) {
    int changed = 0;
    {
        std::lock_guard lock(m_mutex);
        for (RecordItem& item : m_items) {
            if (item.timestamp != timestamp || item.type != type) continue;
            item.text = text;
            item.value = value;
            ++changed;
        }
    }
    if (changed > 0) requestRedraw();
    return changed;
}

bool CRecordList::SwapItem(int first, int second) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(first) || !validIndex(second)) return false;
        std::swap(m_items[first], m_items[second]);
    }
    requestRedraw();
    return true;
}

bool CRecordList::MoveTop(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        RecordItem item = m_items[index];
        m_items.erase(m_items.begin() + index);
        m_items.insert(m_items.begin(), item);
    }
    requestRedraw();
    return true;
}

bool CRecordList::MoveBottom(int index) {
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        RecordItem item = m_items[index];
        m_items.erase(m_items.begin() + index);
        m_items.push_back(item);
    }
    requestRedraw();
    return true;
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
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyClick, index);
    return true;
}

bool CRecordList::userContextMenu(int index) {
    if (!usable()) return false;
    {
        std::lock_guard lock(m_mutex);
        if (!validIndex(index)) return false;
        m_selected = index;
    }
    requestRedraw();
    notify(kNotifyItemMenu, index);
    return true;
}

}  // namespace DUI
