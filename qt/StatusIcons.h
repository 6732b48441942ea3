#pragma once

#include <QIcon>
#include <array>

namespace rizorivu::qt {

// The five pictures of the adapter's state, by the index the tray logic uses: 0 and 1
// connected (two frames that alternate while traffic flows), 2 not connected, 3 access point,
// 4 Zero Configuration in control. Drawn from the SVG sources at the sizes panels ask for.
class StatusIcons {
public:
    static constexpr int kCount = 5;

    StatusIcons();

    // An index outside 0 .. 4 answers the not-connected picture.
    const QIcon& icon(int index) const;
    // The application's own icon: the connected picture.
    const QIcon& applicationIcon() const { return icons_[0]; }

private:
    std::array<QIcon, kCount> icons_;
};

}  // namespace rizorivu::qt
