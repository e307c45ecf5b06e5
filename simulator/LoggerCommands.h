#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

class LoggerModel;

// What the logger does for each command letter and what it answers. Replies
// wait until the host asks for them with byte 2, one reply per request.
namespace sim {

struct Reply {
    std::string bytes;
    std::optional<int> baudAfter; // re-clock the line once this reply is out
};

class LoggerCommands {
public:
    static constexpr char kReadyCharacter = 0x06;

    explicit LoggerCommands(LoggerModel& model) : model_(model) {}

    // The data blocks a letter takes; nothing for an unknown letter.
    static std::optional<std::vector<int>> blockSizes(char letter);

    std::deque<Reply> run(char letter, const std::vector<std::string>& blocks);

    // "n": the host has gone; a download in progress ends.
    void unlinked();

private:
    std::deque<Reply> downloadStart(const std::string& data);
    std::deque<Reply> downloadBlock();
    std::deque<Reply> information();
    std::deque<Reply> update();
    std::deque<Reply> setClock(const std::string& data);
    std::deque<Reply> changeBaudRate(const std::string& data);
    std::deque<Reply> lastResults();
    std::deque<Reply> histogram();

    LoggerModel& model_;
    int downloadNext_ = 0;
    int downloadEnd_ = 0;
    bool downloading_ = false;
};

} // namespace sim
