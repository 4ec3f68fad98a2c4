#pragma once

#include "nc/ArrivingBytes.h"

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// Why standard input could not be read, from the error number the reading gave.
QString StandardInputError(int error);

// Standard input that is no file (a pipe): read to its end on a thread of its own, in large blocks, into
// one room reserved at once, so that the bytes never move and a conversion may start on them while the
// writer is still writing.
class PipeInput : public nc::ArrivingBytes
{
public:
    PipeInput() = default;
    PipeInput(const PipeInput &) = delete;
    PipeInput &operator=(const PipeInput &) = delete;
    ~PipeInput() override;

    // Reserves the room, reads the first block and goes on reading on its own thread; false with `error`
    // when the first read fails, false with an empty `error` when no room could be reserved.
    bool Start(int fd, QString &error);

    nc::Arrived Await(qsizetype size) override;
    // Waits for the end; false with the reason when reading broke off.
    bool Finish(QString &error);
    // Whether reading broke off for want of room: the bytes so far are all there, the rest still unread.
    bool OutOfRoom() const { return m_outOfRoom; }

private:
    void ReadRest();
    // Reads once into the room; false at the end or on a failure.
    bool ReadBlock();

    int m_fd = -1;
    char *m_room = nullptr;
    size_t m_roomSize = 0;
    qsizetype m_taken = 0; // bytes in the room, written by the reading thread only
    bool m_outOfRoom = false;
    int m_error = 0;

    std::mutex m_mutex;
    std::condition_variable m_cameMore;
    qsizetype m_come = 0; // bytes handed over
    bool m_ended = false;
    std::thread m_reader;
};
