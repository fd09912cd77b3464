// A one-line text field. Its text is also its title. Typing notifies 26, the
// focus arriving 30 and leaving 29; text set by the program notifies nothing.
// A limit (in characters) and a digits-only mode filter what the user types.
#pragma once

#include "ui/toolkit/MControlFont.h"

#include <string>

namespace DUI {

class MEdit : public MControlFont {
public:
    const char* GetClassName() const override { return "MEdit"; }
    bool AcceptsFocus() const override { return true; }

    void SetEditText(const std::string& text);
    std::string GetEditText() const;
    void SetTitle(const std::string& title) override { SetEditText(title); }
    std::string GetTitle() const override { return GetEditText(); }
    // Hint shown while the field is empty.
    void SetTipInfo(const std::string& tip);
    std::string GetTipInfo() const;
    // Most characters the user may type; 0 = no limit.
    void SetLimitText(int characters);
    int GetLimitText() const;
    void SetNumberOnly(bool numberOnly);
    bool IsNumberOnly() const;

    // The user replaced the text (taking the focus first when needed). The
    // typed text is filtered and cut to the limit; a change notifies. False
    // when the field cannot be used.
    bool userSetText(const std::string& typed);
    // Focus, type, leave: what a user does to fill the field.
    bool userTypeAndLeave(const std::string& typed);
    // The user pressed Enter in the field.
    virtual bool userPressEnter();

    void OnFocusChanged(bool gained) override;

protected:
    // What typing `typed` leaves in the field.
    virtual std::string filterTyped(const std::string& typed) const;
    // Notification for a text change made by the user.
    virtual int textChangedCode() const;

private:
    std::string m_text;
    std::string m_tip;
    int m_limit = 0;
    bool m_numberOnly = false;
};

}  // namespace DUI
