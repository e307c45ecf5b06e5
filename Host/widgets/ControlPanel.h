#pragma once

#include <QtGlobal>

class QTimer;
class QWidget;

// The control panel as the activity windows see it: the window they sit over,
// the few services they need of it, and its public operations that re-read or
// show the logger's state. The link and the logger's state themselves are in
// Session(); no window needs the panel's own class.
class ControlPanel {
public:
    // The parent of every activity window and the one they are placed over.
    virtual QWidget* panelWindow() = 0;
    // Enables or disables the panel's controls while a window is in charge.
    virtual void EnableInterface(bool enable) = 0;
    // Windows registered here are hidden when the logger is unlinked.
    virtual void registerChildWindow(QWidget* window) = 0;
    // The status-poll timer whose state and interval an open window takes over.
    virtual QTimer* statusTimer() = 0;

    virtual void instant_unlink() = 0;
    virtual bool main_get_info() = 0;
    virtual void main_get_status() = 0;
    virtual void main_update() = 0;
    virtual void main_set_buttons() = 0;
    virtual void main_set_logging_objects(qint16 mode) = 0;
    virtual void SetPowerDown(bool enable) = 0;
    // The temperature display, in tenths of a degree; -100: no sensor fitted.
    virtual void showTemperature(qint16 tenths) = 0;
    // The factory raw-level display: each status poll then also reads the raw level.
    virtual void setRawLevelShown(bool shown) = 0;

protected:
    ~ControlPanel() = default;
};
