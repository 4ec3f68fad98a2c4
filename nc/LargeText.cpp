#include "nc/LargeText.h"

#include <cstdint>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace nc {

void AdviseLargeBuffer(void *data, qsizetype bytes)
{
#ifdef __linux__
    constexpr std::uintptr_t LargePage = std::uintptr_t(1) << 21;
    constexpr qsizetype Worthwhile = 4 * qsizetype(LargePage);
    if (bytes < Worthwhile)
        return;
    // only the whole large pages inside the buffer
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + LargePage - 1) & ~(LargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(bytes)) & ~(LargePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

void ReserveLargeText(QString &text, qsizetype size)
{
    text.reserve(size);
    AdviseLargeBuffer(text.data(), text.capacity() * qsizetype(sizeof(QChar)));
}

} // namespace nc
