#pragma once

#include "recovery/RecoveryCopy.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class RecoveryStore;

// Writes the recovery copy on a thread of its own, from a snapshot of the text, so that encoding and
// writing a large program never holds up typing. Only the newest snapshot waiting is written.
class RecoveryWriter
{
public:
    // `written` is told, on the writer's thread, the outcome of each write: the empty text, or why it
    // failed.
    RecoveryWriter(const RecoveryStore &store, std::function<void(const QString &failure)> written);
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter &) = delete;
    RecoveryWriter &operator=(const RecoveryWriter &) = delete;

    // `finishText`, when given, turns the snapshot's text into the program text on the writer's thread.
    void Write(recovery::CopyContents snapshot, std::function<QString(const QString &)> finishText = {});
    // Drops a snapshot still waiting, waits for a write under way, then removes the copy.
    void Discard();
    // Waits until every snapshot given is written.
    void Flush();

private:
    void Run();

    const RecoveryStore &m_store;
    std::function<void(const QString &)> m_written;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<recovery::CopyContents> m_waiting;
    std::function<QString(const QString &)> m_finishText;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
