// Dispatch of one task code. Exceptions stop at this boundary: a routine that
// throws loses only its own task, never the worker thread.
#include "device/TaskRoutineTable.h"

#include <exception>

#include "base/Text.h"
#include "base/Trace.h"

namespace quorvik {
namespace {

void runGuarded(const TaskRoutineTable::Routine& routine, std::int32_t code) {
    try {
        routine();
    } catch (const std::exception& e) {
        trace(format("task %d failed: %s", code, e.what()));
    } catch (...) {
        trace(format("task %d failed", code));
    }
}

}  // namespace

void TaskRoutineTable::setRoutine(std::int32_t code, Routine routine) {
    if (routine) {
        m_routines[code] = std::move(routine);
    } else {
        m_routines.erase(code);
    }
}

void TaskRoutineTable::setIdle(Routine routine, IdleGate wanted) {
    m_idle = std::move(routine);
    m_idleWanted = std::move(wanted);
}

bool TaskRoutineTable::idleWanted() const {
    if (!m_idle) return false;
    if (!m_idleWanted) return true;
    try {
        return m_idleWanted();
    } catch (...) {
        return false;
    }
}

bool TaskRoutineTable::hasRoutine(std::int32_t code) const {
    return m_routines.count(code) != 0;
}

bool TaskRoutineTable::run(std::int32_t code) const {
    const auto it = m_routines.find(code);
    if (it == m_routines.end()) return false;
    runGuarded(it->second, code);
    return true;
}

void TaskRoutineTable::idle() const {
    if (m_idle) runGuarded(m_idle, 0);
}

}  // namespace quorvik
