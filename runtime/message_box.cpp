#include "runtime/message_box.h"

#include "runtime/platform.h"

#include <utility>

namespace rt {

namespace {

MessagePresenter& presenter() {
    static MessagePresenter current = platform::showMessageBox;
    return current;
}

} // namespace

void messageBox(std::u16string_view text) {
    presenter()(text);
}

ScopedMessagePresenter::ScopedMessagePresenter(MessagePresenter replacement)
    : m_previous(std::exchange(presenter(), std::move(replacement))) {
}

ScopedMessagePresenter::~ScopedMessagePresenter() {
    presenter() = std::move(m_previous);
}

} // namespace rt
