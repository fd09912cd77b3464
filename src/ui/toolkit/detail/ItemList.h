// The rows of a list control and its one selected index (-1 for none), kept
// under the owning control's lock. Every change takes that lock and asks for
// the redraw only after releasing it, so the worker thread may change a list
// while the UI thread reads it to draw.
#pragma once

#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

namespace DUI::detail {

// The rows and the selection themselves; not locked (ItemList holds the lock).
template <class Item>
struct ItemRows {
    std::vector<Item> items;
    int selected = -1;

    int count() const { return static_cast<int>(items.size()); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    // nullptr when the index is out of range.
    const Item* at(int index) const { return valid(index) ? &items[index] : nullptr; }

    // Inserts at `position` (-1 or past the end appends); the selection stays
    // on its row. Returns the index.
    int insert(Item item, int position = -1) {
        if (position < 0 || position > count()) position = count();
        items.insert(items.begin() + position, std::move(item));
        if (selected >= position) ++selected;
        return position;
    }
    // Removes one row; the selection follows its row or becomes -1.
    bool remove(int index) {
        if (!valid(index)) return false;
        items.erase(items.begin() + index);
        if (selected == index)
            selected = -1;
        else if (selected > index)
            --selected;
        return true;
    }
    void clear() {
        items.clear();
        selected = -1;
    }
    // An index out of range selects nothing. Returns whether it changed.
    bool select(int index) {
        if (!valid(index)) index = -1;
        if (index == selected) return false;
        selected = index;
        return true;
    }
    // First index whose row matches, -1 when none.
    template <class Match>
    int findFirst(Match&& match) const {
        for (int i = 0; i < count(); ++i)
            if (match(items[i])) return i;
        return -1;
    }
};

template <class Item>
class ItemList {
public:
    using Rows = ItemRows<Item>;

    // `mutex` is the owning control's lock; `redraw` asks for its redraw.
    ItemList(std::mutex& mutex, std::function<void()> redraw)
        : m_mutex(mutex), m_redraw(std::move(redraw)) {}
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    // Runs `change(rows)` under the lock; when it returns true the redraw is
    // asked for after the lock is released. Returns what `change` returned.
    template <class Change>
    bool update(Change&& change) {
        bool changed = false;
        {
            std::lock_guard lock(m_mutex);
            changed = change(m_rows);
        }
        if (changed) m_redraw();
        return changed;
    }
    // Runs `reader(rows)` under the lock and returns its result.
    template <class Reader>
    auto read(Reader&& reader) const {
        std::lock_guard lock(m_mutex);
        return reader(std::as_const(m_rows));
    }

    // Inserts at `position` (-1 or past the end appends); returns the index.
    int insert(Item item, int position = -1) {
        int index = 0;
        update([&](Rows& rows) {
            index = rows.insert(std::move(item), position);
            return true;
        });
        return index;
    }
    bool remove(int index) {
        return update([&](Rows& rows) { return rows.remove(index); });
    }
    void clear() {
        update([](Rows& rows) {
            rows.clear();
            return true;
        });
    }
    int count() const {
        return read([](const Rows& rows) { return rows.count(); });
    }
    std::vector<Item> items() const {
        return read([](const Rows& rows) { return rows.items; });
    }
    // An index out of range selects nothing; redrawn only when it changed.
    void select(int index) {
        update([&](Rows& rows) { return rows.select(index); });
    }
    int selected() const {
        return read([](const Rows& rows) { return rows.selected; });
    }
    // The user picked row `index`: it becomes the selection and is redrawn
    // even when it already was. false when the index is out of range.
    bool choose(int index) {
        return update([&](Rows& rows) {
            if (!rows.valid(index)) return false;
            rows.selected = index;
            return true;
        });
    }
    // One field of a row; `fallback` when the index is out of range.
    template <class T>
    T get(int index, T Item::*field, std::type_identity_t<T> fallback) const {
        return read([&](const Rows& rows) {
            const Item* item = rows.at(index);
            return item != nullptr ? item->*field : fallback;
        });
    }
    // Stores one field of a row (redrawn even when it held that value already);
    // false when the index is out of range.
    template <class T>
    bool set(int index, T Item::*field, std::type_identity_t<T> value) {
        return update([&](Rows& rows) {
            if (!rows.valid(index)) return false;
            rows.items[index].*field = std::move(value);
            return true;
        });
    }

    // Stores one field of a row, redrawn only when the value differs; false
    // when the index is out of range.
    template <class T>
    bool setIfDifferent(int index, T Item::*field, std::type_identity_t<T> value) {
        bool found = false;
        update([&](Rows& rows) {
            if (!rows.valid(index)) return false;
            found = true;
            if (rows.items[index].*field == value) return false;
            rows.items[index].*field = std::move(value);
            return true;
        });
        return found;
    }

private:
    std::mutex& m_mutex;
    std::function<void()> m_redraw;
    Rows m_rows;
};

}  // namespace DUI::detail
