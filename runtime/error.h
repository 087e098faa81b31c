#pragma once

// The errors that end an event handler.
//
// A handler never catches these: it raises one, the exception unwinds the handler (RAII releases
// whatever it held) and the dispatcher, the one place that catches them, tells the user. An
// error carries what the report needs: its kind, the subject (a field's or a facility's name)
// and, where a text caused it, that text.

#include <exception>
#include <string>
#include <string_view>

namespace rt {

enum class ErrorKind {
    TypeMismatch,     // a text that is not a number
    Overflow,         // a number beyond the range of a double
    FunctionNotFound, // a facility bound by name is not there
};

class Error : public std::exception {
public:
    Error(ErrorKind kind, std::u16string subject, std::u16string text = {},
          std::u16string detail = {})
        : m_kind(kind)
        , m_subject(std::move(subject))
        , m_text(std::move(text))
        , m_detail(std::move(detail)) {}

    ErrorKind kind() const noexcept { return m_kind; }
    // The field that held the text, or the facility that was looked up.
    const std::u16string& subject() const noexcept { return m_subject; }
    // The text that caused the error; empty where none did (an overflowing product).
    const std::u16string& text() const noexcept { return m_text; }
    // Where a facility comes from, for a report that tells the user what to install.
    const std::u16string& detail() const noexcept { return m_detail; }

    const char* what() const noexcept override;

private:
    ErrorKind m_kind;
    std::u16string m_subject;
    std::u16string m_text;
    std::u16string m_detail;
};

// A text that is not a number, read from the field `subject`.
[[noreturn]] void raiseTypeMismatch(std::u16string_view subject, std::u16string_view text);

// The floating-point error: a value for `subject` beyond the range of a double. `text` is the
// text that held it, if the value came from one.
[[noreturn]] void raiseOverflow(std::u16string_view subject, std::u16string_view text = {});

// The facility `name` (from `library`) could not be bound.
[[noreturn]] void raiseFunctionNotFound(std::u16string_view library, std::u16string_view name);

} // namespace rt
