#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "adapter/EapolKeyFrame.h"
#include "crypto/KeyHierarchy.h"
#include "crypto/Rc4Cipher.h"

namespace rizorivu::testing {

// A small WPA authenticator built from the shared key hierarchy and frame code: it sends
// message 1, checks 2, sends 3, checks 4, then runs the group-key handshake. Frames go out
// through `send` and come in through `receive`. With `rsn` it speaks WPA2's descriptor 2:
// message 1 names a PMKID, message 3 carries the element and the group key in encrypted key
// data, and the group-key handshake runs only on a rekey. Its key data is laid out here, byte
// by byte, apart from the utility's own builders.
class KeyAuthenticator {
public:
    struct Config {
        std::array<std::uint8_t, 32> masterKey{};
        std::array<std::uint8_t, 6> address{0x02, 0x10, 0x00, 0x00, 0x00, 0x03};
        std::array<std::uint8_t, 6> station{0x02, 0x00, 0x00, 0x00, 0x05, 0x40};
        int pairwiseCipher = 0;  // a ciphercode
        int groupCipher = 0;
        int groupIndex = 1;
        std::vector<std::uint8_t> element;  // sent in message 3
        std::vector<std::uint8_t> groupKey;
        std::array<std::uint8_t, 8> groupSequence{0x01, 0x02};
        // Sends message 3 even when message 2's MIC failed (to test the supplicant's check).
        bool ignoreMessage2Mic = false;
        bool rsn = false;
        // RSN message 3: more key data after the element (a second element, other KDEs), and
        // whether its key data goes unencrypted (which a supplicant must refuse).
        std::vector<std::uint8_t> extraKeyData;
        bool plainKeyData = false;
    };

    KeyAuthenticator(Config config, std::function<void(std::vector<std::uint8_t>)> send,
                     std::function<std::optional<std::vector<std::uint8_t>>()> receive);

    void sendMessage1();
    // Handles one frame from the station; false when none was waiting.
    bool handle();
    // A fresh group-key message (rekey) with the next counter.
    void sendGroupMessage();
    // Sends a new group key under `index`.
    void rekey(std::vector<std::uint8_t> groupKey, int index) {
        config_.groupKey = std::move(groupKey);
        config_.groupIndex = index;
        sendGroupMessage();
    }

    std::vector<std::uint8_t> buildGroupMessage();
    // The station's element from the last message 2.
    const std::vector<std::uint8_t>& stationElement() const { return stationElement_; }

    const Config& config() const { return config_; }
    const crypto::PairwiseKeys& keys() const { return keys_; }
    std::vector<std::vector<std::uint8_t>> sent;  // every frame sent, in order
    int micFailures = 0;
    bool pairwiseDone = false;
    int groupAnswers = 0;
    std::uint64_t counter = 0;

private:
    std::uint16_t version() const;
    std::uint8_t descriptor() const;
    void transmit(std::vector<std::uint8_t> frame);
    void sendMessage3();
    // RSN key data: the group key's KDE, and the whole put under the KEK.
    std::vector<std::uint8_t> groupKeyKde() const;
    std::vector<std::uint8_t> sealed(EapolKeyFrame& frame, std::vector<std::uint8_t> plain) const;

    Config config_;
    std::function<void(std::vector<std::uint8_t>)> send_;
    std::function<std::optional<std::vector<std::uint8_t>>()> receive_;
    crypto::Rc4Cipher rc4_;
    std::array<std::uint8_t, 32> anonce_{};
    crypto::PairwiseKeys keys_;
    bool awaitingMessage4_ = false;
    std::vector<std::uint8_t> stationElement_;
};

}  // namespace rizorivu::testing
