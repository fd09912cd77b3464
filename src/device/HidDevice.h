// One open HID collection: the handle the device layer writes commands to and
// reads replies and notices from. Results follow hidapi: a byte count, 0 for a
// read that timed out, -1 for an error (device gone, write refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvik {

class ReadInterrupt;

class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Writes one output report; data[0] is the report ID (0 when the device
    // uses none). Returns the bytes written or -1.
    virtual int write(const std::uint8_t* data, std::size_t length) = 0;

    // Reads one input report into data (at most `length` bytes). Waits up to
    // timeoutMs milliseconds; a negative timeout waits until a report arrives.
    // Returns the bytes read, 0 when the time ran out, -1 on error.
    virtual int readTimeout(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;

    // The same read, cut short by `interrupt`: returns 0 without reading when
    // the interrupt is raised before a report is taken, at the start or while
    // waiting. A report is taken whole or not at all. A null interrupt makes it
    // a plain readTimeout. This version reads in slices of kInterruptSliceMs
    // and looks at the interrupt between them (for handles that offer nothing
    // to wait on together with the interrupt); a device that can wait on both
    // at once overrides it.
    virtual int readInterruptible(std::uint8_t* data, std::size_t length, int timeoutMs,
                                  const ReadInterrupt* interrupt);

    // The longest a sliced read goes without looking at its interrupt.
    static constexpr int kInterruptSliceMs = 4;

    // The HID product string (UTF-8); empty when the device gives none.
    virtual std::string productString() = 0;

    // Releases the handle; later writes and reads fail with -1. The
    // destructor closes too.
    virtual void close() = 0;
};

}  // namespace quorvik
