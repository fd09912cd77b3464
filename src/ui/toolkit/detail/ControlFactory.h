// Creation of controls by class name, the way dialogs ask for them.
#pragma once

#include <memory>
#include <string>

namespace DUI {
class MControl;
}

namespace DUI::detail {

// A new control of that class; nullptr for a name the toolkit does not know.
std::unique_ptr<MControl> createControlByName(const std::string& className);
bool isContainerClass(const std::string& className);

}  // namespace DUI::detail
