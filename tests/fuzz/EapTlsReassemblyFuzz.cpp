// The fragments of a TLS message in EAP-TLS and PEAP come from the air: gathering them must
// stay within the announced and the largest length and end within the fragment limit. The
// fragments we send must gather back into the message they came from.
//
// Input: byte 0 and 1 pick the outgoing fragment size; the rest is request data, each led by
// a 2-byte length, and also the message cut into fragments.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dot1x/EapTlsFragments.h"

using namespace rizorivu;
using dot1x::EapTlsFragments;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t fragmentSize = 1 + ((data[0] << 8 | data[1]) % 2034);

    EapTlsFragments incoming(1398);
    int fragmentsInMessage = 0;
    std::size_t at = 2;
    while (at + 2 <= size) {
        const std::size_t length = data[at] << 8 | data[at + 1];
        at += 2;
        const std::size_t take = std::min(length, size - at);
        const auto result = incoming.accept(std::span(data + at, take));
        at += take;
        ++fragmentsInMessage;
        check(incoming.message().size() <= EapTlsFragments::kMaxMessageBytes);
        check(fragmentsInMessage <= EapTlsFragments::kMaxFragments ||
              result != EapTlsFragments::Input::Incomplete);
        if (result != EapTlsFragments::Input::Incomplete) {
            fragmentsInMessage = 0;
            incoming.clearMessage();
        }
    }

    // Round trip: the whole input as one message, cut and gathered again.
    const std::vector<std::uint8_t> message(data, data + std::min<std::size_t>(size, 65536));
    EapTlsFragments out(fragmentSize);
    EapTlsFragments back(1398);
    out.send(message);
    EapTlsFragments::Input last = EapTlsFragments::Input::Refused;
    int pieces = 0;
    // Tiny fragments of a long message make more pieces than a server takes: not checked.
    while (out.sending() && pieces < EapTlsFragments::kMaxFragments) {
        const auto piece = out.next();
        check(piece.size() <= fragmentSize + 5);
        last = back.accept(piece);
        ++pieces;
        check(!out.sending() || last == EapTlsFragments::Input::Incomplete);
    }
    if (!out.sending()) {
        check(last == EapTlsFragments::Input::Complete && back.message() == message);
    }
    return 0;
}
