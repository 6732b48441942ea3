#pragma once

#include <cstdint>

namespace rizorivu {
struct Configuration;
class CTrayIcon;
}  // namespace rizorivu

namespace rizorivu::ui {

// The tray icon's picture: the mode and who controls the adapter choose it, and while the
// station's link is up it blinks between the two connected pictures as frames flow (when the
// configuration asks for the animation).
class TrayAnimation {
public:
    // Tray status icons by index.
    static constexpr int kIconConnected = 0;
    static constexpr int kIconConnectedAlternate = 1;
    static constexpr int kIconNotConnected = 2;
    static constexpr int kIconAccessPoint = 3;
    static constexpr int kIconZeroConfig = 4;

    TrayAnimation(CTrayIcon& tray, const Configuration& configuration)
        : tray_(tray), configuration_(configuration) {}

    int image() const { return image_; }

    // Start-up: not connected, and no frames counted yet.
    void reset();
    // Shows `image` at once.
    void show(int image);
    // The link is down; the picture follows on the next step().
    void linkDown() { image_ = kIconNotConnected; }
    // The link's frame total at this tick.
    void countFrames(std::uint64_t total) { frameTotal_ = total; }
    // One status tick's animation step.
    void step(bool connected);

private:
    CTrayIcon& tray_;
    const Configuration& configuration_;
    int image_ = kIconNotConnected;
    int shownImage_ = kIconNotConnected;
    std::uint64_t frameTotal_ = 0;
    std::uint64_t lastFrameTotal_ = 0;
};

}  // namespace rizorivu::ui
