// Image name list (see MImageList.h).
#include "ui/toolkit/MImageList.h"

namespace DUI {

int MImageList::Add(const std::string& name) {
    std::lock_guard lock(m_mutex);
    m_names.push_back(name);
    return static_cast<int>(m_names.size()) - 1;
}

bool MImageList::Replace(int index, const std::string& name) {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_names.size())) return false;
    m_names[index] = name;
    return true;
}

bool MImageList::Remove(int index) {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_names.size())) return false;
    m_names.erase(m_names.begin() + index);
    return true;
}

void MImageList::RemoveAll() {
    std::lock_guard lock(m_mutex);
    m_names.clear();
}

int MImageList::GetImageCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_names.size());
}

std::string MImageList::GetImage(int index) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_names.size())) return {};
    return m_names[index];
}

}  // namespace DUI
