#pragma once

#include <QString>
#include <functional>

// Everything the protocol layer has to tell the operator goes through
// ShowNotice. The control panel installs the handler that shows it (the
// message window or a platform box); without one, notices are logged and
// questions get their cautious answer (Cancel).
enum class NoticeButtons { Ok, RetryCancel };
enum class NoticeIcon { None, Information, Warning, Critical };
enum class NoticeAnswer { Ok, Retry, Cancel };

struct Notice {
    QString title;
    QString text; // line breaks are "\r"
    NoticeButtons buttons = NoticeButtons::Ok;
    NoticeIcon icon = NoticeIcon::None;
    // true: the program's own message window; false: a plain platform box.
    bool messageWindow = false;
};

using NoticeHandler = std::function<NoticeAnswer(const Notice&)>;

void SetNoticeHandler(NoticeHandler handler);
NoticeAnswer ShowNotice(const Notice& notice);

// The operator's "Problems occur in the comms." option; off at every start.
bool CommsNoticeEnabled();
void SetCommsNoticeEnabled(bool enabled);
