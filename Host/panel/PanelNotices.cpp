#include "PanelNotices.h"

#include "Notices.h"
#include "ShownText.h"
#include "frmMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(NoticeIcon icon) {
    switch (icon) {
    case NoticeIcon::Information:
        return QMessageBox::Information;
    case NoticeIcon::Warning:
        return QMessageBox::Warning;
    case NoticeIcon::Critical:
        return QMessageBox::Critical;
    case NoticeIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

NoticeAnswer ShowInBox(const Notice& notice) {
    const bool question = notice.buttons == NoticeButtons::RetryCancel;
    QMessageBox box(question && notice.icon == NoticeIcon::None ? QMessageBox::Warning
                                                                : BoxIcon(notice.icon),
                    notice.title, ShownText(notice.text),
                    question ? QMessageBox::Retry | QMessageBox::Cancel : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (question)
        box.setEscapeButton(QMessageBox::Cancel);
    const int pressed = box.exec();
    if (!question)
        return NoticeAnswer::Ok;
    return pressed == QMessageBox::Retry ? NoticeAnswer::Retry : NoticeAnswer::Cancel;
}

NoticeAnswer ShowPanelNotice(const Notice& notice) {
    if (notice.messageWindow && notice.buttons == NoticeButtons::Ok) {
        ShowMessage(notice.text, 0, notice.title);
        return NoticeAnswer::Ok;
    }
    return ShowInBox(notice);
}

} // namespace

void InstallPanelNotices() {
    SetNoticeHandler(ShowPanelNotice);
}
