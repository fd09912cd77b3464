// The open and save file dialogs, run by the backend on the UI thread. A
// cancelled dialog (or no backend) gives accepted = false.
#pragma once

#include "ui/toolkit/Backend.h"

namespace DUI {

class FileDialog {
public:
    static FileDialogResult GetOpenFileName(FileDialogRequest request);
    static FileDialogResult GetSaveFileName(FileDialogRequest request);
};

}  // namespace DUI
