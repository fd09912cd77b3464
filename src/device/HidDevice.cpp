// The sliced interruptible read shared by every HID handle that cannot wait on
// the interrupt itself. A slice that times out has taken nothing, so stopping
// between slices never splits a report.
#include "device/HidDevice.h"

#include <algorithm>
#include <chrono>

#include "device/ReadInterrupt.h"

namespace quorvik {

int HidDevice::readInterruptible(std::uint8_t* data, std::size_t length, int timeoutMs,
                                 const ReadInterrupt* interrupt) {
    if (interrupt == nullptr) return readTimeout(data, length, timeoutMs);
    using Clock = std::chrono::steady_clock;
    const bool forever = timeoutMs < 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        if (interrupt->isRaised()) return 0;
        int slice = kInterruptSliceMs;
        if (!forever) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            slice = static_cast<int>(std::clamp<long long>(left, 0, kInterruptSliceMs));
        }
        const int count = readTimeout(data, length, slice);
        if (count != 0) return count;
        if (!forever && Clock::now() >= deadline) return 0;
    }
}

}  // namespace quorvik
