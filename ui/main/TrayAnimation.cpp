#include "ui/main/TrayAnimation.h"

#include "settings/Configuration.h"
#include "ui/CTrayIcon.h"

namespace rizorivu::ui {

void TrayAnimation::reset() {
    frameTotal_ = 0;
    lastFrameTotal_ = 0;
    show(kIconNotConnected);
}

void TrayAnimation::show(int image) {
    image_ = image;
    shownImage_ = image;
    tray_.setIcon(image);
}

void TrayAnimation::step(bool connected) {
    if (configuration_.trayIconAnimation != 1) {
        return;  // the icon then changes only with the mode and the adapter's control
    }
    if (connected) {
        if (image_ == kIconNotConnected || frameTotal_ != lastFrameTotal_) {
            image_ = image_ == kIconConnected ? kIconConnectedAlternate : kIconConnected;
            lastFrameTotal_ = frameTotal_;
        }
    } else {
        image_ = kIconNotConnected;
    }
    if (image_ != shownImage_) {
        tray_.setIcon(image_);
        shownImage_ = image_;
    }
}

}  // namespace rizorivu::ui
