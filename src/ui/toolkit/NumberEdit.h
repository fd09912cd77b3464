// A number field (the button response time): accepts digits with an optional
// leading minus. Each text change notifies 29; finishing the edit (Enter or
// leaving the field) notifies 2; the focus arriving notifies 30.
#pragma once

#include "ui/toolkit/MEdit.h"

namespace DUI {

class NumberEdit : public MEdit {
public:
    const char* GetClassName() const override { return "NumberEdit"; }
    bool userPressEnter() override;
    void OnFocusChanged(bool gained) override;

protected:
    std::string filterTyped(const std::string& typed) const override;
    int textChangedCode() const override;
    // Runs before the "editing finished" notification.
    virtual void onEditFinished() {}
};

}  // namespace DUI
