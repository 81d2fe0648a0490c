#pragma once

#include <array>
#include <cstdint>
#include <string>

// The soak's record of what it did: the seed and the last actions with their arguments, so a
// failure can be replayed. Printed by a failing check, and by a crash or a sanitizer report,
// which end the process before any check could.
class CSoakLog
{
public:
    static constexpr std::size_t kKept = 50;

    CSoakLog(std::uint64_t nSeed, int nSteps);
    ~CSoakLog();
    CSoakLog(const CSoakLog &) = delete;
    CSoakLog &operator=(const CSoakLog &) = delete;

    // Starts the record of step nStep.
    void BeginStep(int nStep);
    // Adds to the current step's line.
    void Note(const std::string &text);
    // The current step's line.
    const std::string &Current() const;
    // The seed, the command that replays the walk and the last steps, oldest first.
    std::string Dump() const;
    std::uint64_t Seed() const { return m_nSeed; }

private:
    static void OnFatal();

    std::uint64_t m_nSeed;
    int m_nSteps;
    int m_nStep = 0;
    std::array<std::string, kKept> m_lines;
    std::uint64_t m_nCount = 0;
};
