#pragma once

#include <cstdint>

// Status codes of the DOM and document functions: success is "not negative".
using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
// The source of a load could not be read (missing file, unreachable URL, time-out).
constexpr HRESULT DOM_E_RESOURCE_NOT_FOUND = static_cast<HRESULT>(0x800C0006u);
// A load was stopped because entity expansion grew far beyond the input.
constexpr HRESULT DOM_E_EXPANSION_LIMIT = static_cast<HRESULT>(0x800C0007u);
// A load was refused because an element has more attributes than Pellix reads.
constexpr HRESULT DOM_E_TOO_MANY_ATTRIBUTES = static_cast<HRESULT>(0x800C0008u);
// The caller's progress callback asked the load to stop.
constexpr HRESULT DOM_E_CANCELLED = static_cast<HRESULT>(0x800C0009u);

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
