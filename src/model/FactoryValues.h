// The model's factory values from its description file (mouse_info), written
// into the configuration values of a profile: the DPI stages with their
// colours, count and selection, and on request the report rate and the power
// options. Values are stored as the attribute text found in the file; colours
// as the decimal colour integer.
#pragma once

#include "model/ModelSources.h"

#include <optional>

namespace quorvik {

struct FactoryValuesResult {
    bool fileRead = false;          // the file had a mouse root with mouse_info
    bool dpiWritten = false;        // dpi_info was found
    std::optional<int> reportRate;  // the factory report-rate code, when written
};

// Writes the factory DPI stages (dpi_info: "dpi_index", "dpi_flag", "dpi_count",
// "dpi_group<N-1>_value" and "dpi_group<N-1>_rgb" for each dpi_N present) and,
// with `withRateAndPower`, "report_rate", "sleep_light", "move_wakeup" and
// "move_closelight", into `profile`. An attribute that is missing or empty
// leaves its stored value as it is.
FactoryValuesResult writeFactoryValues(int profile, bool withRateAndPower, const ModelSources& sources);

// The report-rate reset: report_rate searched from the first child of
// mouse_info; its default_value is written to both "report_rate" and
// "report_rate_wireless" of `profile`. The code written, or nothing when the
// file, the element or the attribute is missing.
std::optional<int> writeFactoryReportRate(int profile, const ModelSources& sources);

}  // namespace quorvik
