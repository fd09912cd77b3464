// Report-rate list (see ReporteCtrl.h).
#include "ui/toolkit/ReporteCtrl.h"

#include "ui/toolkit/Messages.h"

namespace DUI {

void ReporteCtrl::DeleteAllItems() {
    m_items.clear();
}

int ReporteCtrl::AddItem(const std::string& text, int code, std::uint32_t color) {
    return m_items.insert({text, code, color});
}

int ReporteCtrl::GetItemCount() const {
    return m_items.count();
}

std::vector<ReporteCtrl::Item> ReporteCtrl::GetItems() const {
    return m_items.items();
}

int ReporteCtrl::SetSelectItemValue(int code) {
    int found = -1;
    m_items.update([&](detail::ItemRows<Item>& rows) {
        found = rows.findFirst([&](const Item& item) { return item.code == code; });
        rows.selected = found;
        return true;
    });
    return found;
}

void ReporteCtrl::SetSelectItem(int index) {
    m_items.select(index);
}

int ReporteCtrl::GetSelectItem() const {
    return m_items.selected();
}

int ReporteCtrl::GetItemKeyValue(int index) const {
    return m_items.get(index, &Item::code, -1);
}

bool ReporteCtrl::userSelect(int index) {
    if (!usable() || !m_items.choose(index)) return false;
    notify(kNotifyClick, index);
    return true;
}

}  // namespace DUI
