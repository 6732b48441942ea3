#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rizorivu::wpa {

// Which of an access point's elements a connection speaks with: the WPA vendor element, or
// the RSN element of WPA2.
enum class SurveyElement { Wpa, Rsn };

// That element (id, length byte, body) of the first survey record whose BSSID is `bssid`, by
// the shared element rules: the last WPA vendor element counts, other vendor elements never;
// the first RSN element. Nothing when no record has that BSSID or its record carries no such
// element: a network is never joined with the other version than the stored mode asks for.
// The survey comes from the driver and is walked without trusting any count or length in it.
std::optional<std::vector<std::uint8_t>> surveyWpaElement(std::span<const std::uint8_t> survey,
                                                          std::span<const std::uint8_t, 6> bssid,
                                                          SurveyElement which = SurveyElement::Wpa);

}  // namespace rizorivu::wpa
