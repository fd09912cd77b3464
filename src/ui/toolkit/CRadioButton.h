// A radio button in a named group of its dialog: checking one (by a click or
// by SetCheck) unchecks the others of the group; a click notifies 2.
#pragma once

#include "ui/toolkit/MButton2.h"

#include <string>

namespace DUI {

class CRadioButton : public MButton2 {
public:
    const char* GetClassName() const override { return "CRadioButton"; }
    void SetGroup(const std::string& group);
    std::string GetGroup() const;
    void SetCheck(int check) override;

protected:
    void onUserClick() override;

private:
    std::string m_group;
};

}  // namespace DUI
