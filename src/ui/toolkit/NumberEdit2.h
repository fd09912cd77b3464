// A number field for counts: digits only, and an optional range applied when
// the edit is finished (the text is rewritten to the nearest allowed number
// before notification 2).
#pragma once

#include "ui/toolkit/NumberEdit.h"

namespace DUI {

class NumberEdit2 : public NumberEdit {
public:
    const char* GetClassName() const override { return "NumberEdit2"; }
    // min > max switches the range off (the default).
    void SetRange(int min, int max);

protected:
    std::string filterTyped(const std::string& typed) const override;
    void onEditFinished() override;

private:
    int m_min = 1;
    int m_max = 0;
};

}  // namespace DUI
