// The item list shared by the combo boxes and list boxes: text plus an integer
// datum per entry and one selected index (-1 for none). Not locked itself; the
// owning control holds its lock around every use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace DUI::detail {

struct TextDataItem {
    std::string text;
    std::intptr_t data = 0;
    bool operator==(const TextDataItem&) const = default;
};

class TextDataItems {
public:
    // Inserts at `position` (-1 or past the end appends); returns the index.
    int insert(const std::string& text, std::intptr_t data, int position = -1);
    // Removes one entry; the selection follows its entry or becomes -1.
    bool remove(int index);
    void clear();
    bool valid(int index) const { return index >= 0 && index < count(); }
    int count() const { return static_cast<int>(m_items.size()); }
    // Out of range gives "" and 0.
    std::string text(int index) const;
    std::intptr_t data(int index) const;
    bool setText(int index, const std::string& text);
    // First index with that datum, -1 when none.
    int find(std::intptr_t data) const;
    // An index out of range selects nothing (-1). Returns whether it changed.
    bool select(int index);
    int selected() const { return m_selected; }
    const std::vector<TextDataItem>& items() const { return m_items; }

private:
    std::vector<TextDataItem> m_items;
    int m_selected = -1;
};

}  // namespace DUI::detail
