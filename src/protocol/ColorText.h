// Colour texts of the model description files ("#RRGGBB") to the 24-bit colour integer in
// COLORREF order (red in the low byte).
#pragma once

#include <string_view>

namespace quorvik {

// Drops the first character and reads the rest as hexadecimal pairs: six digits give
// RR + GG*256 + BB*65536; two give RR; three RR and a one-digit green; four RR and GG; five RR,
// GG and a one-digit blue. Any other length gives 0. Within a part, reading stops at the first
// character that is not a hexadecimal digit. Lengths count characters, not bytes.
int parseColorText(std::string_view text);

}  // namespace quorvik
