// Item list of the combo boxes and list boxes (see TextDataItems.h).
#include "ui/toolkit/detail/TextDataItems.h"

namespace DUI::detail {

int TextDataItems::insert(const std::string& text, std::intptr_t data, int position) {
    if (position < 0 || position > count()) position = count();
    m_items.insert(m_items.begin() + position, {text, data});
    if (m_selected >= position) ++m_selected;
    return position;
}

bool TextDataItems::remove(int index) {
    if (!valid(index)) return false;
    m_items.erase(m_items.begin() + index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    return true;
}

void TextDataItems::clear() {
    m_items.clear();
    m_selected = -1;
}

std::string TextDataItems::text(int index) const {
    return valid(index) ? m_items[index].text : std::string();
}

std::intptr_t TextDataItems::data(int index) const {
    return valid(index) ? m_items[index].data : 0;
}

bool TextDataItems::setText(int index, const std::string& text) {
    if (!valid(index)) return false;
    m_items[index].text = text;
    return true;
}

int TextDataItems::find(std::intptr_t data) const {
    for (int i = 0; i < count(); ++i)
        if (m_items[i].data == data) return i;
    return -1;
}

bool TextDataItems::select(int index) {
    if (!valid(index)) index = -1;
    if (index == m_selected) return false;
    m_selected = index;
    return true;
}

}  // namespace DUI::detail
