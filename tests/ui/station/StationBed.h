#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/PrivateProfile.h"
#include "settings/Configuration.h"
#include "settings/LocalizedText.h"
#include "settings/SettingsContext.h"
#include "tests/support/AdapterTestBed.h"
#include "tests/support/HeadlessHost.h"
#include "tests/support/TestWorlds.h"
#include "tests/ui/station/InterposedLibrary.h"
#include "ui/OpenDialogChain.h"
#include "ui/station/LanguageSwitch.h"

namespace rizorivu::testing {

// Logs the WPA connection's starts and stops among the adapter operations, so that a test
// sees where in an order of writes they came.
struct LoggingWpaConnection final : WpaConnection {
    explicit LoggingWpaConnection(std::vector<std::string>& log) : log(log) {}
    void startWpaConnection() override {
        ++starts;
        log.emplace_back("startWpaConnection");
    }
    void stopWpaConnection() override {
        ++stops;
        log.emplace_back("stopWpaConnection");
    }
    std::vector<std::string>& log;
    int starts = 0;
    int stops = 0;
};

// The station dialogs' world: the simulated adapter behind a logging library, the settings
// context on a temporary registry, the product's language file, a headless host and a tray
// that records its texts. The adapter is open unless a test closes it.
struct StationBed {
    explicit StationBed(const std::string& worldText = settingsWorld(),
                        Configuration configurationIn = productConfiguration(),
                        std::string_view codePage = CodePage::kDefaultName)
        : bed(worldText), ansi(codePage), configuration(std::move(configurationIn)) {
        copyField(settings.adapter.name, kK540);
        EXPECT_NE(library.QvOpenAdapter(&settings.adapter), 0);
        EXPECT_TRUE(
            texts.load(std::filesystem::path(RIZORIVU_PRODUCT_DIR) / "QVMLu.INI", "LANGUAGES"));
    }

    // The product build's switches: WPA, 256-bit keys, pseudo-IBSS and 802.11d on.
    static Configuration productConfiguration() {
        Configuration c;
        c.wpaMode = 1;
        c.enableWep256 = 1;
        return c;
    }

    // Runs `dialog` modally with `user` as its user; ends it afterwards if the user did not.
    template <class D>
    void run(D& dialog, const std::function<void(D&)>& user) {
        host.script<D>(dialog.code(), [&](D& d, HeadlessHost&) {
            user(d);
            if (!d.ended()) {
                d.end(ui::DialogResult::Closed);
            }
        });
        host.runModal(dialog);
        chain.leave(dialog);
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }

    std::string station(std::string_view name) const {
        return settings.last.lastSettingText(OperatingMode::kStation, name);
    }
    void store(std::string_view name, std::string_view value) {
        settings.last.writeLastSetting(settings.mode.get(), name, value);
    }
    // Lets the simulated adapter finish an association.
    void settle() { bed.clock.advance(2000); }
    bool connected() { return library.QueryWL_ConnectState(&settings.adapter) == 0; }

    AdapterTestBed bed;
    CodePage ansi;
    InterposedLibrary library{*bed.library};
    LoggingWpaConnection wpa{library.calls};
    SettingsContext settings{bed.registry, "Halvo", "rizorivu", library,
                             bed.clock,    ansi,    wpa,        bed.dot1x};
    Configuration configuration;
    PrivateProfile profile{bed.ansi};
    LocalizedText texts{profile};
    HeadlessHost host;
    ui::OpenDialogChain chain;
    ui::DialogEnvironment environment{host, chain, texts};
    std::string trayTooltip;
    std::string trayOpenText;
    std::string trayExitText;
    ui::LanguageSwitch languages{texts,
                                 chain,
                                 settings.appKey,
                                 {[this](std::string_view tip) { trayTooltip = tip; },
                                  [this](std::string_view open, std::string_view exit) {
                                      trayOpenText = open;
                                      trayExitText = exit;
                                  }}};
};

}  // namespace rizorivu::testing
