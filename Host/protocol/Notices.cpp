#include "Notices.h"

#include <QDebug>

namespace {
NoticeHandler noticeHandler;
bool commsNoticeEnabled = false;
} // namespace

void SetNoticeHandler(NoticeHandler handler) {
    noticeHandler = std::move(handler);
}

NoticeAnswer ShowNotice(const Notice& notice) {
    if (noticeHandler)
        return noticeHandler(notice);
    qWarning().noquote() << notice.title << ":" << QString(notice.text).replace('\r', ' ');
    return notice.buttons == NoticeButtons::Ok ? NoticeAnswer::Ok : NoticeAnswer::Cancel;
}

bool CommsNoticeEnabled() {
    return commsNoticeEnabled;
}
void SetCommsNoticeEnabled(bool enabled) {
    commsNoticeEnabled = enabled;
}
