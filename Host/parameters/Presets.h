#pragma once

// The parameter sets kept in the settings store: four presets and the current
// set. Reading never fails: a missing key, text that does not parse, or a
// value the logger's bytes cannot carry (or that would divide by zero in the
// memory estimate) takes the field's default. Writing reports an unwritable
// store by returning false.

#include "ParameterSet.h"

#include <QStringList>

#include <array>

constexpr int PresetCount = 4;
using PresetTable = std::array<ParameterSet, PresetCount>;

// What the editor, the save dialogs and the logging window share.
struct Presets {
    PresetTable table;
    ParameterSet current;
    qint16 index = 0; // the preset the current set was taken from; -1 = custom
};

ParameterSet ReadParameterSet(const QString& section);
bool WriteParameterSet(const ParameterSet& set, const QString& section);

Presets LoadAllPresets();
// All four sections are rewritten, after any one preset was replaced.
bool SaveAllPresets(const PresetTable& table);
// The editor's OK: the current set and the preset it came from (-1 = custom).
bool SaveCurrentSet(const ParameterSet& current, int index);

// The preset list lines: number, ": " and the title, cut to width characters.
QStringList PresetListLines(const PresetTable& table, int width);
