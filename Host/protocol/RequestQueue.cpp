#include "RequestQueue.h"

#include "ExchangeGuard.h"
#include "Notices.h"

#include <QHash>
#include <array>
#include <exception>

namespace {

struct Queue {
    std::array<qint16, QueueCapacity> codes{};
    std::array<qint16, QueueCapacity> arguments{};
    int count = 0;
    int position = 0;
    std::function<void()> parkedWindow;
    bool parked = false;
};

Queue queue;

QHash<qint16, RequestAction>& Actions() {
    static QHash<qint16, RequestAction> actions;
    return actions;
}

void ReportException(int number, const QString& description, qint16 code) {
    ShowNotice({"Error",
                "The following exception has occurred :\r" + QString::number(number) + ", " +
                    description + "\rCurrent routine : " + QString::number(code) +
                    ".\r\rWill attempt to continue.",
                NoticeButtons::Ok, NoticeIcon::Warning});
}

void Perform(qint16 code, qint16 argument) {
    const RequestAction action = Actions().value(code);
    if (!action)
        return;
    try {
        action(argument);
    } catch (const std::exception& error) {
        // The run reports an action that failed and goes on with the next.
        ReportException(0, QString::fromStdString(error.what()), code);
    }
}

void Run() {
    while (queue.position < queue.count) {
        ++queue.position;
        const int index = queue.position - 1;
        Perform(queue.codes[index], queue.arguments[index]);
    }
    queue.count = 0;
    queue.position = 0;
    if (queue.parked) {
        queue.parked = false;
        const std::function<void()> show = std::move(queue.parkedWindow);
        queue.parkedWindow = nullptr;
        if (show)
            show();
    }
}

} // namespace

void RegisterRequest(qint16 code, RequestAction action) {
    Actions().insert(code, std::move(action));
}

bool RequestIsRegistered(qint16 code) {
    return bool(Actions().value(code));
}

void PostRequest(qint16 code, qint16 argument) {
    if (queue.count < QueueCapacity) {
        queue.codes[queue.count] = code;
        queue.arguments[queue.count] = argument;
        ++queue.count;
    }
    if (queue.position == 0 && !ExchangeInProgress())
        Run();
}

void ParkWindow(std::function<void()> showModally) {
    queue.parkedWindow = std::move(showModally);
    queue.parked = true;
    if (queue.position == 0 && !ExchangeInProgress())
        Run();
}

void RunHeldRequests() {
    if (queue.position == 0 && !ExchangeInProgress() && (queue.count > 0 || queue.parked))
        Run();
}

bool QueueIsEmpty() {
    return queue.count == 0;
}

bool QueueRunInProgress() {
    return queue.position > 0;
}

void ResetQueue() {
    queue.parked = false;
    queue.parkedWindow = nullptr;
    queue.count = 0;
    queue.position = 0;
}
