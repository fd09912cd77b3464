// Acts as the user on the controls of a dialog, by control id: click, choose
// an item, type into a field and leave it, drag a slider, pick a colour, open
// a context menu, choose from a pop-up menu. Each action goes through the
// control's user entry point (the same one the Qt backend calls), so it
// produces exactly the notifications a real user would; afterwards the queue
// is drained. Every action returns false when the control is missing, of
// another kind, hidden, disabled, or the item does not exist.
#pragma once

#include "ui/toolkit/Messages.h"

#include <cstdint>
#include <string>

namespace DUI {

class HeadlessBackend;
class MDialog;

class HeadlessUser {
public:
    explicit HeadlessUser(HeadlessBackend& backend) : m_backend(backend) {}

    // Buttons of every kind (check boxes, radio and colour buttons toggle or check).
    bool click(MDialog& dialog, int id);
    // Lists, combo boxes, tabs, the mouse picture and button list, the
    // report-rate list, the DPI stages, the step list and the device list.
    bool choose(MDialog& dialog, int id, int index);
    // Combo boxes: the first entry with that datum.
    bool chooseData(MDialog& dialog, int id, std::intptr_t data);
    bool focus(MDialog& dialog, int id);
    bool leave(MDialog& dialog, int id);
    // Edit fields: replace the text as typed (focus first).
    bool type(MDialog& dialog, int id, const std::string& text);
    bool typeAndLeave(MDialog& dialog, int id, const std::string& text);
    bool pressEnter(MDialog& dialog, int id);
    // In-place editing: list entries (DListBox, MacroList) and DPI stages.
    bool editItem(MDialog& dialog, int id, int index, const std::string& text);
    // Sliders: drag (8 per new position), release (2), or both.
    bool drag(MDialog& dialog, int id, int position);
    bool release(MDialog& dialog, int id);
    bool slide(MDialog& dialog, int id, int position);
    // Palette: drag over a colour (27) and let go (2).
    bool pickColor(MDialog& dialog, int id, std::uint32_t color);
    // Right click: macro list (5), step list (9); DPI stage colour (9).
    bool contextMenu(MDialog& dialog, int id, int index);
    bool colorClick(MDialog& dialog, int id, int index);
    // The visible pop-up menu ("Menu Window") chooses `command`.
    bool chooseMenu(int command);

private:
    bool done(bool acted);
    HeadlessBackend& m_backend;
};

}  // namespace DUI
