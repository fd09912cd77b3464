// File dialogs (see FileDialog.h).
#include "ui/toolkit/FileDialog.h"

#include "ui/toolkit/Dispatcher.h"

namespace DUI {
namespace {

FileDialogResult run(const FileDialogRequest& request) {
    Backend* backend = Dispatcher::GetBackend();
    if (backend == nullptr || !Dispatcher::IsUiThread()) return {};
    FileDialogResult result = backend->runFileDialog(request);
    if (!result.accepted || result.path.empty()) return {};
    if (result.title.empty()) {
        const auto slash = result.path.find_last_of('/');
        result.title = slash == std::string::npos ? result.path : result.path.substr(slash + 1);
    }
    return result;
}

}  // namespace

FileDialogResult FileDialog::GetOpenFileName(FileDialogRequest request) {
    request.save = false;
    return run(request);
}

FileDialogResult FileDialog::GetSaveFileName(FileDialogRequest request) {
    request.save = true;
    return run(request);
}

}  // namespace DUI
