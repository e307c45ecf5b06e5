#pragma once

#include <QString>

// Where the parameter sets live in the host's settings store (application
// "OrvType1", $XDG_CONFIG_HOME/OrvType1/OrvType1.ini): one section per set,
// keyed by the set's field names.
namespace ParameterKeys {

constexpr auto Application = "OrvType1";

// Sections.
inline QString Preset(int index) { // presets 1 to 4 as table indices 0 to 3
    return "Settings" + QString::number(index);
}
constexpr auto SettingCurrent = "SettingCurrent"; // the set last accepted in the editor
constexpr auto Settings = "Settings";

// Key of section Settings: the preset the current set came from, -1 = custom.
constexpr auto Index = "Index";

// Keys of a set's section.
constexpr auto Frequency = "Frequency";
constexpr auto TimeWeight = "TimeWeight";
constexpr auto Interval = "Interval";
constexpr auto Auxiliary = "Auxiliary";
constexpr auto LeqLength = "LeqLength";
constexpr auto LeqOption = "LeqOption";
constexpr auto iTriggerStart = "iTriggerStart";
constexpr auto SplStartLevel = "SplStartLevel";
constexpr auto SplStartTime = "SplStartTime";
constexpr auto LTrigger = "LTrigger";
constexpr auto LLTrigger = "LLTrigger";
constexpr auto iTriggerStop = "iTriggerStop";
constexpr auto SplStopLevel = "SplStopLevel";
constexpr auto SplStopTime = "SplStopTime";
constexpr auto TimeStop = "TimeStop";
constexpr auto TapeUse = "TapeUse";
constexpr auto TapeType = "TapeType";
constexpr auto TapePower = "TapePower";
constexpr auto Title = "Title";
inline QString LIndices(int position) { // positions 1 to 8
    return "LIndices" + QString::number(position);
}

} // namespace ParameterKeys
