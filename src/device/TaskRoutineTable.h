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
    // Answers whether the idle routine has anything to do now (for the
    // window: whether a device is present).
    using IdleGate = std::function<bool()>;

    // Binds `code` to `routine` (replacing an earlier one); an empty routine
    // removes the binding.
    void setRoutine(std::int32_t code, Routine routine);
    // The idle routine and, optionally, its gate. While the gate answers false
    // the idle routine is skipped and the worker, having nothing to poll,
    // waits for a task instead of waking every period. The window wires both:
    //     table.setIdle([this] { m_notifications.HandleNotification(); },
    //                   [this] { return m_devicePresent.load(); });
    void setIdle(Routine routine, IdleGate wanted = {});

    bool hasRoutine(std::int32_t code) const;

    // Runs the routine of `code`; false when the code has none (it is then
    // simply dropped). A routine that throws is ended there and counts as run:
    // the worker goes on with the next code.
    bool run(std::int32_t code) const;
    // Whether an idle turn would run the idle routine now: there is one and
    // its gate (if any) answers true.
    bool idleWanted() const;
    // Runs the idle routine, when there is one (the gate is not asked).
    void idle() const;

private:
    std::unordered_map<std::int32_t, Routine> m_routines;
    Routine m_idle;
    IdleGate m_idleWanted;
};

}  // namespace quorvik
