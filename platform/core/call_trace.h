// A process-wide sink for platform calls. The recording backend installs one and every platform
// layer reports its calls to it (name, arguments as text, result); with no sink installed the
// reports cost one pointer test. Argument formatting lives here so that the recorder and the
// tests that read its log format values the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace platform {

class CallTrace {
  public:
    virtual ~CallTrace() = default;
    // Returns the call's position, so that a result known only later can be filled in.
    virtual std::size_t Record(std::string api, std::vector<std::string> args,
                               std::string result) = 0;
    virtual void SetResult(std::size_t call, std::string result) = 0;
    // A line that explains the call recorded last (why it was refused, the digests of the
    // shader it made): traces a person reads keep it, the recorder's log of calls does not.
    virtual void Note(const std::string& /*text*/) {}
};

// The text of a call as trace files write it, "api(arg, arg) = result", and of a note beneath it.
std::string CallLine(const std::string& api, const std::vector<std::string>& args,
                     const std::string& result);
std::string NoteLine(const std::string& text);

void SetCallTrace(CallTrace* trace);
CallTrace* GetCallTrace();
inline bool Tracing() {
    return GetCallTrace() != nullptr;
}

// Objects get stable names ("tex#1", "hwnd#1") in the order they are registered.
void RegisterObjectName(const void* object, std::string_view kind);
std::string ObjectName(const void* object);
void ClearObjectNames();

// ---- Argument formatting ----------------------------------------------------------------------

// Text that stands in the log as it is written (a handle's name, "&", "NULL").
struct Verbatim {
    std::string text;
};
inline std::string FmtValue(const Verbatim& v) {
    return v.text;
}

std::string FormatFloat(float v);
std::string FormatDouble(double v);
std::string FormatString(const char* s);  // quoted, or NULL

template <typename T>
std::string Fmt(const T& v) {
    if constexpr (std::is_same_v<T, bool>) {
        return v ? "1" : "0";
    } else if constexpr (std::is_enum_v<T>) {
        return std::to_string(static_cast<std::underlying_type_t<T>>(v));
    } else if constexpr (std::is_integral_v<T>) {
        return std::to_string(v);
    } else if constexpr (std::is_same_v<T, float>) {
        return FormatFloat(v);
    } else if constexpr (std::is_same_v<T, double>) {
        return FormatDouble(v);
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>) {
        return FormatString(std::string(v).c_str());
    } else if constexpr (std::is_same_v<std::decay_t<T>, const char*> ||
                         std::is_same_v<std::decay_t<T>, char*>) {
        return FormatString(v);
    } else if constexpr (std::is_same_v<T, std::nullptr_t>) {
        return "NULL";
    } else if constexpr (std::is_pointer_v<T> && requires { FmtValue(*v); }) {
        return v ? FmtValue(*v) : "NULL";  // a structure passed by address
    } else if constexpr (std::is_pointer_v<T>) {
        return ObjectName(v);
    } else {
        return FmtValue(v);  // structures: found by argument-dependent lookup
    }
}

template <typename... Ts>
std::vector<std::string> Args(const Ts&... vs) {
    return {Fmt(vs)...};
}

// The text of an out-parameter: "&" when the caller passed somewhere to write, else NULL.
inline Verbatim OutArg(const void* p) {
    return {p ? "&" : "NULL"};
}
// A pointer that is logged only as present ("what") or NULL.
inline Verbatim Presence(const void* p, const char* what) {
    return {p ? what : "NULL"};
}

inline void Trace(const char* api, std::vector<std::string> args, std::string result = {}) {
    if (CallTrace* t = GetCallTrace()) t->Record(api, std::move(args), std::move(result));
}

inline void Note(const std::string& text) {
    if (CallTrace* t = GetCallTrace()) t->Note(text);
}

// For calls that call back into the program (window procedures): the call is logged where it
// starts and its result where it ends, so that the calls it causes appear after it.
class TracedCall {
  public:
    TracedCall(const char* api, std::vector<std::string> args) {
        if (CallTrace* t = GetCallTrace()) index_ = t->Record(api, std::move(args), {});
    }
    template <typename T>
    T Result(T value) {
        if (CallTrace* t = GetCallTrace(); t && index_ != kNone) t->SetResult(index_, Fmt(value));
        return value;
    }

  private:
    static constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t index_ = kNone;
};

}  // namespace platform
