// Loading the description file of the model selected in the settings file
// ("DeviceType"): switches the settings database to that model, then sets the
// model picture, the lighting tab, the page switches, the firmware link, the
// button picture and list with the key defaults, and the lighting modes offered.
// Elements are searched forward only, so they count only in the file's order.
#pragma once

#include "model/DeviceDescription.h"
#include "model/ModelControls.h"
#include "model/ModelSources.h"
#include "ui/toolkit/Geometry.h"

#include <string_view>

namespace quorvik {

// The two ends of a button's callout line, (x1, y) and (x2, y), from the text
// "x1#x2#y". A missing '#' leaves the part before it 0 and carries the rest
// on: "85" gives (0, 0, 85) and "120#85" gives (120, 0, 85).
struct CalloutLine {
    int x1 = 0;
    int x2 = 0;
    int y = 0;
    bool operator==(const CalloutLine&) const = default;
};
CalloutLine parseCalloutRect(std::string_view text);

// The layout scale of a client rectangle: its height over the design height 788.
float layoutScale(const DUI::Rect& client);

// Where the button list goes for `itemCount` buttons at layout scale `scale`;
// each product with the scale is cut toward zero.
DUI::Rect buttonListRect(int itemCount, float scale);

// A switch attribute is on only when it reads as the number 1.
bool descriptionFlag(std::string_view text);

// Loads the description of the model that sources.deviceType selects into
// `description` and the controls. The database is switched to the model first,
// whatever happens to the file. False when the file cannot be read, is not well
// formed or has no mouse root; the description and controls keep what the
// previous model set then.
bool loadModelDescription(DeviceDescription& description, const ModelControls& controls,
                          const ModelSources& sources);
// The same with ModelSources::current().
bool loadModelDescription(DeviceDescription& description, const ModelControls& controls);

}  // namespace quorvik
