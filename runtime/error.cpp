#include "runtime/error.h"

namespace rt {

const char* Error::what() const noexcept {
    switch (m_kind) {
    case ErrorKind::TypeMismatch:
        return "type mismatch";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::FunctionNotFound:
        return "function not found";
    }
    return "error";
}

void raiseTypeMismatch(std::u16string_view subject, std::u16string_view text) {
    throw Error(ErrorKind::TypeMismatch, std::u16string(subject), std::u16string(text));
}

void raiseOverflow(std::u16string_view subject, std::u16string_view text) {
    throw Error(ErrorKind::Overflow, std::u16string(subject), std::u16string(text));
}

void raiseFunctionNotFound(std::u16string_view library, std::u16string_view name) {
    throw Error(ErrorKind::FunctionNotFound, std::u16string(name), {}, std::u16string(library));
}

} // namespace rt
