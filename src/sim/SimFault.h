// Faults a simulated device can be told to commit, so the device layer's handling of
// misbehaving hardware can be tested: silence, a busy first answer, a late, garbled or
// truncated answer, and a device pulled out during a transaction or a flash.
#pragma once

#include <cstddef>

namespace quorvik {

enum class FaultKind {
    NoReply,              // the command is ignored: not carried out, never answered
    BusyFirst,            // a report with status 0x01 arrives before the reply
    DelayedReply,         // the reply becomes readable delayMs after the write
    GarbageReply,         // the command is carried out; a report of noise (byte 1 non-zero) replaces the reply
    ShortReply,           // the command is carried out; only the first shortLength bytes of the reply arrive
    UnplugInTransaction,  // the command is carried out, then the device is gone before the reply
    UnplugDuringFlash,    // the loader takes afterReports reports, then the device is gone
};

struct SimFault {
    FaultKind kind = FaultKind::NoReply;
    int commands = 1;             // commands it applies to; -1: every command until cleared
    int delayMs = 0;              // DelayedReply
    std::size_t shortLength = 2;  // ShortReply
    int afterReports = 0;         // UnplugDuringFlash
};

}  // namespace quorvik
