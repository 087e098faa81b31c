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

void raiseTypeMismatch(QStringView subject, QStringView text) {
    throw Error(ErrorKind::TypeMismatch, subject.toString(), text.toString());
}

void raiseOverflow(QStringView subject, QStringView text) {
    throw Error(ErrorKind::Overflow, subject.toString(), text.toString());
}

void raiseFunctionNotFound(QStringView library, QStringView name) {
    throw Error(ErrorKind::FunctionNotFound, name.toString(), {}, library.toString());
}

} // namespace rt
