// The schema of a model's settings database: fifteen statements run in this
// order when a file is created. Every table's first column is an AUTOINCREMENT
// key, so identifiers are never reused.
#pragma once

#include <span>

namespace quorvik {

std::span<const char* const> databaseSchema();

}  // namespace quorvik
