#include "recovery/RecoveryWriter.h"

#include "recovery/RecoveryStore.h"

RecoveryWriter::RecoveryWriter(const RecoveryStore &store, std::function<void(const QString &)> written)
    : m_store(store), m_written(std::move(written)), m_thread([this] { Run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void RecoveryWriter::Write(recovery::CopyContents snapshot,
                           std::function<QString(const QString &)> finishText)
{
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(snapshot);
        m_finishText = std::move(finishText);
    }
    m_changed.notify_all();
}

void RecoveryWriter::Discard()
{
    std::unique_lock lock(m_mutex);
    m_waiting.reset();
    m_changed.wait(lock, [this] { return !m_writing; });
    m_store.RemoveOwnCopy();
}

void RecoveryWriter::Flush()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_writing && !m_waiting; });
}

void RecoveryWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || m_waiting; });
        // A snapshot waiting at the end is written too: the editor may be closing after a crash report.
        if (!m_waiting)
            return;
        recovery::CopyContents snapshot = std::move(*m_waiting);
        const std::function<QString(const QString &)> finishText = std::move(m_finishText);
        m_waiting.reset();
        m_finishText = nullptr;
        m_writing = true;
        lock.unlock();
        if (finishText)
            snapshot.text = finishText(snapshot.text);
        QString failure;
        if (!m_store.WriteOwnCopy(recovery::EncodeCopy(snapshot), failure) && failure.isEmpty())
            failure = QStringLiteral("書き込めません");
        if (m_written)
            m_written(failure);
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
