// Button assignments, macros and lighting of the current profile to the mouse:
// the key table (with the pending macro upload), macro uploads in chunks, the
// lighting command, and the lighting reset and read-back.
#pragma once

#include "device/DeviceSession.h"

namespace quorvik {

class BindingTransfer {
public:
    explicit BindingTransfer(DeviceSession& session);

    // Uploads the pending macro key's macro first (when one is pending), then
    // sends the key table built from the profile's bindings. False (after
    // OnCommandFailure) when the table did not reach the mouse.
    bool SendKeyTable();
    // Uploads a macro into a button's slot, in one request or in chunks; every
    // chunk is sent even after a failed one. True when all of them got through;
    // false also when the macro does not exist.
    bool SendMacro(int keyCode, int macroId);
    // Makes the window's light mode the profile's active one and sends its
    // record. False when there is no record for it (nothing sent) or the
    // command failed (after OnCommandFailure).
    bool SendLighting();
    // Lighting back to the mouse's defaults, read back and shown.
    bool ResetLighting();
    // The mouse's light mode, brightness and speed into the window and the store.
    bool ReadLighting();

private:
    DeviceSession& m_session;
};

}  // namespace quorvik
