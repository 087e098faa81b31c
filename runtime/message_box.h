#pragma once

// The message box: a text, an OK button, no icon, the application's name as its title, modal to
// the program's window. The handler that shows one waits until the user dismisses it.
//
// Everything that the program shows goes through here, so a test can install a presenter that
// records the texts instead of blocking on a modal box. Without one, the platform's own box is
// shown (platform.h).

#include <functional>
#include <string_view>

namespace rt {

void messageBox(std::u16string_view text);

using MessagePresenter = std::function<void(std::u16string_view text)>;

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
