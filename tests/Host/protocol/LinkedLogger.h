#pragma once

#include "Framing.h"
#include "Link.h"
#include "Notices.h"
#include "SimulatorPort.h"

#include <QSettings>
#include <QStringList>
#include <QTest>

// Records every notice the protocol layer shows, answering questions with
// the queued answers (Cancel when none are left).
struct NoticeRecorder {
    QList<Notice> notices;
    QList<NoticeAnswer> answers;
    std::function<void()> beforeAnswer;

    NoticeRecorder() {
        SetNoticeHandler([this](const Notice& notice) {
            notices << notice;
            if (beforeAnswer)
                beforeAnswer();
            if (notice.buttons == NoticeButtons::Ok)
                return NoticeAnswer::Ok;
            return answers.isEmpty() ? NoticeAnswer::Cancel : answers.takeFirst();
        });
    }
    ~NoticeRecorder() { SetNoticeHandler(nullptr); }
    QStringList texts() const {
        QStringList result;
        for (const Notice& notice : notices)
            result << notice.text;
        return result;
    }
};

// A simulator on a pseudo-terminal with the host linked to it on port 1.
struct LinkedLogger {
    LoggerSimulator sim;

    explicit LinkedLogger(bool modem = false) { sim.setModemMode(modem); }
    ~LinkedLogger() {
        if (OrvCommsInterface* link = CommsLink())
            link->CloseComms();
    }

    bool startSimulator() { return StartSimulatorOnPort(sim); }

    bool link() { return startSimulator() && OpenLink(1, 19200, 1); }

    std::string wire() const { return sim.hostBytes(); }
};
