#include "Presets.h"

#include "Convert.h"
#include "ParameterKeys.h"

#include <QSettings>

#include <limits>

namespace {

namespace Key = ParameterKeys;

constexpr int ByteMax = 255;
constexpr int HighestLevel = std::numeric_limits<qint16>::max() / 10; // its tenths fit a word
constexpr int LeqLengthMax = 63; // the Leq byte keeps the option in its top two bits
constexpr int LeqOptionMax = 2;
constexpr int Int16Min = std::numeric_limits<qint16>::min();
constexpr int Int16Max = std::numeric_limits<qint16>::max();

struct FlagField {
    const char* key;
    bool ParameterSet::*member;
};

// The range a stored value must lie in for the logger to get it as read.
struct NumberField {
    const char* key;
    qint16 ParameterSet::*member;
    int lower, upper;
};

constexpr FlagField FlagFields[] = {
    {Key::Frequency, &ParameterSet::Frequency},
    {Key::TimeWeight, &ParameterSet::TimeWeight},
    {Key::TapeUse, &ParameterSet::TapeUse},
};

constexpr NumberField NumberFields[] = {
    {Key::Interval, &ParameterSet::Interval, 1, ByteMax},
    {Key::Auxiliary, &ParameterSet::Auxiliary, 0, ByteMax},
    {Key::LeqLength, &ParameterSet::LeqLength, 1, LeqLengthMax},
    {Key::LeqOption, &ParameterSet::LeqOption, 0, LeqOptionMax},
    {Key::iTriggerStart, &ParameterSet::iTriggerStart, 0, ByteMax},
    {Key::SplStartLevel, &ParameterSet::SplStartLevel, 0, HighestLevel},
    {Key::SplStartTime, &ParameterSet::SplStartTime, 0, ByteMax},
    {Key::LTrigger, &ParameterSet::LTrigger, 0, ByteMax},
    {Key::LLTrigger, &ParameterSet::LLTrigger, 0, HighestLevel},
    {Key::iTriggerStop, &ParameterSet::iTriggerStop, 0, ByteMax},
    {Key::SplStopLevel, &ParameterSet::SplStopLevel, 0, HighestLevel},
    {Key::SplStopTime, &ParameterSet::SplStopTime, 0, ByteMax},
    {Key::TimeStop, &ParameterSet::TimeStop, 0, ByteMax},
    {Key::TapeType, &ParameterSet::TapeType, Int16Min, Int16Max}, // only tested for 1 (DAT)
    {Key::TapePower, &ParameterSet::TapePower, 0, ByteMax},
};

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, Key::Application,
                     Key::Application);
}

QString Path(const QString& section, const QString& key) {
    return section + '/' + key;
}

// A hand-edited value with a comma comes back from the INI file as a list.
QString ReadText(const QSettings& store, const QString& path) {
    const QVariant value = store.value(path);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(", ")
                                                    : value.toString();
}

bool ReadFlag(const QSettings& store, const QString& path, bool defaultValue) {
    const QString text = ReadText(store, path).trimmed();
    if (text.compare("True", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare("False", Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

qint16 ReadNumber(const QSettings& store, const QString& path, qint16 defaultValue, int lower,
                  int upper) {
    bool ok = false;
    const int value = ReadText(store, path).trimmed().toInt(&ok);
    return ok && value >= lower && value <= upper ? static_cast<qint16>(value) : defaultValue;
}

// Writes go to the file at sync; its status tells whether they got there.
bool Flush(QSettings& store) {
    store.sync();
    return store.status() == QSettings::NoError;
}

void Put(QSettings& store, const ParameterSet& set, const QString& section) {
    for (const FlagField& field : FlagFields)
        store.setValue(Path(section, field.key), set.*field.member ? "True" : "False");
    for (const NumberField& field : NumberFields)
        store.setValue(Path(section, field.key), QString::number(set.*field.member));
    store.setValue(Path(section, Key::Title), set.Title);
    for (int position = 1; position <= PercentileCount; ++position)
        store.setValue(Path(section, Key::LIndices(position)),
                       QString::number(ReadByte(set.LIndices, position)));
}

} // namespace

ParameterSet ReadParameterSet(const QString& section) {
    const QSettings store = Store();
    ParameterSet set;
    for (const FlagField& field : FlagFields)
        set.*field.member = ReadFlag(store, Path(section, field.key), set.*field.member);
    for (const NumberField& field : NumberFields)
        set.*field.member = ReadNumber(store, Path(section, field.key), set.*field.member,
                                       field.lower, field.upper);
    if (store.contains(Path(section, Key::Title)))
        set.Title = ReadText(store, Path(section, Key::Title));
    for (int position = 1; position <= PercentileCount; ++position) {
        char& code = set.LIndices[position - 1];
        code = static_cast<char>(
            ReadNumber(store, Path(section, Key::LIndices(position)), quint8(code), 0, ByteMax));
    }
    return set;
}

bool WriteParameterSet(const ParameterSet& set, const QString& section) {
    QSettings store = Store();
    Put(store, set, section);
    return Flush(store);
}

Presets LoadAllPresets() {
    Presets presets;
    for (int index = 0; index < PresetCount; ++index)
        presets.table[index] = ReadParameterSet(Key::Preset(index));
    presets.current = ReadParameterSet(Key::SettingCurrent);
    presets.index = ReadNumber(Store(), Path(Key::Settings, Key::Index), 0, -1, PresetCount - 1);
    return presets;
}

bool SaveAllPresets(const PresetTable& table) {
    QSettings store = Store();
    for (int index = 0; index < PresetCount; ++index)
        Put(store, table[index], Key::Preset(index));
    return Flush(store);
}

bool SaveCurrentSet(const ParameterSet& current, int index) {
    QSettings store = Store();
    Put(store, current, Key::SettingCurrent);
    store.setValue(Path(Key::Settings, Key::Index), QString::number(index));
    return Flush(store);
}

QStringList PresetListLines(const PresetTable& table, int width) {
    QStringList lines;
    for (int index = 0; index < PresetCount; ++index)
        lines << (QString::number(index + 1) + ": " + table[index].Title).left(width);
    return lines;
}
