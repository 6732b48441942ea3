#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::dot1x {

// One EAP authentication method as the supplicant runs it: it answers the requests of its
// type and says when the server may declare success.
class EapMethod {
public:
    virtual ~EapMethod() = default;

    virtual std::uint8_t type() const = 0;
    // The data of the response to a request of type() (the bytes after the type); empty when
    // the request is refused and nothing is sent.
    virtual std::optional<std::vector<std::uint8_t>> answer(std::span<const std::uint8_t> data) = 0;
    // The method ran to its end: an EAP-Success now means the server authenticated us.
    virtual bool complete() const = 0;
    // The method cannot succeed any more (the server failed a check, or broke the protocol).
    virtual bool failed() const = 0;
    // The 64-byte master session key, once complete.
    virtual bool masterSessionKey(std::span<std::uint8_t, 64> key) const = 0;
};

}  // namespace rizorivu::dot1x
