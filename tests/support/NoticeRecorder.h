#pragma once

#include "Notices.h"

#include <QList>
#include <QStringList>

#include <functional>

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
