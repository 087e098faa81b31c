#include "runtime/dispatcher.h"

#include "runtime/message_box.h"

namespace rt {

namespace {

// A pasted page of text would make a report nobody can read, or a box wider than the screen.
constexpr qsizetype kQuotedTextLimit = 40;

QString quoted(const QString& text) {
    QString shown =
        text.size() > kQuotedTextLimit ? text.first(kQuotedTextLimit) + u'\u2026' : text;
    // Control characters (a pasted NUL, a line break) would vanish or break the line.
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control) {
            c = QChar(u'\uFFFD');
        }
    }
    return u'"' + shown + u'"';
}

} // namespace

QString reportText(const Error& error) {
    const QString& subject = error.subject();
    switch (error.kind()) {
    case ErrorKind::TypeMismatch:
        if (error.text().trimmed().isEmpty()) {
            return QStringLiteral("Type mismatch: field %1 is empty. Please type a number into it.")
                .arg(subject);
        }
        return QStringLiteral("Type mismatch: field %1 holds %2, which is not a number.")
            .arg(subject, quoted(error.text()));
    case ErrorKind::Overflow:
        if (!error.text().isEmpty()) {
            return QStringLiteral("Overflow: field %1 holds %2, which is too large for a number "
                                  "this program can hold.")
                .arg(subject, quoted(error.text()));
        }
        return QStringLiteral("Overflow: the result for %1 is too large for a number this "
                              "program can hold.")
            .arg(subject);
    case ErrorKind::FunctionNotFound:
        return QStringLiteral("Function not found: %1 could not be found. It comes with %2; "
                              "please install %2.")
            .arg(subject, error.detail());
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
