#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Splits a fuzz input into a few choice bytes and the rest, and checks properties without a test
// framework: a broken property aborts, which the fuzzer reports with the input.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    // The next byte, or 0 when the input is used up.
    uint8_t Choice()
    {
        if (m_used >= m_size)
            return 0;
        return m_data[m_used++];
    }

    // The rest of the input up to the next NUL byte (which is skipped), as raw bytes.
    QByteArray Part()
    {
        const size_t start = m_used;
        while (m_used < m_size && m_data[m_used] != 0)
            ++m_used;
        const QByteArray part(reinterpret_cast<const char *>(m_data + start), qsizetype(m_used - start));
        if (m_used < m_size)
            ++m_used;
        return part;
    }

    QByteArray Rest()
    {
        const QByteArray rest(reinterpret_cast<const char *>(m_data + m_used), qsizetype(m_size - m_used));
        m_used = m_size;
        return rest;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_used = 0;
};

// Names the broken check, so that a fault found on another machine says which property failed.
inline void FuzzCheck(bool property, const char *file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (property)
        return;
    std::fprintf(stderr, "broken property at %s:%d\n", file, line);
    std::abort();
}
