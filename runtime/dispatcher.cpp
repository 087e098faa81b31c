#include "runtime/dispatcher.h"

#include "runtime/message_box.h"
#include "runtime/text.h"

namespace rt {

namespace {

// A pasted page of text would make a report nobody can read, or a box wider than the screen.
constexpr size_t kQuotedTextLimit = 40;

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::u16string quoted(std::u16string_view text) {
    std::u16string shown(text.substr(0, kQuotedTextLimit));
    // Control characters (a pasted NUL, a line break) would vanish or break the line.
    for (char16_t& c : shown) {
        if (isControl(c)) {
            c = u'\uFFFD';
        }
    }
    if (text.size() > kQuotedTextLimit) {
        shown += u'\u2026';
    }
    return u'"' + shown + u'"';
}

} // namespace

std::u16string reportText(const Error& error) {
    const std::u16string& subject = error.subject();
    switch (error.kind()) {
    case ErrorKind::TypeMismatch:
        if (trimmed(error.text()).empty()) {
            return u"Type mismatch: field " + subject + u" is empty. Please type a number into it.";
        }
        return u"Type mismatch: field " + subject + u" holds " + quoted(error.text()) +
               u", which is not a number.";
    case ErrorKind::Overflow:
        if (!error.text().empty()) {
            return u"Overflow: field " + subject + u" holds " + quoted(error.text()) +
                   u", which is too large for a number this program can hold.";
        }
        return u"Overflow: the result for " + subject +
               u" is too large for a number this program can hold.";
    case ErrorKind::FunctionNotFound:
        return u"Function not found: " + subject + u" could not be found. It comes with " +
               error.detail() + u"; please install " + error.detail() + u".";
    }
    return {};
}

void dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Error& error) {
        messageBox(reportText(error));
    }
}

} // namespace rt
