#include "SoakLog.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

// A sanitizer's report ends the process without a signal; it calls back first.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define PELLIX_SOAK_HAS_SANITIZER_API 1
#endif

namespace
{

// What a crash prints, made before the crash (one walk runs at a time), so that printing it
// needs no allocation.
std::string g_crashText;
constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

void WriteAll(const std::string &text)
{
    std::size_t nDone = 0;
    while (nDone < text.size()) {
        const ssize_t nWritten = ::write(STDERR_FILENO, text.data() + nDone, text.size() - nDone);
        if (nWritten <= 0)
            return;
        nDone += static_cast<std::size_t>(nWritten);
    }
}

extern "C" void OnFatalSignal(int nSignal)
{
    WriteAll(g_crashText);
    std::signal(nSignal, SIG_DFL);
    std::raise(nSignal);
}

} // namespace

CSoakLog::CSoakLog(std::uint64_t nSeed, int nSteps) : m_nSeed(nSeed), m_nSteps(nSteps)
{
    g_crashText = Dump();
    for (const int nSignal : kFatalSignals)
        std::signal(nSignal, OnFatalSignal);
#ifdef PELLIX_SOAK_HAS_SANITIZER_API
    __sanitizer_set_death_callback(&CSoakLog::OnFatal);
#endif
}

CSoakLog::~CSoakLog()
{
    for (const int nSignal : kFatalSignals)
        std::signal(nSignal, SIG_DFL);
#ifdef PELLIX_SOAK_HAS_SANITIZER_API
    __sanitizer_set_death_callback(nullptr);
#endif
    g_crashText.clear();
}

void CSoakLog::OnFatal()
{
    WriteAll(g_crashText);
}

void CSoakLog::BeginStep(int nStep)
{
    m_nStep = nStep;
    m_lines[m_nCount % kKept] = "#" + std::to_string(nStep) + " ";
    ++m_nCount;
    g_crashText = Dump();
}

void CSoakLog::Note(const std::string &text)
{
    if (m_nCount == 0)
        return;
    m_lines[(m_nCount - 1) % kKept] += text;
    g_crashText = Dump();
}

const std::string &CSoakLog::Current() const
{
    static const std::string none;
    return m_nCount == 0 ? none : m_lines[(m_nCount - 1) % kKept];
}

std::string CSoakLog::Dump() const
{
    // The walk does the same steps whatever its length: it replays up to the step reached.
    std::string text =
        "\nsoak seed " + std::to_string(m_nSeed) + ", step " + std::to_string(m_nStep) + " of " +
        std::to_string(m_nSteps) +
        "; replay from the build folder with PELLIX_SOAK_SEED=" + std::to_string(m_nSeed) +
        " PELLIX_SOAK_STEPS=" + std::to_string(m_nStep) +
        " tests/soak/test_soak --gtest_filter='SoakWalk.*'\n";
    const std::uint64_t nFirst = m_nCount > kKept ? m_nCount - kKept : 0;
    text += "last steps:\n";
    for (std::uint64_t n = nFirst; n < m_nCount; ++n)
        text += "  " + m_lines[n % kKept] + "\n";
    return text;
}
