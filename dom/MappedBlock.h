#pragma once

// A block of zeroed memory straight from the kernel, for the node store's pages and string
// chunks. A block that will surely be filled is mapped with all its pages at once: one call
// instead of a page fault for every 4 KB, which a big load otherwise pays half a million times.

#include <cstddef>

namespace dom
{

class MappedBlock
{
public:
    MappedBlock() = default;
    // `size` bytes, zeroed, with every page made resident now when `populate`; null (see
    // data()) when the system refuses.
    MappedBlock(std::size_t size, bool populate);
    ~MappedBlock();
    MappedBlock(MappedBlock &&other) noexcept;
    MappedBlock &operator=(MappedBlock &&other) noexcept;
    MappedBlock(const MappedBlock &) = delete;
    MappedBlock &operator=(const MappedBlock &) = delete;

    char *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void release() noexcept;

    char *m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace dom
