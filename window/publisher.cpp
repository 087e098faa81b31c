#include "window/publisher.h"

#include "runtime/platform.h"

#include <string>

namespace window {

namespace {

rt::Binding<rt::OpenAddress> bindingOf(const rt::AddressOpener& opener) {
    return {std::u16string(opener.library), std::u16string(opener.function), opener.lookup};
}

} // namespace

PublisherLink::PublisherLink()
    : m_opener(bindingOf(rt::platform::addressOpener())) {
}

void PublisherLink::open(rt::NativeHandle window) {
    m_opener.get()(window, kHomePage);
}

} // namespace window
