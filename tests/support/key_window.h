// The main window as the key map sees it, counting what the keys ask of it.
#pragma once

#include "ui/key_map.h"

namespace cadenzo::test {

class CountingKeyWindow final : public KeyWindow {
public:
    void ShowModifierIndicators() override { ++indicatorPaints; }
    void OpenSetupDialog() override { ++setupDialogs; }
    void ToggleMonitorPane() override { ++monitorToggles; }
    void CloseMainWindow() override { ++closes; }
    void ToggleZoneMap() override { ++zoneMapToggles; }
    void OpenNameEditor() override { ++nameEditors; }
    void ToggleSetList() override { ++setListToggles; }
    void TogglePerformanceView() override { ++performanceToggles; }
    int indicatorPaints = 0, setupDialogs = 0, monitorToggles = 0, closes = 0, zoneMapToggles = 0;
    int nameEditors = 0, setListToggles = 0, performanceToggles = 0;
};

}  // namespace cadenzo::test
