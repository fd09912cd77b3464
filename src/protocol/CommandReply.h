// Read-only view of a reply as the transport returns it: the read drops the report ID, so
// reply byte k carries what request byte k+1 carries and the payload starts at byte 4.
// Decoders ask it for payload bytes and get "absent" rather than reading past a short reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quorvik {

namespace replyByte {
inline constexpr std::size_t kCommand = 0;
inline constexpr std::size_t kStatus = 1;
inline constexpr std::size_t kFlags = 2;
inline constexpr std::size_t kLength = 3;
inline constexpr std::size_t kPayload = 4;
inline constexpr std::size_t kChecksum = 31;
inline constexpr std::size_t kSize = 32;  // a full reply without its report ID
}  // namespace replyByte

class CommandReply {
public:
    explicit CommandReply(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    // True for the report that ends a transaction: status byte present and 0.
    bool isSuccess() const { return m_bytes.size() > replyByte::kStatus && m_bytes[replyByte::kStatus] == 0; }

    // True when payload bytes 0..count-1 (reply bytes 4..3+count) are all present.
    bool hasPayload(std::size_t count) const { return m_bytes.size() >= replyByte::kPayload + count; }

    // Payload byte k (reply byte 4+k); only call after hasPayload(k+1).
    std::uint8_t payload(std::size_t k) const { return m_bytes[replyByte::kPayload + k]; }

    std::span<const std::uint8_t> bytes() const { return m_bytes; }

private:
    std::span<const std::uint8_t> m_bytes;
};

}  // namespace quorvik
