// The owner's binding of task codes to device routines, and the idle routine the
// worker runs when nothing is queued (the unsolicited-report read while a device
// is present). Filled before the worker starts and read-only afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace quorvik {

class TaskRoutineTable {
public:
    using Routine = std::function<void()>;

    // Binds `code` to `routine` (replacing an earlier one); an empty routine
    // removes the binding.
    void setRoutine(std::int32_t code, Routine routine);
    void setIdle(Routine routine);

    bool hasRoutine(std::int32_t code) const;

    // Runs the routine of `code`; false when the code has none (it is then
    // simply dropped). A routine that throws is ended there and counts as run:
    // the worker goes on with the next code.
    bool run(std::int32_t code) const;
    // Runs the idle routine, when there is one.
    void idle() const;

private:
    std::unordered_map<std::int32_t, Routine> m_routines;
    Routine m_idle;
};

}  // namespace quorvik
