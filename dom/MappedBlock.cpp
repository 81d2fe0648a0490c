#include "MappedBlock.h"

#include <sys/mman.h>
#include <utility>

namespace dom
{

MappedBlock::MappedBlock(std::size_t size, bool populate)
{
    // Huge pages would save the page faults too, but the kernel clears them far more slowly
    // on a fresh virtual machine than it maps small pages.
    void *address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | (populate ? MAP_POPULATE : 0), -1, 0);
    if (address == MAP_FAILED)
        return;
    m_data = static_cast<char *>(address);
    m_size = size;
}

MappedBlock::~MappedBlock()
{
    release();
}

MappedBlock::MappedBlock(MappedBlock &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

MappedBlock &MappedBlock::operator=(MappedBlock &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void MappedBlock::release() noexcept
{
    if (m_data != nullptr)
        ::munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

} // namespace dom
