#include "cli/PipeInput.h"

#include "nc/LargeText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <system_error>
#include <unistd.h>

namespace {

// The room is address space only: pages are taken as the bytes come.
constexpr size_t LargestRoom = size_t(1) << 36;
constexpr size_t SmallestRoom = size_t(1) << 26;
// A read asks for at most what the enlarged pipe holds, so that the bytes are handed on as they come.
constexpr size_t BlockSize = size_t(1) << 20;

} // namespace

QString StandardInputError(int error)
{
    return QStringLiteral("cannot read standard input: %1").arg(QString::fromLocal8Bit(std::strerror(error)));
}

PipeInput::~PipeInput()
{
    if (m_reader.joinable())
        m_reader.join();
    if (m_room)
        munmap(m_room, m_roomSize);
}

bool PipeInput::Start(int fd, QString &error)
{
    m_fd = fd;
    for (size_t size = LargestRoom; size >= SmallestRoom && !m_room; size /= 2) {
        void *room =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (room != MAP_FAILED) {
            m_room = static_cast<char *>(room);
            m_roomSize = size;
        }
    }
    if (!m_room)
        return false;
    nc::AdviseLargeBuffer(m_room, qsizetype(m_roomSize));
    // A larger pipe lets the writer hand over more at a time.
#ifdef F_SETPIPE_SZ
    (void)fcntl(fd, F_SETPIPE_SZ, 1 << 20);
#endif
    const bool more = ReadBlock();
    if (m_error != 0) {
        error = StandardInputError(m_error);
        return false;
    }
    m_come = m_taken;
    m_ended = !more;
    if (more) {
        try {
            m_reader = std::thread(&PipeInput::ReadRest, this);
        } catch (const std::system_error &) {
            ReadRest(); // no thread to spare: read here, to the end
        }
    }
    return true;
}

bool PipeInput::ReadBlock()
{
    for (;;) {
        const size_t room = m_roomSize - size_t(m_taken);
        if (room == 0) {
            m_outOfRoom = true;
            return false;
        }
        const ssize_t got = read(m_fd, m_room + m_taken, std::min(room, BlockSize));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_error = errno;
            return false;
        }
        m_taken += got;
        return got > 0;
    }
}

void PipeInput::ReadRest()
{
    bool more = true;
    while (more) {
        more = ReadBlock();
        {
            const std::lock_guard lock(m_mutex);
            m_come = m_taken;
            m_ended = !more;
        }
        m_cameMore.notify_one();
    }
}

nc::Arrived PipeInput::Await(qsizetype size)
{
    std::unique_lock lock(m_mutex);
    m_cameMore.wait(lock, [&] { return m_come > size || m_ended; });
    const bool broken = m_ended && (m_error != 0 || m_outOfRoom);
    return {QByteArrayView(m_room, m_come), m_ended && !broken, broken};
}

bool PipeInput::Finish(QString &error)
{
    (void)Await(std::numeric_limits<qsizetype>::max());
    if (m_reader.joinable())
        m_reader.join();
    if (m_error != 0) {
        error = StandardInputError(m_error);
        return false;
    }
    return true;
}
