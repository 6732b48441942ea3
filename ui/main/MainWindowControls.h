#pragma once

#include <array>
#include <cstddef>

#include "ui/Controls.h"

namespace rizorivu::ui {

// The main window's controls as models. The main window holds them publicly for its view and
// its tests; the parts that drive the station and access-point views share them through this.
struct MainWindowControls {
    static constexpr int kInfoRows = 5;
    // Rows of the current-network information box.
    static constexpr std::size_t kInfoChannel = 0;
    static constexpr std::size_t kInfoType = 1;
    static constexpr std::size_t kInfoSsid = 2;
    static constexpr std::size_t kInfoRate = 3;
    static constexpr std::size_t kInfoEncryption = 4;
    static constexpr int kBarMinimum = 0;
    static constexpr int kBarMaximum = 100;

    // Empties the information box's values and the status values below the list.
    void clearValueFields();
    void showModeChoice(bool shown);

    Label adapterLabel;
    DropDownList adapterSelector;
    Label modeLabel;
    DropDownList modeSelector;
    Label listCaption;
    ReportList networkList;
    Button refreshButton;
    GroupBox infoBox;
    std::array<Label, kInfoRows> infoLabels;
    std::array<Label, kInfoRows> infoValues;
    Button infoButton;
    Label linkStatusLabel;
    Label linkStatusValue;
    Label signalLabel;
    ProgressBar signalBar;
    Label signalPercent;
    Label qualityLabel;
    ProgressBar qualityBar;
    Label qualityPercent;
    Label txFrameLabel;
    Label txFrameValue;
    Label rxFrameLabel;
    Label rxFrameValue;
};

}  // namespace rizorivu::ui
