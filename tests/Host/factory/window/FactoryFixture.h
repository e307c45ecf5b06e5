#pragma once

#include "ActivityWindows.h"
#include "Controls.h"
#include "DownloadForm.h"
#include "HistogramForm.h"
#include "InitForm.h"
#include "PanelFixture.h"

#include <initializer_list>
#include <string>

// The control panel started with the factory word, linked to the simulated
// logger, with the factory windows wired to it as the program wires them.
struct FactoryFixture {
    PanelFixture panel;
    DownloadForm* download = nullptr;
    InitForm* form = nullptr;

    // Opens the window and presses Init, which switches its controls on.
    bool open() {
        if (!panel.start({"KelpMarker"}) || !panel.link())
            return false;
        panel.panel->statusTimer()->stop(); // no poll between the bytes looked for
        download = new DownloadForm(panel.panel.get());
        form = new InitForm(panel.panel.get(), download);
        frmMain::Activities activities;
        ProvideFactoryTools(*panel.panel, activities, form);
        panel.panel->setActivities(activities);
        panel.button("InitButton")->click();
        if (!form->isVisible())
            return false;
        Control<QPushButton>(form, "InitButton")->click();
        return QTest::qWaitFor([] { return QueueIsEmpty() && !QueueRunInProgress(); });
    }
    LoggerModel& model() { return panel.sim.model(); }
    std::string wire() const { return panel.wire(); }
    bool sent(const std::string& bytes) const { return wire().find(bytes) != std::string::npos; }
    void clearWire() { panel.sim.clearHostBytes(); }
};

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes += char(value);
    return bytes;
}
