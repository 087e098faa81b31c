#pragma once

// The message box: a text, an OK button, no icon, the application's name as its title, modal to
// the program's window. The handler that shows one waits until the user dismisses it.
//
// Everything that the program shows goes through here, so a test can install a presenter that
// records the texts instead of blocking on a modal box.

#include <QString>
#include <functional>

namespace rt {

void messageBox(const QString& text);

using MessagePresenter = std::function<void(const QString& text)>;

// Replaces the presenter for as long as the guard lives; the one before comes back after it.
class ScopedMessagePresenter {
public:
    explicit ScopedMessagePresenter(MessagePresenter presenter);
    ~ScopedMessagePresenter();
    ScopedMessagePresenter(const ScopedMessagePresenter&) = delete;
    ScopedMessagePresenter& operator=(const ScopedMessagePresenter&) = delete;

private:
    MessagePresenter m_previous;
};

} // namespace rt
