// Conversions between a DPI value, the DPI slider's position and the 16-bit DPI code that the
// mouse stores, per sensor id. All four walk the sensor's scale (SensorTable): a value between
// two scale values counts as the lower one, so sending a DPI and reading it back gives the
// scale value at or below it, and every scale value comes back unchanged.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvik {

// Slider position (counted from 1) of a DPI value.
int dpiToSliderPosition(int sensorId, int dpi);

// DPI of a slider position, limited to the top of the sensor's scale.
int sliderPositionToDpi(int sensorId, int position);

// Device code of a DPI value, within 0..0xFFFF (the field is 16 bits). Callers clamp the DPI to
// the sensor's limits first (dpiLimitsForSensor), which keeps it on the scale.
int dpiToDeviceCode(int sensorId, int dpi);

// DPI of a device code as read back from the mouse. Codes below the scale give values below its
// first entry (0 for sensor 4's code 0); the stage reader keeps only results of at least 50.
int deviceCodeToDpi(int sensorId, int code);

// A DPI typed into the stage list, made acceptable for the sensor: rounded down to the page's
// step, limited to the page's range, and then to the scale value at or below it, so the stage
// shows what the mouse will actually use.
int normalizeTypedDpi(int sensorId, int typed);

// Every value of the sensor's scale in ascending order, including the part only the device
// code reaches (sensor 17 above 12000).
std::vector<int> dpiScaleValues(int sensorId);

}  // namespace quorvik
