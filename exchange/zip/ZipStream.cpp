#include "exchange/zip/ZipStream.h"

#include <cstring>

bool ZipMemoryStream::Read(void* buffer, uint32_t size, uint32_t& got)
{
    uint32_t left = m_size - m_position;
    got = size < left ? size : left;
    if (got) std::memcpy(buffer, m_data + m_position, got);
    m_position += got;
    return true;
}

bool ZipMemoryStream::Write(const void* buffer, uint32_t size)
{
    if (size > m_size - m_position) return false;
    if (size) std::memcpy(m_data + m_position, buffer, size);
    m_position += size;
    return true;
}

bool ZipMemoryStream::Seek(uint64_t position)
{
    if (position > m_size) return false;
    m_position = static_cast<uint32_t>(position);
    return true;
}
