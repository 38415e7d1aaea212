#include "LogCapture.h"

#include <mutex>
#include <string>

namespace cadrels::testing {
namespace {

constexpr DWORD PrintException = 0x40010006;      // DBG_PRINTEXCEPTION_C
constexpr DWORD PrintExceptionWide = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

struct CaptureState {
    std::mutex mutex;
    std::vector<std::wstring> lines;
    // The wide print is followed by the narrow one of the same text when no
    // debugger took the first; that one is not a new line.
    std::string pendingNarrowEcho;
};

CaptureState& State()
{
    static CaptureState state;
    return state;
}

void AddLine(std::wstring text)
{
    constexpr std::wstring_view Prefix = L"[Cadrels] ";
    if (text.starts_with(Prefix)) {
        text.erase(0, Prefix.size());
    }
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    State().lines.push_back(std::move(text));
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    CaptureState& state = State();
    if (record.ExceptionCode == PrintExceptionWide && record.NumberParameters >= 2) {
        const auto* text = reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
        const std::lock_guard lock(state.mutex);
        state.pendingNarrowEcho = record.NumberParameters >= 4
                                      ? std::string(reinterpret_cast<const char*>(record.ExceptionInformation[3]))
                                      : std::string();
        AddLine(text ? text : L"");
    } else if (record.ExceptionCode == PrintException && record.NumberParameters >= 2) {
        const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        const std::string narrow = text ? text : "";
        const std::lock_guard lock(state.mutex);
        if (!state.pendingNarrowEcho.empty() && narrow == state.pendingNarrowEcho) {
            state.pendingNarrowEcho.clear();
        } else {
            // DebugLog texts are ASCII (French without accents).
            AddLine(std::wstring(narrow.begin(), narrow.end()));
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

LogCapture::LogCapture()
{
    Clear();
    handler_ = AddVectoredExceptionHandler(1, OnException);
}

LogCapture::~LogCapture()
{
    if (handler_ != nullptr) {
        RemoveVectoredExceptionHandler(handler_);
    }
}

std::vector<std::wstring> LogCapture::Lines() const
{
    const std::lock_guard lock(State().mutex);
    return State().lines;
}

std::vector<std::wstring> LogCapture::Matching(std::wstring_view fragment) const
{
    std::vector<std::wstring> found;
    for (std::wstring& line : Lines()) {
        if (line.find(fragment) != std::wstring::npos) {
            found.push_back(std::move(line));
        }
    }
    return found;
}

void LogCapture::Clear()
{
    const std::lock_guard lock(State().mutex);
    State().lines.clear();
    State().pendingNarrowEcho.clear();
}

}  // namespace cadrels::testing
