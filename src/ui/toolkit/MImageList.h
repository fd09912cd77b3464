// An ordered list of skin image names addressed by index (tab icons, state
// pictures), safe to fill from any thread.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace DUI {

class MImageList {
public:
    // Appends and returns the index.
    int Add(const std::string& name);
    bool Replace(int index, const std::string& name);
    bool Remove(int index);
    void RemoveAll();
    int GetImageCount() const;
    // Empty when the index is out of range.
    std::string GetImage(int index) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_names;
};

}  // namespace DUI
