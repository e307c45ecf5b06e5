#include "CommsFailure.h"

#include "ComlaneLoader.h"
#include "Notices.h"

void ReportCommsFailure(const QString& text) {
    if (!CommsNoticeEnabled())
        return;
    ShowNotice({"Fatal Communications Error", text + " failed.", NoticeButtons::Ok,
                NoticeIcon::None, true});
}

void ReportComlaneMissing() {
    ShowNotice({"Error",
                "The communications library Comlane could not be loaded.\r" + CommsLoadError(),
                NoticeButtons::Ok, NoticeIcon::Critical});
}
